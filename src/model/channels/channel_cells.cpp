#include "model/channels/channel_cells.h"

#include <algorithm>

#include "model/channels/channel_rules.h"
#include "model/image/convert.h"
#include "model/image/decimal.h"
#include "model/image/frequency.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

// A band edge given with one decimal is compared with a little room for the binary fraction.
constexpr double kBandSlack = 1e-7;

bool IsFrequencyColumn(int column) { return column == GridCol::RxFreq || column == GridCol::TxFreq; }
bool IsCtcssColumn(int column) { return column == GridCol::RxCtcss || column == GridCol::TxCtcss; }
bool IsDcsColumn(int column) { return column == GridCol::RxDcs || column == GridCol::TxDcs; }

template <std::size_t N>
bool Lists(const std::array<std::string_view, N>& names, std::string_view text)
{
    return std::find(names.begin(), names.end(), Trim(text)) != names.end();
}

std::optional<std::string> RasterRefusal(int step, double mhz)
{
    const int64_t hz = CellHz(mhz);
    if (IsOnRaster(step, hz)) return std::nullopt;
    const RasterNeighbours nearest = NearestRasterPoints(step, hz);
    return "not on the " + OptionName(OptChannelStep, step == 1 ? 1 : 0) + " channel raster; the nearest are " +
           FrequencyText(static_cast<double>(nearest.Below) / 1e6) + " and " +
           FrequencyText(static_cast<double>(nearest.Above) / 1e6) + " MHz";
}

std::optional<std::string> FrequencyRefusal(const std::string& text, double low, double high, int step)
{
    const std::optional<double> mhz = CellMhz(text);
    if (!mhz) return "not a frequency in MHz";
    return FitRefusal(*mhz, low, high, step);
}

std::optional<std::string> LevelRefusal(const std::string& text)
{
    const std::string_view t = Trim(text);
    if (t == NotShownText) return std::nullopt;
    if (DigitsOnly(t).empty() || t.size() > 3 || ToIntOr(t, MaxNsqLevel + 1) > MaxNsqLevel)
        return "not a level from 0 to " + std::to_string(MaxNsqLevel);
    return std::nullopt;
}

std::string ChoicesText(int list)
{
    std::string names;
    for (int v = 0; !OptionName(list, v).empty(); ++v) names += (v > 0 ? ", " : "") + OptionName(list, v);
    return names;
}

// The partner of a tone cell given alone follows the grid's rule: a tone on one side is "off" on
// the other.
void FollowToneRule(const ChannelCells& cells, ChannelRowTexts& row, int ctcssColumn)
{
    const int dcsColumn = ctcssColumn + 1;
    const auto& ctcss = cells[ctcssColumn];
    const auto& dcs = cells[dcsColumn];
    if (ctcss && !dcs && Trim(*ctcss) != OffText) row[static_cast<std::size_t>(dcsColumn)] = OffText;
    if (dcs && !ctcss && Trim(*dcs) != OffText) row[static_cast<std::size_t>(ctcssColumn)] = OffText;
}

// The cells of the transmit side show the channel again, after its inhibit changed.
void ShowTransmitSide(ChannelRowTexts& row, const TChannel& ch, int index, const CellFormat& format)
{
    const ChannelRowTexts shown = FillChannelRow(ch, index, format);
    std::copy(shown.begin() + GridCol::FirstTx, shown.end(), row.begin() + GridCol::FirstTx);
}

bool GivesTxInhibit(const ChannelCells& cells)
{
    return cells[GridCol::TxFreq] && Trim(*cells[GridCol::TxFreq]) == TxInhibitedText;
}

}  // namespace

std::optional<double> DecimalCellValue(std::string_view text)
{
    const std::string_view t = Trim(text);
    const bool numeric = !t.empty() && t.find_first_not_of("0123456789.,") == std::string_view::npos &&
                         std::count_if(t.begin(), t.end(), [](char c) { return c == '.' || c == ','; }) <= 1 &&
                         t.find_first_of("0123456789") != std::string_view::npos;
    if (!numeric) return std::nullopt;
    return ToFloatOrZero(NormalizeDecimalText(t));
}

std::optional<double> CellMhz(std::string_view text)
{
    const std::optional<double> mhz = DecimalCellValue(text);
    if (!mhz || *mhz <= 0.0) return std::nullopt;
    return mhz;
}

int64_t CellHz(double mhz) { return TruncToInt64(mhz * 1e6 + (mhz < 0 ? -0.5 : 0.5)); }

std::optional<std::string> BandRefusal(double mhz, double low, double high)
{
    if (mhz >= low - kBandSlack && mhz <= high + kBandSlack) return std::nullopt;
    return "outside the band, " + FrequencyText(low) + " to " + FrequencyText(high) + " MHz";
}

std::optional<std::string> FitRefusal(double mhz, double low, double high, int step)
{
    if (auto outside = BandRefusal(mhz, low, high)) return outside;
    return RasterRefusal(step, mhz);
}

