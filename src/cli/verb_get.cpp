// qm54 get FILE [KEY...]: settings as their dialogs show them, one "Key: value" line each, walking
// the settings table for the keys and the dialog rows (and the alpha-tag grid) for the shown form.
#include "cli/setting_keys.h"
#include "cli/verbs.h"
#include "model/settings/dialog_rows.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/settings/settings_table.h"

namespace qm54::cli {

std::vector<std::string> SettingLines(const TCEmem& emem, const SettingRow& row)
{
    return KeyLines(emem, KeyRef{&row, row.IsArray() ? -1 : 0, {}});
}

int RunGet(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {}, parsed, error)) return UsageError("get", error);
    if (parsed.Positional.empty()) return UsageError("get", "give a FILE and any KEYs");

    std::vector<KeyRef> keys;
    for (size_t i = 1; i < parsed.Positional.size(); ++i) {
        const std::optional<KeyRef> key = ResolveKey(parsed.Positional[i]);
        if (!key) return UsageError("get", "unknown setting \"" + parsed.Positional[i] + "\"");
        keys.push_back(*key);
    }
    if (keys.empty())
        for (const SettingRow& row : SettingsTable()) keys.push_back(KeyRef{&row, row.IsArray() ? -1 : 0, {}});

    TCEmem emem;
    TMap54 map;
    if (!LoadToolFile(parsed.Positional[0], emem, map)) return ExitFailed;
    std::string text;
    for (const KeyRef& key : keys)
        for (const std::string& line : KeyLines(emem, key)) text += line + "\n";
    return WriteOutput("get", text);
}

}  // namespace qm54::cli
