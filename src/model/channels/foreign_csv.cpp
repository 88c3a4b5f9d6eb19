#include "model/channels/foreign_csv.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "model/channels/channel_cells.h"
#include "model/image/convert.h"
#include "model/image/tables.h"

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

constexpr std::string_view kNoTone = "no tone imported";

class ForeignRow {
public:
    ForeignRow(const CsvRecord& record, const std::vector<std::string>& header, const ForeignFields& fields,
               std::vector<CsvNote>& report)
        : record_(record), header_(header), fields_(fields), report_(report)
    {
    }

    bool Has(Foreign column) const { return fields_[static_cast<std::size_t>(column)].has_value(); }

    std::string Get(Foreign column) const
    {
        const auto field = fields_[static_cast<std::size_t>(column)];
        if (!field || *field >= record_.Fields.size()) return {};
        return std::string(Trim(record_.Fields[*field]));
    }

    // A note on a column the file has, headed as the file heads it.
    void Note(Foreign column, const std::string& message) const
    {
        const auto field = fields_[static_cast<std::size_t>(column)];
        const std::string name = field ? std::string(Trim(header_[*field]))
                                       : std::string(kForeignHeaders[static_cast<std::size_t>(column)]);
        report_.push_back({record_.Line, name, Get(column), message});
    }

    // Whether the file has the column that the value in neededBy calls for; when it has not, that
    // is noted on neededBy with what follows from it.
    bool Needs(Foreign column, Foreign neededBy, std::string_view consequence) const
    {
        if (Has(column)) return true;
        Note(neededBy, "the file has no " + std::string(kForeignHeaders[static_cast<std::size_t>(column)]) +
                           " column; " + std::string(consequence));
        return false;
    }

    // The Tx Freq cell of the row with receive frequency rxHz: "Tx Inh" for a duplex of off, else
    // the transmit frequency, which must fit the band and the raster. A transmit frequency that
    // does not fit is noted and nothing is returned: never the receive frequency instead, which
    // would set a repeater transmitting on its own input.
    std::optional<std::string> TxCell(int64_t rxHz, const CellLimits& limits, const std::string& leftAsItWas) const
    {
        const std::string duplex = Get(Foreign::Duplex);
        if (duplex == "off") return std::string(TxInhibitedText);
        int64_t txHz = rxHz;
        if (duplex == "+" || duplex == "-" || duplex == "split") {
            if (!Needs(Foreign::Offset, Foreign::Duplex, leftAsItWas)) return std::nullopt;
            const std::optional<double> offset = DecimalCellValue(Get(Foreign::Offset));
            if (!offset) {
                Note(Foreign::Offset, "not a frequency in MHz; " + leftAsItWas);
                return std::nullopt;
            }
            const int64_t offsetHz = CellHz(*offset);
            txHz = duplex == "+" ? rxHz + offsetHz : duplex == "-" ? rxHz - offsetHz : offsetHz;
        } else if (!duplex.empty()) {
            Note(Foreign::Duplex, "a duplex this repeater does not have; " + leftAsItWas);
            return std::nullopt;
        }
        const double tx = static_cast<double>(txHz) / 1e6;
        if (const auto why = FitRefusal(tx, limits.TxLow, limits.TxHigh, limits.Format.ChannelStep)) {
            Note(duplex.empty() ? Foreign::Frequency : Foreign::Offset,
                 "the transmit frequency " + FrequencyText(tx) + " is " + *why + "; " + leftAsItWas);
            return std::nullopt;
        }
        return FrequencyText(tx);
    }

    // A CTCSS tone from a frequency column, as the grid names it ("88.5", "100.0").
    std::optional<std::string> Ctcss(Foreign column) const
    {
        const double hz = ToFloatOrZero(Get(column));
        for (int i = 1; i < CtcssCount; ++i)
            if (std::abs(ToFloatOrZero(CtcssName(i)) - hz) < 0.05) return CtcssName(i);
        Note(column, "not a CTCSS tone of this repeater; " + std::string(kNoTone));
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

    // "Tone" or "DTCS" of one side, from the given columns, which the value in neededBy asks for.
    ToneCells Side(std::string_view kind, Foreign toneColumn, Foreign dcsColumn, Foreign neededBy) const
    {
        ToneCells cells;
        if (kind == "Tone" && Needs(toneColumn, neededBy, kNoTone)) {
            if (const auto tone = Ctcss(toneColumn)) cells.Ctcss = *tone;
        } else if (kind == "DTCS" && Needs(dcsColumn, neededBy, kNoTone)) {
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
            encode = Side("Tone", Foreign::RTone, Foreign::Dtcs, Foreign::Tone);
        } else if (mode == "TSQL") {
            decode = encode = Side("Tone", Foreign::CTone, Foreign::Dtcs, Foreign::Tone);
        } else if (mode == "DTCS") {
            decode = encode = Side("DTCS", Foreign::CTone, Foreign::Dtcs, Foreign::Tone);
            CheckPolarity();
        } else if (mode == "Cross") {
            if (Needs(Foreign::Cross, Foreign::Tone, kNoTone)) CrossTones(decode, encode);
        } else {
            Note(Foreign::Tone, "a tone mode this repeater does not have; " + std::string(kNoTone));
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
            Note(Foreign::Cross, "a cross mode this repeater does not have; " + std::string(kNoTone));
            return;
        }
        encode = Side(tx, Foreign::RTone, Foreign::Dtcs, Foreign::Cross);
        decode = Side(rx, Foreign::CTone, Foreign::RxDtcs, Foreign::Cross);
        if (tx == "DTCS" || rx == "DTCS") CheckPolarity();
    }

    void CheckPolarity() const
    {
        const std::string polarity = Get(Foreign::Polarity);
        if (!polarity.empty() && polarity != "NN")
            Note(Foreign::Polarity, "this repeater has no reversed DCS polarity; the code is imported with normal "
                                    "polarity on both sides (NN), which a radio sending it reversed does not match");
    }

private:
    const CsvRecord& record_;
    const std::vector<std::string>& header_;
    const ForeignFields& fields_;
    std::vector<CsvNote>& report_;
};

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
        const ForeignRow row(record, header, fields, result.Report);
        for (std::size_t f = 0; f < header.size() && f < record.Fields.size(); ++f) {
            const bool read = std::any_of(fields.begin(), fields.end(), [f](const auto& field) { return field == f; });
            if (read || reportedColumn[f] || Trim(record.Fields[f]).empty()) continue;
            reportedColumn[f] = true;
            result.Report.push_back({record.Line, header[f], std::string(Trim(record.Fields[f])),
                                     "the column has no place in this repeater; not imported"});
        }
        const int index = rows - 1;
        const std::string leftAsItWas = "channel " + std::to_string(index + 1) + " left as it was";
        const std::optional<double> rx = CellMhz(row.Get(Foreign::Frequency));
        const std::optional<std::string> rxRefusal =
            rx ? FitRefusal(*rx, limits.RxLow, limits.RxHigh, limits.Format.ChannelStep) : "not a frequency in MHz";
        if (rxRefusal) {
            row.Note(Foreign::Frequency, *rxRefusal + "; " + leftAsItWas);
            continue;
        }
        const std::optional<std::string> txCell = row.TxCell(CellHz(*rx), limits, leftAsItWas);
        if (!txCell) continue;
        ChannelCells cells;
        cells.InUse = true;
        cells[GridCol::RxFreq] = FrequencyText(*rx);
        cells[GridCol::TxFreq] = *txCell;

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
