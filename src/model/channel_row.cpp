#include "model/channel_row.h"

#include <algorithm>
#include <cstdint>

#include "model/convert.h"
#include "model/decimal.h"
#include "model/tables.h"

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

void ParseChoices(const ChannelRowTexts& row, TChannel& ch, int first, int last)
{
    for (int c = first; c <= last; ++c)
        if (const ChannelField field = ColumnAt(c).Field)
            ch.*field = OptionIndex(ColumnAt(c).Parameter, row[static_cast<std::size_t>(c)]);
}

// The frequency of a cell in MHz, kept to whole kHz. The cell holds at most five decimals, so
// rounding to whole Hz first is exact and keeps a binary fraction such as 262.09 from losing a kHz.
TDecimal CellKhzFrequency(std::string_view text)
{
    const double mhz = ToFloatOrZero(text);
    const int64_t hz = TruncToInt64(mhz * 1e6 + (mhz < 0 ? -0.5 : 0.5));
    TDecimal value;
    value.SetValue(static_cast<double>(hz / 1000) / 1000.0);
    return value;
}

template <std::size_t N>
int FindTrimmedName(const std::array<std::string_view, N>& names, std::string_view name)
{
    const auto found = std::find(names.begin(), names.end(), Trim(name));
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// A CTCSS name gives (found, CTCSS, index), a DCS name (found, DCS, code). "off" in the CTCSS
// column and an unknown DCS name give a DCS flag without a tone; "off" in both gives nothing.
struct ParsedTone {
    bool Found = false;
    bool Dcs = false;
    int Tone = 0;
};

ParsedTone ParseTonePair(std::string_view ctcssText, std::string_view dcsText)
{
    ParsedTone result;
    if (Trim(ctcssText) != OffText) {
        const int j = FindTrimmedName(CtcssWithOff, ctcssText);
        if (j >= 0) result = {true, false, j};
    } else if (Trim(dcsText) != OffText) {
        result.Dcs = true;
        const int j = FindTrimmedName(DcsWithOff, dcsText);
        if (j > 0) result = {true, true, j - 1};
    }
    return result;
}

void ParseTransmitSide(const ChannelRowTexts& row, TChannel& ch)
{
    ch.TxFreq = CellKhzFrequency(row[GridCol::TxFreq]);
    const ParsedTone encode = ParseTonePair(row[GridCol::TxCtcss], row[GridCol::TxDcs]);
    ch.SetEncodeDcs(0, encode.Dcs ? 1 : 0);
    ch.SetEncodeTone(0, encode.Tone);
    ParseChoices(row, ch, GridCol::TxDcs + 1, GridColumnCount - 1);
}

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

void ParseChannelRow(const ChannelRowTexts& row, TChannel& ch)
{
    ch.RxFreq = CellKhzFrequency(row[GridCol::RxFreq]);
    const ParsedTone decode = ParseTonePair(row[GridCol::RxCtcss], row[GridCol::RxDcs]);
    ch.SetSlotUsed(0, decode.Found ? 1 : 0);
    ch.SetDecodeDcs(0, decode.Dcs ? 1 : 0);
    ch.SetDecodeTone(0, decode.Tone);
    ParseChoices(row, ch, GridCol::FirstRx, GridCol::FirstTx - 1);
    const std::string& level = row[GridCol::NsqLevel];
    if (level != NotShownText) ch.NsqLevel = std::clamp(ToIntOr(Trim(level), 0), 0, MaxNsqLevel);
    if (ch.TxInhibit == 0) ParseTransmitSide(row, ch);
}

}  // namespace qm54
