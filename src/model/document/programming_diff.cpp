#include "model/document/programming_diff.h"

#include <cstdio>

#include "model/settings/alpha_tags.h"
#include "model/channels/channel_fields.h"
#include "model/channels/channel_row.h"
#include "model/settings/shown_values.h"

namespace qm54 {

namespace {

bool IsAlphaTagRow(const SettingRow& row) { return AlphaTagColumnOf(row.Key) >= 0; }

std::string ItemName(const SettingRow& row, int item)
{
    return row.IsArray() ? std::string(row.Key) + "[" + std::to_string(item) + "]" : std::string(row.Key);
}

void DiffSetting(const SettingRow& row, const TCEmem& a, const TCEmem& b, std::vector<Difference>& out)
{
    for (int i = 0; i < row.Count(); ++i) {
        if (GetSetting(a, row, i) == GetSetting(b, row, i)) continue;
        std::string shownA = ShownSettingText(a, row, i), shownB = ShownSettingText(b, row, i);
        if (shownA == shownB) {  // shown alike (a value outside a field's range shows clamped): as stored
            shownA += " (stored " + PlainSettingText(GetSetting(a, row, i)) + ")";
            shownB += " (stored " + PlainSettingText(GetSetting(b, row, i)) + ")";
        }
        out.push_back({ItemName(row, i), std::move(shownA), std::move(shownB)});
    }
}

std::string ColumnName(int column)
{
    const GridColumn& c = GridColumns[static_cast<size_t>(column)];
    std::string name = c.Header1.empty() ? std::string(c.Header2) : std::string(c.Header1) + " " + std::string(c.Header2);
    // The decoder and encoder columns share their headers.
    if (column == GridCol::RxCtcss || column == GridCol::RxDcs) name = "Rx " + name;
    if (column == GridCol::TxCtcss || column == GridCol::TxDcs) name = "Tx " + name;
    return name;
}

std::string FieldValueText(const TChannel& ch, const ChannelFieldRow& row, int slot)
{
    if (const auto* number = std::get_if<ChannelIntMember>(&row.Member)) return std::to_string(ch.**number);
    if (const auto* slots = std::get_if<ChannelSlotsMember>(&row.Member))
        return std::to_string((ch.**slots)[static_cast<size_t>(slot)]);
    const TDecimal& f = ch.*std::get<ChannelFreqMember>(row.Member);
    return std::to_string(f.ScaledTrunc(3)) + " kHz";
}

bool FieldDiffers(const TChannel& a, const TChannel& b, const ChannelFieldRow& row, int slot)
{
    return FieldValueText(a, row, slot) != FieldValueText(b, row, slot);
}

// A channel: the grid's cells that differ, then the stored fields that differ where the grid
// shows no difference for them (another multi-tone slot, an in-use or inhibit flag, a frequency
// off the raster).
void DiffChannel(int index, const TCEmem& a, const TCEmem& b, std::vector<Difference>& out)
{
    const TChannel& chA = a.Channels.Items(index);
    const TChannel& chB = b.Channels.Items(index);
    if (chA == chB) return;
    const std::string prefix = "Channel " + std::to_string(index + 1) + " ";
    const ChannelRowTexts rowA = FillChannelRow(chA, index, {a.ChannelStep, '.'});
    const ChannelRowTexts rowB = FillChannelRow(chB, index, {b.ChannelStep, '.'});
    bool cellDiffers = false;
    for (int column = GridCol::RxFreq; column < GridColumnCount; ++column) {
        const auto c = static_cast<size_t>(column);
        if (rowA[c] == rowB[c]) continue;
        out.push_back({prefix + ColumnName(column), rowA[c], rowB[c]});
        cellDiffers = true;
    }
    for (const ChannelFieldRow& row : ChannelFieldTable()) {
        const bool slots = row.Kind == ChannelFieldKind::Slots;
        const bool shownByGrid = !slots && !row.Derived && row.Key != "InUse" && row.Key != "TxInhibit";
        if (shownByGrid && cellDiffers) continue;
        for (int slot = 0; slot < (slots ? SlotCount : 1); ++slot) {
            if (!FieldDiffers(chA, chB, row, slot)) continue;
            // Slot 0's tones are the grid's CTCSS and DCS cells.
            if (slots && slot == 0 && row.Key != "SlotUsed" && cellDiffers) continue;
            const std::string name = slots ? std::string(row.Key) + "[" + std::to_string(slot) + "]" : std::string(row.Key);
            out.push_back({prefix + name, FieldValueText(chA, row, slot), FieldValueText(chB, row, slot)});
        }
    }
}

std::string HexByte(uint8_t value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

// The bytes that hold a bit no setting holds: encoding the same settings over an image of
// zeros and one of ones leaves those bits as they were.
std::vector<bool> UnmappedBytes(const TCEmem& emem)
{
    TMap54 zeros;
    TMap54 ones;
    zeros.Bytes().fill(0x00);
    ones.Bytes().fill(0xFF);
    (void)zeros.Encode(emem);
    (void)ones.Encode(emem);
    std::vector<bool> unmapped(zeros.Bytes().size());
    for (size_t i = 0; i < unmapped.size(); ++i) unmapped[i] = zeros.Bytes()[i] != ones.Bytes()[i];
    return unmapped;
}

std::string HexBytes(const ImageBytes& bytes, size_t first, size_t last)
{
    constexpr size_t kShown = 8;
    std::string text;
    for (size_t i = first; i <= last && i < first + kShown; ++i) text += (text.empty() ? "" : " ") + HexByte(bytes[i]);
    if (last - first + 1 > kShown) text += " ...";
    return text;
}

// Bytes no setting holds: A's settings encoded over B's image keep B's unmapped bytes, so the
// bytes in which that image and A's differ are A's and B's unmapped differences. Differing bytes
// with only unmapped bytes between them make one range, listed with the number that differ.
void DiffUnmapped(const TCEmem& a, const TMap54& mapA, const TMap54& mapB, std::vector<Difference>& out)
{
    TMap54 mixed = mapB;
    (void)mixed.Encode(a);
    TMap54 reencoded = mapA;
    (void)reencoded.Encode(a);
    const auto& bytesA = reencoded.Bytes();
    const auto& bytesMixed = mixed.Bytes();
    const std::vector<bool> unmapped = UnmappedBytes(a);
    const auto differs = [&](size_t offset) {
        return offset != image::ChecksumA && offset != image::ChecksumB && bytesA[offset] != bytesMixed[offset];
    };
    for (size_t offset = 0; offset < bytesA.size(); ++offset) {
        if (!differs(offset)) continue;
        size_t last = offset;
        size_t count = 1;
        for (size_t next = offset + 1; next < bytesA.size() && unmapped[next]; ++next) {
            if (!differs(next)) continue;
            last = next;
            ++count;
        }
        char name[64];
        if (last == offset)
            std::snprintf(name, sizeof name, "Byte 0x%03zX", offset);
        else
            std::snprintf(name, sizeof name, "Bytes 0x%03zX to 0x%03zX (%zu differ)", offset, last, count);
        out.push_back({name, HexBytes(mapA.Bytes(), offset, last), HexBytes(mapB.Bytes(), offset, last)});
        offset = last;
    }
}

}  // namespace

std::vector<Difference> DiffProgrammings(const TCEmem& a, const TMap54& mapA, const TCEmem& b, const TMap54& mapB)
{
    std::vector<Difference> out;
    for (const SettingRow& row : SettingsTable())
        if (!IsAlphaTagRow(row)) DiffSetting(row, a, b, out);
    for (int i = 0; i < TChannels::Count(); ++i) DiffChannel(i, a, b, out);
    for (const SettingRow& row : SettingsTable())
        if (IsAlphaTagRow(row)) DiffSetting(row, a, b, out);
    DiffUnmapped(a, mapA, mapB, out);
    return out;
}

std::string DifferenceLine(const Difference& difference)
{
    return difference.Name + ": " + difference.A + " | " + difference.B;
}

}  // namespace qm54
