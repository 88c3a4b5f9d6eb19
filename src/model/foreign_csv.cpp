#include "model/foreign_csv.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "model/channel_cells.h"
#include "model/convert.h"
#include "model/tables.h"

namespace qm54 {

namespace {

// The columns that are read; any other column holding a value is reported.
enum class Foreign { Location, Frequency, Duplex, Offset, Tone, RTone, CTone, Dtcs, Polarity, RxDtcs, Cross, Mode, Count };
constexpr std::array<std::string_view, static_cast<std::size_t>(Foreign::Count)> kForeignHeaders{
    "Location", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq",
    "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode"};

// The field of each read column in a row, when the header has it.
using ForeignFields = std::array<std::optional<std::size_t>, static_cast<std::size_t>(Foreign::Count)>;

std::optional<std::size_t> HeaderIndex(const std::vector<std::string>& header, std::string_view name)
{
    const std::string wanted = ToUpperAscii(name);
    for (std::size_t i = 0; i < header.size(); ++i)
        if (ToUpperAscii(Trim(header[i])) == wanted) return i;
    return std::nullopt;
}

// One tone of slot 0 on one side, as the grid's CTCSS and DCS cells.
struct ToneCells {
    std::string Ctcss{OffText};
    std::string Dcs{OffText};
};

class ForeignRow {
public:
    ForeignRow(const CsvRecord& record, const ForeignFields& fields, std::vector<CsvNote>& report)
        : record_(record), fields_(fields), report_(report)
    {
    }

    std::string Get(Foreign column) const
    {
        const auto field = fields_[static_cast<std::size_t>(column)];
        if (!field || *field >= record_.Fields.size()) return {};
        return std::string(Trim(record_.Fields[*field]));
    }

    void Note(Foreign column, const std::string& message) const
    {
        report_.push_back({record_.Line, std::string(kForeignHeaders[static_cast<std::size_t>(column)]), Get(column), message});
    }

    // A CTCSS tone from a frequency column, as the grid names it ("88.5", "100.0").
    std::optional<std::string> Ctcss(Foreign column) const
    {
        const double hz = ToFloatOrZero(Get(column));
        for (int i = 1; i < CtcssCount; ++i)
            if (std::abs(ToFloatOrZero(CtcssName(i)) - hz) < 0.05) return CtcssName(i);
        Note(column, "not a CTCSS tone of this repeater; no tone imported");
        return std::nullopt;
    }

    std::optional<std::string> Dcs(Foreign column) const
    {
        std::string code = Get(column);
        while (code.size() < 3) code.insert(code.begin(), '0');
        for (int i = 0; i < DcsCount; ++i)
            if (DcsName(i) == code) return code;
        Note(column, "not a DCS code of this repeater; no code imported");
        return std::nullopt;
    }

    // "Tone" or "DTCS" of one side of a cross mode, from the given columns.
    ToneCells Side(std::string_view kind, Foreign toneColumn, Foreign dcsColumn) const
    {
        ToneCells cells;
        if (kind == "Tone") {
            if (const auto tone = Ctcss(toneColumn)) cells.Ctcss = *tone;
        } else if (kind == "DTCS") {
            if (const auto code = Dcs(dcsColumn)) {
                cells.Ctcss = OffText;
                cells.Dcs = *code;
            }
        }
        return cells;
    }

    // The decode (receive) and encode (transmit) tones of the tone mode.
    void Tones(ToneCells& decode, ToneCells& encode) const
    {
        const std::string mode = Get(Foreign::Tone);
        if (mode.empty()) return;
        if (mode == "Tone") {
            encode = Side("Tone", Foreign::RTone, Foreign::Dtcs);
        } else if (mode == "TSQL") {
            decode = encode = Side("Tone", Foreign::CTone, Foreign::Dtcs);
        } else if (mode == "DTCS") {
            decode = encode = Side("DTCS", Foreign::CTone, Foreign::Dtcs);
            CheckPolarity();
        } else if (mode == "Cross") {
            CrossTones(decode, encode);
        } else {
            Note(Foreign::Tone, "a tone mode this repeater does not have; no tone imported");
        }
    }

    void CrossTones(ToneCells& decode, ToneCells& encode) const
    {
        const std::string cross = Get(Foreign::Cross);
        const std::size_t arrow = cross.find("->");
        const std::string tx = arrow == std::string::npos ? "" : cross.substr(0, arrow);
        const std::string rx = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
        const auto known = [](const std::string& side) { return side.empty() || side == "Tone" || side == "DTCS"; };
        if (arrow == std::string::npos || !known(tx) || !known(rx)) {
            Note(Foreign::Cross, "a cross mode this repeater does not have; no tone imported");
            return;
        }
        encode = Side(tx, Foreign::RTone, Foreign::Dtcs);
        decode = Side(rx, Foreign::CTone, Foreign::RxDtcs);
        if (tx == "DTCS" || rx == "DTCS") CheckPolarity();
    }

