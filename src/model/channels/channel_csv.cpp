#include "model/channels/channel_csv.h"

#include <algorithm>
#include <optional>

#include "model/channels/channel_cells.h"
#include "model/image/convert.h"
#include "model/channels/csv.h"
#include "model/channels/foreign_csv.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

constexpr int kInUseColumn = -1;  // the "In Use" column, the Ch toggle that the grid shows as colour
constexpr int kUnnamedColumn = -2;  // a column without a header (a spreadsheet's trailing commas)
constexpr std::string_view kInUseHeader = "In Use";
constexpr std::size_t kMostErrors = 50;

// The header of grid column c (1..27): its two header lines joined, the transmit tones marked.
std::string HeaderOf(int c)
{
    if (c == GridCol::TxCtcss || c == GridCol::TxDcs) return "Tx " + std::string(ColumnAt(c).Header2);
    const GridColumn& col = ColumnAt(c);
    return col.Header1.empty() ? std::string(col.Header2) : std::string(col.Header1) + " " + std::string(col.Header2);
}

// The written columns: Ch, In Use, then the grid's columns from Rx Freq on.
std::vector<int> WrittenColumns()
{
    std::vector<int> columns{GridCol::Channel, kInUseColumn};
    for (int c = GridCol::RxFreq; c < GridColumnCount; ++c) columns.push_back(c);
    return columns;
}

std::string HeaderText(int column) { return column == kInUseColumn ? std::string(kInUseHeader) : HeaderOf(column); }

std::optional<int> ColumnNamed(std::string_view name)
{
    const std::string wanted = ToUpperAscii(Trim(name));
    for (const int c : WrittenColumns())
        if (ToUpperAscii(HeaderText(c)) == wanted) return c;
    return std::nullopt;
}

class OwnImport {
public:
    OwnImport(const std::vector<CsvRecord>& records, const TCEmem& emem, ChannelImport& result)
        : records_(records), limits_(LimitsOf(emem)), result_(result)
    {
    }

    void Run()
    {
        if (!ReadHeader()) return;
        std::array<bool, ChannelCount> seen{};
        TChannels channels = result_.Channels;
        int rows = 0;
        for (std::size_t r = 1; r < records_.size() && result_.Errors.size() < kMostErrors; ++r) {
            const CsvRecord& record = records_[r];
            if (IsBlankRecord(record)) continue;
            const std::optional<int> index = ChannelOfRow(record, rows++, seen);
            if (!index) continue;
            ChannelCells cells;
            if (ReadCells(record, *index, channels.Items(*index), cells))
                ApplyChannelCells(cells, channels.Items(*index), *index, limits_);
            ++result_.RowsImported;
        }
        if (rows == 0) Error(records_[0].Line, "", "", "no channel rows");
        if (result_.Errors.empty()) {
            result_.Channels = channels;
            result_.Outcome = ImportOutcome::Imported;
        } else {
            result_.RowsImported = 0;
        }
    }

private:
    void Error(int line, std::string column, std::string text, std::string message)
    {
        result_.Errors.push_back({line, std::move(column), std::move(text), std::move(message)});
    }

    bool ReadHeader()
    {
        if (records_.empty()) {
            Error(1, "", "", "the file is empty");
            return false;
        }
        const CsvRecord& header = records_[0];
        for (const std::string& name : header.Fields) {
            if (Trim(name).empty()) {
                columns_.push_back(kUnnamedColumn);
                continue;
            }
            const std::optional<int> column = ColumnNamed(name);
            if (!column)
                Error(header.Line, name, name, "not a channel column");
            else if (std::find(columns_.begin(), columns_.end(), *column) != columns_.end())
                Error(header.Line, name, name, "the column is given twice");
            columns_.push_back(column.value_or(GridCol::RowNumber));
        }
        return result_.Errors.empty();
    }

    std::string HeaderAt(std::size_t field) const { return records_[0].Fields[field]; }

    std::optional<std::size_t> FieldOf(int column) const
    {
        const auto found = std::find(columns_.begin(), columns_.end(), column);
        if (found == columns_.end()) return std::nullopt;
        return static_cast<std::size_t>(found - columns_.begin());
    }

    // The channel index a row is for: its Ch cell, else its position among the rows.
    std::optional<int> ChannelOfRow(const CsvRecord& record, int position, std::array<bool, ChannelCount>& seen)
    {
        if (record.Fields.size() != columns_.size()) {
            Error(record.Line, "", "",
                  "the row has " + std::to_string(record.Fields.size()) + " fields, the header " +
                      std::to_string(columns_.size()));
            return std::nullopt;
        }
        int number = position + 1;
        std::string text = std::to_string(number);
        std::string column = "Ch";
        if (const auto field = FieldOf(GridCol::Channel)) {
            text = record.Fields[*field];
            column = HeaderAt(*field);
            number = IsNonNegativeInt(Trim(text)) && Trim(text).size() <= 2 ? ToIntOr(Trim(text), 0) : 0;
        }
        if (number < 1 || number > ChannelCount) {
            Error(record.Line, column, text, "not a channel from 1 to " + std::to_string(ChannelCount));
            return std::nullopt;
        }
        const auto index = static_cast<std::size_t>(number - 1);
        if (seen[index]) {
            Error(record.Line, column, text, "the channel is given twice");
            return std::nullopt;
        }
        seen[index] = true;
        return number - 1;
    }

