// The 16 channels as comma-separated text, one row per channel, columns headed as the grid's
// ("Ch", "In Use", "Rx Freq", "CTCSS", ...) and holding its cell texts; and such a file, or the
// channel file of a common open-source programming tool (foreign_csv.h), read back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/image/channel.h"
#include "model/image/emem.h"

namespace qm54 {

// One thing said about a place in the file: the line (from 1; 0 for the whole file), the column's
// header (empty for the whole line) and the text found there.
struct CsvNote {
    int Line = 0;
    std::string Column;
    std::string Text;
    std::string Message;
};
// "line 3, column "Rx Freq", "abc": not a frequency in MHz"; the message alone for the whole file.
std::string NoteText(const CsvNote& note);

enum class ChannelCsvKind { Own, Foreign };
enum class ImportOutcome { Imported, Refused };

struct ChannelImport {
    ImportOutcome Outcome = ImportOutcome::Refused;
    ChannelCsvKind Kind = ChannelCsvKind::Own;
    std::vector<CsvNote> Errors;   // why it was refused; nothing is imported then
    std::vector<CsvNote> Report;   // what a foreign file held that has no place in this repeater
    TChannels Channels;            // the channels after the import (the ones given, when refused)
    int RowsImported = 0;
};

// The header of each column written, in order; the two tone pairs of the transmit side are
// "Tx CTCSS" and "Tx DCS", the multi-tone flag is written but never read.
std::vector<std::string> ChannelCsvHeaders();

// The header row and one row per channel, CR LF line ends, frequencies with "." as separator.
std::string ExportChannelsCsv(const TChannels& channels, const TCEmem& emem);

// Reads text into a copy of channels, every cell checked and written as the grid would: columns
// may come in any order, a column left out keeps its values, rows name their channel in "Ch" (or
// are channels 1, 2, ... in order without it). Any error refuses the whole file. A header with
// "Location" and "Frequency" is read as the foreign channel file.
[[nodiscard]] ChannelImport ImportChannelsCsv(std::string_view text, const TChannels& channels,
                                              const TCEmem& emem);

}  // namespace qm54
