// A block of grid cells as clipboard text: tab-separated fields, one line per row, rows ended by
// CR LF or LF (both read alike; one line end after the last row is not a further row). Nothing
// here knows what a field means.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm54 {

using CellRows = std::vector<std::vector<std::string>>;

struct CellBlock {
    CellRows Rows;         // at most the rows and fields asked for
    std::size_t Dropped = 0;  // non-empty fields beyond those limits
};

// Whether a clipboard text is a block rather than the text of one cell: it holds a tab, or more
// than one line.
bool IsCellBlock(std::string_view text);

// The fields of a block, keeping at most maxRows rows of at most maxFields fields each; fields
// beyond that are only counted, so a huge text costs no more than the grid it lands in.
CellBlock SplitCellBlock(std::string_view text, std::size_t maxRows, std::size_t maxFields);

// The text of a block: fields joined by tabs, rows by CR LF.
std::string JoinCellBlock(const CellRows& rows);

// The status-bar text after a block paste or fill-down: how many cells it changed ("Nothing
// changed" when none) and how many refused their text, cells beyond the grid among them. A cell
// that already showed its text is neither.
std::string CellBlockSummary(std::string_view verb, std::size_t changed, std::size_t refused, std::size_t outside);

}  // namespace qm54
