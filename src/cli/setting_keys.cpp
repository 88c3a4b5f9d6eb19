#include "cli/setting_keys.h"

#include <charconv>

#include "cli/verbs.h"
#include "model/settings/alpha_tags.h"
#include "model/settings/shown_values.h"

namespace qm54::cli {

namespace {

std::string ItemName(const SettingRow& row, int item)
{
    return row.IsArray() ? std::string(row.Key) + "[" + std::to_string(item) + "]" : std::string(row.Key);
}

}  // namespace

bool KeyRef::IsAlphaTag() const { return Setting != nullptr && AlphaTagColumnOf(Setting->Key) >= 0; }

std::string KeyRef::Name() const
{
    if (Setting == nullptr) return Named.Row != nullptr ? Named.Row->RowName() : std::string();
    return ItemName(*Setting, Item < 0 ? 0 : Item);
}

std::optional<KeyRef> ResolveKey(std::string_view key)
{
    if (const SettingRow* row = FindSetting(key)) return KeyRef{row, row->IsArray() ? -1 : 0, {}};
    const size_t open = key.find('[');
    if (open != std::string_view::npos && key.size() > open + 2 && key.back() == ']') {
        const SettingRow* row = FindSetting(key.substr(0, open));
        const std::string_view digits = key.substr(open + 1, key.size() - open - 2);
        int item = -1;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), item);
        if (row != nullptr && row->IsArray() && ec == std::errc() && end == digits.data() + digits.size() &&
            item >= 0 && item < row->Count())
            return KeyRef{row, item, {}};
        return std::nullopt;
    }
    if (const DialogRowRef named = FindDialogRow(key); named.Row != nullptr && named.Row->Name == named.Row->RowName())
        return KeyRef{nullptr, 0, named};
    return std::nullopt;
}

std::vector<std::string> KeyLines(const TCEmem& emem, const KeyRef& key)
{
    if (key.Setting == nullptr) return {key.Name() + ": " + ShownValue(key.Named, emem)};
    if (key.Item >= 0) return {ItemName(*key.Setting, key.Item) + ": " + ShownSettingText(emem, *key.Setting, key.Item)};
    std::vector<std::string> lines;
    for (int i = 0; i < key.Setting->Count(); ++i)
        lines.push_back(ItemName(*key.Setting, i) + ": " + ShownSettingText(emem, *key.Setting, i));
    return lines;
}

}  // namespace qm54::cli
