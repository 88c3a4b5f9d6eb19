#include "model/document/image_diff.h"

#include "model/channels/channel_fields.h"
#include "model/image/map54.h"
#include "model/settings/settings_table.h"

#include <cstdio>
#include <variant>

namespace qm54 {

namespace {

bool Inside(size_t offset, std::span<const ImageRange> ranges)
{
    for (const ImageRange& r : ranges)
        if (offset >= r.First && offset - r.First < r.Count) return true;
    return false;
}

std::string Indexed(std::string_view key, const SettingRow& row, int index)
{
    std::string name(key);
    if (row.IsArray()) name += "[" + std::to_string(index) + "]";
    return name;
}

bool SameField(const TChannel& x, const TChannel& y, const ChannelMember& member)
{
    return std::visit([&](auto m) { return x.*m == y.*m; }, member);
}

}  // namespace

std::vector<std::string> ImageDifferences(const ImageBytes& a, const ImageBytes& b,
                                          std::span<const ImageRange> ranges)
{
    // b with a's bytes inside the ranges: decoding it beside b shows only what those bytes change.
    TMap54 mapA;
    TMap54 mapB;
    mapB.Bytes() = b;
    mapA.Bytes() = b;
    bool anyByte = false;
    for (size_t i = 0; i < ImageSize; ++i) {
        if (!Inside(i, ranges)) continue;
        mapA.Bytes()[i] = a[i];
        anyByte = anyByte || a[i] != b[i];
    }
    std::vector<std::string> names;
    if (!anyByte) return names;
    TCEmem emA;
    TCEmem emB;
    static_cast<void>(mapA.Decode(emA));
    static_cast<void>(mapB.Decode(emB));
    for (const SettingRow& row : SettingsTable()) {
        for (int i = 0; i < row.Count(); ++i)
            if (GetSetting(emA, row, i) != GetSetting(emB, row, i)) names.push_back(Indexed(row.Key, row, i));
    }
    for (int c = 0; c < ChannelCount; ++c) {
        const TChannel& x = emA.Channels.Items(c);
        const TChannel& y = emB.Channels.Items(c);
        for (const ChannelFieldRow& field : ChannelFieldTable()) {
            if (field.Derived || SameField(x, y, field.Member)) continue;
            names.push_back("Channel " + std::to_string(c + 1) + " " + std::string(field.Key));
        }
    }
    if (names.empty()) {
        for (size_t i = 0; i < ImageSize; ++i) {
            if (!Inside(i, ranges) || a[i] == b[i]) continue;
            char text[16];
            std::snprintf(text, sizeof text, "byte 0x%03zX", i);
            names.push_back(text);
        }
    }
    return names;
}

}  // namespace qm54