    void CheckPolarity() const
    {
        const std::string polarity = Get(Foreign::Polarity);
        if (!polarity.empty() && polarity != "NN")
            Note(Foreign::Polarity, "this repeater sends and takes DCS codes with normal polarity only; imported as NN");
    }

    const CsvRecord& record_;
    const ForeignFields& fields_;
    std::vector<CsvNote>& report_;
};

std::string FrequencyCell(double mhz) { return FrequencyText(mhz); }

bool InBand(double mhz, double low, double high) { return mhz >= low - 1e-7 && mhz <= high + 1e-7; }

}  // namespace

bool IsForeignHeader(const std::vector<std::string>& header)
{
    return HeaderIndex(header, "Location") && HeaderIndex(header, "Frequency");
}

void ImportForeignRows(const std::vector<CsvRecord>& records, const TCEmem& emem, ChannelImport& result)
{
    const std::vector<std::string>& header = records[0].Fields;
    ForeignFields fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = HeaderIndex(header, kForeignHeaders[i]);

    const CellLimits limits = LimitsOf(emem);
    TChannels channels = result.Channels;
    std::vector<bool> reportedColumn(header.size(), false);
    int rows = 0;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (IsBlankRecord(record)) continue;
        if (++rows > ChannelCount) {
            result.Report.push_back({record.Line, "", "", "this repeater has 16 channels; this row and the ones after it are not imported"});
            break;
        }
        const ForeignRow row(record, fields, result.Report);
        for (std::size_t f = 0; f < header.size() && f < record.Fields.size(); ++f) {
            const bool read = std::any_of(fields.begin(), fields.end(), [f](const auto& field) { return field == f; });
            if (read || reportedColumn[f] || Trim(record.Fields[f]).empty()) continue;
            reportedColumn[f] = true;
            result.Report.push_back({record.Line, header[f], std::string(Trim(record.Fields[f])),
                                     "the column has no place in this repeater; not imported"});
        }
        const int index = rows - 1;
        const double rx = ToFloatOrZero(NormalizeDecimalText(row.Get(Foreign::Frequency)));
        if (!InBand(rx, limits.RxLow, limits.RxHigh) || rx <= 0.0) {
            row.Note(Foreign::Frequency, "outside the receive band, " + FrequencyText(limits.RxLow) + " to " +
                                             FrequencyText(limits.RxHigh) + " MHz; channel " +
                                             std::to_string(index + 1) + " left as it was");
            continue;
        }
        ChannelCells cells;
        cells.InUse = true;
        cells[GridCol::RxFreq] = FrequencyCell(rx);
        const double offset = ToFloatOrZero(NormalizeDecimalText(row.Get(Foreign::Offset)));
        const std::string duplex = row.Get(Foreign::Duplex);
        std::optional<double> tx;
        if (duplex.empty()) tx = rx;
        else if (duplex == "+") tx = rx + offset;
        else if (duplex == "-") tx = rx - offset;
        else if (duplex == "split") tx = offset;
        else if (duplex == "off") cells[GridCol::TxFreq] = std::string(TxInhibitedText);
        else row.Note(Foreign::Duplex, "a duplex this repeater does not have; transmit on the receive frequency");
        if (tx && !InBand(*tx, limits.TxLow, limits.TxHigh)) {
            row.Note(Foreign::Offset, "the transmit frequency " + FrequencyText(*tx) + " is outside the transmit band, " +
                                          FrequencyText(limits.TxLow) + " to " + FrequencyText(limits.TxHigh) +
                                          " MHz; transmit on the receive frequency");
            tx.reset();
        }
        if (tx) cells[GridCol::TxFreq] = FrequencyCell(*tx);

        ToneCells decode, encode;
        row.Tones(decode, encode);
        cells[GridCol::RxCtcss] = decode.Ctcss;
        cells[GridCol::RxDcs] = decode.Dcs;
        cells[GridCol::TxCtcss] = encode.Ctcss;
        cells[GridCol::TxDcs] = encode.Dcs;

        const std::string mode = row.Get(Foreign::Mode);
        if (mode == "FM") cells[GridCol::Wide] = OptionName(OptBandwidth, 1);
        else if (mode == "NFM") cells[GridCol::Wide] = OptionName(OptBandwidth, 0);
        else if (!mode.empty()) row.Note(Foreign::Mode, "this repeater has FM and NFM only; bandwidth left as it was");

        ApplyChannelCells(cells, channels.Items(index), index, limits);
        ++result.RowsImported;
    }
    if (rows == 0) {
        result.Errors.push_back({records[0].Line, "", "", "no channel rows"});
        return;
    }
    result.Channels = channels;
    result.Outcome = ImportOutcome::Imported;
}

}  // namespace qm54