    bool ReadCells(const CsvRecord& record, int index, const TChannel& ch, ChannelCells& cells)
    {
        bool good = true;
        for (std::size_t f = 0; f < columns_.size(); ++f) {
            const int column = columns_[f];
            const std::string& text = record.Fields[f];
            if (column == GridCol::Channel) continue;
            if (column == kUnnamedColumn) {
                if (!Trim(text).empty()) {
                    Error(record.Line, "", text, "a value in a column without a header");
                    good = false;
                }
                continue;
            }
            if (column == kInUseColumn) {
                good &= ReadInUse(record.Line, HeaderAt(f), text, index, ch, cells);
                continue;
            }
            if (const auto refusal = CellRefusal(column, text, ch, limits_)) {
                Error(record.Line, HeaderAt(f), text, *refusal);
                good = false;
                continue;
            }
            if (column != GridCol::MultiTone) cells[column] = text;  // the grid never reads it back
        }
        return good && TonePairsAgree(record, cells);
    }

    bool ReadInUse(int line, const std::string& header, const std::string& text, int index, const TChannel& ch,
                   ChannelCells& cells)
    {
        const std::string_view t = Trim(text);
        if (t != "yes" && t != "no") {
            Error(line, header, text, "not one of no, yes");
            return false;
        }
        // A channel 1 that an Upload brought blank stays as it is; it is never switched off.
        if (t == "no" && index == 0 && ch.InUse != 0) {
            Error(line, header, text, "channel 1 is always in use");
            return false;
        }
        cells.InUse = t == "yes";
        return true;
    }

    // A CTCSS tone and a DCS code on the same side cannot both be given.
    bool TonePairsAgree(const CsvRecord& record, const ChannelCells& cells)
    {
        bool agree = true;
        for (const int ctcss : {GridCol::RxCtcss, GridCol::TxCtcss}) {
            const auto& tone = cells[ctcss];
            const auto& code = cells[ctcss + 1];
            if (!tone || !code || Trim(*tone) == OffText || Trim(*code) == OffText) continue;
            if (Trim(*tone) == NotShownText || Trim(*code) == NotShownText) continue;
            Error(record.Line, HeaderAt(*FieldOf(ctcss + 1)), *code, "a DCS code beside the CTCSS tone " + *tone);
            agree = false;
        }
        return agree;
    }

    const std::vector<CsvRecord>& records_;
    CellLimits limits_;
    ChannelImport& result_;
    std::vector<int> columns_;  // the column of each header field
};

}  // namespace

std::string NoteText(const CsvNote& note)
{
    if (note.Line == 0) return note.Message;
    std::string text = "line " + std::to_string(note.Line);
    if (!note.Column.empty()) text += ", column \"" + note.Column + "\"";
    if (!note.Text.empty() || !note.Column.empty()) text += ", \"" + note.Text + "\"";
    return text + ": " + note.Message;
}

std::vector<std::string> ChannelCsvHeaders()
{
    std::vector<std::string> headers;
    for (const int c : WrittenColumns()) headers.push_back(HeaderText(c));
    return headers;
}

std::string ExportChannelsCsv(const TChannels& channels, const TCEmem& emem)
{
    const CellFormat format{emem.ChannelStep, '.'};
    std::string text = CsvLine(ChannelCsvHeaders());
    for (int i = 0; i < ChannelCount; ++i) {
        const TChannel& ch = channels.Items(i);
        const ChannelRowTexts row = FillChannelRow(ch, i, format);
        std::vector<std::string> fields;
        for (const int c : WrittenColumns()) {
            if (c == kInUseColumn)
                fields.push_back(ch.InUse != 0 ? "yes" : "no");
            else
                fields.emplace_back(Trim(row[static_cast<std::size_t>(c)]));
        }
        text += CsvLine(fields);
    }
    return text;
}

ChannelImport ImportChannelsCsv(std::string_view text, const TChannels& channels, const TCEmem& emem)
{
    ChannelImport result;
    result.Channels = channels;
    const CsvReadResult read = ReadCsv(text);
    if (read.Status == CsvStatus::TooLarge) {
        result.Errors.push_back({0, "", "", CsvStatusText(read.Status)});  // the whole file, not a place in it
        return result;
    }
    if (read.Status != CsvStatus::Ok) {
        result.Errors.push_back({read.Line, "", "", CsvStatusText(read.Status) + " (field " + std::to_string(read.Column) + ")"});
        return result;
    }
    if (!read.Records.empty() && IsForeignHeader(read.Records[0].Fields)) {
        result.Kind = ChannelCsvKind::Foreign;
        ImportForeignRows(read.Records, emem, result);
        return result;
    }
    OwnImport(read.Records, emem, result).Run();
    return result;
}

}  // namespace qm54