CellLimits LimitsOf(const TCEmem& emem)
{
    return {{emem.ChannelStep, '.'},
            emem.GetRxAdjustFreq(0).Value(),
            emem.GetRxAdjustFreq(3).Value(),
            emem.GetTxAdjustFreq(0).Value(),
            emem.GetTxAdjustFreq(3).Value()};
}

std::optional<std::string> CellRefusal(int column, const std::string& text, const TChannel& ch,
                                       const CellLimits& limits)
{
    if (column <= GridCol::Channel || column >= GridColumnCount) return "not a column that is read";
    const ChannelRowTexts shown = FillChannelRow(ch, 0, limits.Format);
    if (Trim(text) == Trim(shown[static_cast<std::size_t>(column)])) return std::nullopt;
    if (column >= GridCol::FirstTx && column != GridCol::TxFreq && Trim(text) == NotShownText)
        return std::nullopt;  // the transmit side of an inhibited transmit
    if (column == GridCol::TxFreq && Trim(text) == TxInhibitedText) return std::nullopt;
    if (IsFrequencyColumn(column)) {
        const bool rx = column == GridCol::RxFreq;
        return FrequencyRefusal(text, rx ? limits.RxLow : limits.TxLow, rx ? limits.RxHigh : limits.TxHigh,
                                limits.Format.ChannelStep);
    }
    if (IsCtcssColumn(column))
        return Lists(CtcssWithOff, text) ? std::nullopt : std::optional<std::string>("not a CTCSS tone or off");
    if (IsDcsColumn(column))
        return Lists(DcsWithOff, text) ? std::nullopt : std::optional<std::string>("not a DCS code or off");
    if (column == GridCol::NsqLevel) return LevelRefusal(text);
    const int list = column == GridCol::MultiTone ? OptNoYes : ColumnAt(column).Parameter;
    if (OptionName(list, OptionIndex(list, Trim(text))) == Trim(text)) return std::nullopt;
    return "not one of " + ChoicesText(list);
}

void ApplyChannelCells(const ChannelCells& cells, TChannel& ch, int index, const CellLimits& limits)
{
    ChannelRowTexts row = FillChannelRow(ch, index, limits.Format);
    ApplyChannelCells(cells, row, ch, index, limits);
}

void ApplyChannelCells(const ChannelCells& cells, ChannelRowTexts& row, TChannel& ch, int index,
                       const CellLimits& limits)
{
    const CellFormat& format = limits.Format;
    if (cells.InUse) SetInUse(ch, index, *cells.InUse);
    const bool inhibit = GivesTxInhibit(cells);
    if (cells[GridCol::TxFreq] && !inhibit && ch.TxInhibit != 0) {
        SetTxInhibit(ch, false);
        ShowTransmitSide(row, ch, index, format);
    }

    // Only a new frequency runs the rule: "161" over a cell showing "161.00000" changes nothing.
    if (const auto& rx = cells[GridCol::RxFreq]; rx && Trim(*rx) != Trim(row[GridCol::RxFreq])) {
        const std::string typed =
            NormalizeFrequencyText(*rx, format.ChannelStep, limits.RxLow, limits.RxHigh, format.Separator);
        if (typed != row[GridCol::RxFreq]) {
            const bool wasInhibited = ch.TxInhibit != 0;
            ch.RxFreq.SetValue(CellKhzFrequency(typed));
            ApplyRxFrequencyChange(ch);
            if (wasInhibited) ShowTransmitSide(row, ch, index, format);
            row[GridCol::RxFreq] = typed;
            row[GridCol::TxFreq] = typed;
            row[GridCol::ClockShift] = OptionName(OptNoYes, ch.ClockShift);
        }
    }

    const std::string modeBefore = row[GridCol::NsqMode];
    for (int c = GridCol::RxCtcss; c < GridColumnCount; ++c) {
        const auto& given = cells[c];
        std::string& cell = row[static_cast<std::size_t>(c)];
        if (!given || Trim(*given) == Trim(cell)) continue;  // as shown: unchanged
        if (c >= GridCol::FirstTx && Trim(*given) == NotShownText) continue;
        if (c == GridCol::TxFreq) {
            if (!inhibit)
                cell = NormalizeFrequencyText(*given, format.ChannelStep, limits.TxLow, limits.TxHigh,
                                              format.Separator);
        } else {
            cell = std::string(Trim(*given));
        }
    }
    FollowToneRule(cells, row, GridCol::RxCtcss);
    FollowToneRule(cells, row, GridCol::TxCtcss);
    const TDecimal txBefore = ch.TxFreq;
    ParseChannelRow(row, ch, format);
    if (!(ch.TxFreq == txBefore)) ApplyTxFrequencyChange(ch);
    if (row[GridCol::NsqMode] != modeBefore)
        row[GridCol::NsqLevel] = FillChannelRow(ch, index, format)[GridCol::NsqLevel];
    if (inhibit && ch.TxInhibit == 0) {
        SetTxInhibit(ch, true);
        ShowTransmitSide(row, ch, index, format);
    }
}

}  // namespace qm54
