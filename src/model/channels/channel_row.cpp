#include "model/channels/channel_row.h"

#include <algorithm>
#include <cstdint>

#include "model/image/convert.h"
#include "model/image/decimal.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

std::string FrequencyCell(const TDecimal& mhz, const CellFormat& format)
{
    return SnappedFrequencyText(format.ChannelStep, mhz.Value(), format.Separator);
}

// The tone pair of a CTCSS column and the DCS column beside it.
void FillTonePair(ChannelRowTexts& row, int ctcssColumn, bool dcs, int tone)
{
    row[static_cast<std::size_t>(ctcssColumn)] = dcs ? std::string(OffText) : CtcssName(tone);
    row[static_cast<std::size_t>(ctcssColumn + 1)] = dcs ? DcsName(tone) : std::string(OffText);
}

void FillChoices(ChannelRowTexts& row, const TChannel& ch, int first, int last)
{
    for (int c = first; c <= last; ++c)
        if (const ChannelField field = ColumnAt(c).Field)
            row[static_cast<std::size_t>(c)] = OptionName(ColumnAt(c).Parameter, ch.*field);
}

// A cell whose text is still what the channel showed leaves its field as it is; only a changed
// cell is read.
class RowChanges {
public:
    RowChanges(const ChannelRowTexts& row, const ChannelRowTexts& shown) : row_(row), shown_(shown) {}
    bool Changed(int column) const { return row_[Index(column)] != shown_[Index(column)]; }
    const std::string& Text(int column) const { return row_[Index(column)]; }

private:
    static std::size_t Index(int column) { return static_cast<std::size_t>(column); }
    const ChannelRowTexts& row_;
    const ChannelRowTexts& shown_;
};

void ParseChoices(const RowChanges& row, TChannel& ch, int first, int last)
{
    for (int c = first; c <= last; ++c)
        if (const ChannelField field = ColumnAt(c).Field; field && row.Changed(c))
            ch.*field = OptionIndex(ColumnAt(c).Parameter, row.Text(c));
}

TDecimal KhzFrequency(int64_t khz)
{
    TDecimal value;
    value.SetValue(static_cast<double>(khz) / 1000.0);
    return value;
}

// The frequency of a cell in MHz, kept to whole kHz (CellKhzFrequency). A cell that still shows
// the stored frequency keeps it, to the image's whole kHz: snapping it for the cell may have moved
// an off-raster frequency by up to 3 kHz.
TDecimal ParseFrequency(const RowChanges& row, int column, const TDecimal& stored)
{
    if (!row.Changed(column)) return KhzFrequency(stored.ScaledTrunc(3));
    TDecimal value;
    value.SetValue(CellKhzFrequency(row.Text(column)));
    return value;
}

template <std::size_t N>
int FindTrimmedName(const std::array<std::string_view, N>& names, std::string_view name)
{
    const auto found = std::find(names.begin(), names.end(), Trim(name));
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// A CTCSS name gives (CTCSS, index), a DCS name (DCS, code). "off" in the CTCSS column and a DCS
// name not in the list give a DCS flag with code 0; "off" in both gives no tone.
struct ParsedTone {
    bool Dcs = false;
    int Tone = 0;
};

ParsedTone ParseTonePair(std::string_view ctcssText, std::string_view dcsText)
{
    if (Trim(ctcssText) != OffText) {
        const int j = FindTrimmedName(CtcssWithOff, ctcssText);
        return {false, j >= 0 ? j : 0};
    }
    if (Trim(dcsText) == OffText) return {};
    const int j = FindTrimmedName(DcsWithOff, dcsText);
    return {true, j > 0 ? j - 1 : 0};
}

// Reads the tone pair of slot 0 beginning at ctcssColumn when either of its cells changed;
// returns whether it did.
bool ParseTones(const RowChanges& row, int ctcssColumn, SlotArray& dcs, SlotArray& tone)
{
    if (!row.Changed(ctcssColumn) && !row.Changed(ctcssColumn + 1)) return false;
    const ParsedTone parsed = ParseTonePair(row.Text(ctcssColumn), row.Text(ctcssColumn + 1));
    dcs[0] = parsed.Dcs ? 1 : 0;
    tone[0] = parsed.Tone;
    return true;
}

bool HoldsTone(int32_t dcs, int32_t tone) { return dcs != 0 || tone != 0; }

}  // namespace

ChannelRowTexts FillChannelRow(const TChannel& ch, int index, const CellFormat& format)
{
    ChannelRowTexts row;
    const int number = index + 1;
    row[GridCol::RowNumber] = std::to_string(number);
    row[GridCol::Channel] = (number < 10 ? " " : "") + std::to_string(number);
    row[GridCol::RxFreq] = FrequencyCell(ch.RxFreq, format);
    FillTonePair(row, GridCol::RxCtcss, ch.GetDecodeDcs(0) == 1, ch.GetDecodeTone(0));
    FillChoices(row, ch, GridCol::FirstRx, GridCol::FirstTx - 1);
    row[GridCol::MultiTone] = OptionName(OptNoYes, ch.MultiTone);
    row[GridCol::NsqLevel] = ch.NsqMode == 1 ? std::to_string(ch.NsqLevel) : std::string(NotShownText);
    if (ch.TxInhibit != 0) {
        row[GridCol::TxFreq] = TxInhibitedText;
        for (int c = GridCol::TxFreq + 1; c < GridColumnCount; ++c)
            row[static_cast<std::size_t>(c)] = NotShownText;
    } else {
        row[GridCol::TxFreq] = FrequencyCell(ch.TxFreq, format);
        FillTonePair(row, GridCol::TxCtcss, ch.GetEncodeDcs(0) == 1, ch.GetEncodeTone(0));
        FillChoices(row, ch, GridCol::TxDcs + 1, GridColumnCount - 1);
    }
    return row;
}

void ParseChannelRow(const ChannelRowTexts& texts, TChannel& ch, const CellFormat& format)
{
    const ChannelRowTexts shown = FillChannelRow(ch, 0, format);
    const RowChanges row(texts, shown);
    ch.RxFreq = ParseFrequency(row, GridCol::RxFreq, ch.RxFreq);
    bool tonesChanged = ParseTones(row, GridCol::RxCtcss, ch.DecodeDcs, ch.DecodeTone);
    ParseChoices(row, ch, GridCol::FirstRx, GridCol::FirstTx - 1);
    if (row.Changed(GridCol::NsqLevel) && row.Text(GridCol::NsqLevel) != NotShownText)
        ch.NsqLevel = std::clamp(ToIntOr(Trim(row.Text(GridCol::NsqLevel)), 0), 0, MaxNsqLevel);
    if (ch.TxInhibit == 0) {
        ch.TxFreq = ParseFrequency(row, GridCol::TxFreq, ch.TxFreq);
        tonesChanged |= ParseTones(row, GridCol::TxCtcss, ch.EncodeDcs, ch.EncodeTone);
        ParseChoices(row, ch, GridCol::TxDcs + 1, GridColumnCount - 1);
    }
    // Slot 0 is in use while either side holds a tone; an inhibited transmit keeps its encode tone.
    if (tonesChanged)
        ch.SetSlotUsed(0, HoldsTone(ch.GetDecodeDcs(0), ch.GetDecodeTone(0)) ||
                                  HoldsTone(ch.GetEncodeDcs(0), ch.GetEncodeTone(0))
                              ? 1
                              : 0);
}

}  // namespace qm54
