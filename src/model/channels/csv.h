// Comma-separated text: quoted fields with doubled quotes inside, line breaks inside quotes, a
// UTF-8 byte-order mark in front and CR LF, LF or a lone CR at line ends all read alike. Bytes
// are taken as they are; nothing here knows what the fields mean.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm54 {

struct CsvRecord {
    int Line = 0;  // the line (from 1) on which the record begins
    std::vector<std::string> Fields;
};

enum class CsvStatus {
    Ok,
    UnclosedQuote,     // a quoted field runs to the end of the text
    TextAfterQuote,    // a closing quote is followed by something other than a comma or line end
    QuoteInField,      // a quote inside an unquoted field
    TooLarge,          // more bytes than any channel file holds (MaxCsvBytes)
    TooManyRecords,    // more records than MaxCsvRecords
    TooManyFields,     // a record of more than MaxCsvFields fields
};

struct CsvReadResult {
    CsvStatus Status = CsvStatus::Ok;
    int Line = 0;      // where reading stopped, when Status is not Ok
    int Column = 0;    // the field (from 1) in which it stopped
    std::vector<CsvRecord> Records;  // empty lines are left out
};

inline constexpr std::size_t MaxCsvBytes = 1 << 20;
inline constexpr std::size_t MaxCsvRecords = 4096;
inline constexpr std::size_t MaxCsvFields = 256;

[[nodiscard]] CsvReadResult ReadCsv(std::string_view text);

// Whether every field of a record is empty or blanks (a spreadsheet's row of commas).
bool IsBlankRecord(const CsvRecord& record);

// What a failed read means, in words ("a quoted field is not closed"), with the limit passed.
std::string CsvStatusText(CsvStatus status);

// One record, fields quoted where they hold a comma, a quote, a line break or edge blanks,
// ended by CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace qm54
