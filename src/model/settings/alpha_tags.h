// The alpha-tag table as its dialog edits it: 48 rows of a table number (0 to 9999, -1 for a free
// row) and a tag of up to 8 characters. The dialog's grid, `qm54 get` and `qm54 set` all go
// through these functions: the cell texts, the editor's filters, the commit of an edited cell
// (lowest free number, "%" start, blanks to 8, a cleared number clearing the entry, duplicates
// refused), the sort decision at OK and the packing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/image/convert.h"
#include "model/image/emem.h"

namespace qm54 {

inline constexpr int AlphaTagCodeColumn = 0;
inline constexpr int AlphaTagTextColumn = 1;
inline constexpr int AlphaTagFreeCode = -1;
inline constexpr std::string_view AlphaTagDuplicateMessage = "This code is already exsists.";
inline constexpr std::string_view AlphaTagSortMessage = "Alpha Tag will be sorted in order of table number";

struct AlphaTagTable {
    std::array<int32_t, AlphaTagCount> Code{};     // AlphaTagFreeCode for a row not in use
    std::array<std::string, AlphaTagCount> Tag;    // empty for no tag
    bool operator==(const AlphaTagTable&) const = default;
};

AlphaTagTable LoadAlphaTags(const TCEmem& emem);

// The grid column of the settings-table row key ("AlphaTagCode", "AlphaTagText"), or -1 for
// any other setting.
int AlphaTagColumnOf(std::string_view key);

// What a cell shows: "----" or the number as four digits ("0007"); "--------" or the tag.
std::string AlphaTagCellText(const AlphaTagTable& table, int row, int column);
// The text the editor opens with on a cell showing cellText ("----" and "--------" open empty).
std::string AlphaTagEditorText(std::string_view cellText);
// The editor's filter and length: digits and 4 in the number column; in the tag column the tag
// characters except "!", '"', "#" and "$", upper-cased, and 8.
KeyFilterResult FilterAlphaTagKey(int column, char32_t key);
int AlphaTagMaxLength(int column);
// The text the editor holds after text was typed into it: refused characters dropped (a UTF-8
// character counts as one), cut at the column's length.
std::string TypedIntoAlphaTag(int column, std::string_view text);

enum class AlphaTagCommit { Committed, DuplicateCode };
// The commit of the editor's text into a cell of row. A number another row already has is refused
// (DuplicateCode) and leaves the row's cells as they were.
[[nodiscard]] AlphaTagCommit CommitAlphaTagCell(AlphaTagTable& table, int row, int column, std::string_view text);

// Whether OK must sort: a free row above a row in use, or numbers not increasing downwards.
bool AlphaTagsNeedSort(const AlphaTagTable& table);
// The rows in use packed from row 0 in increasing order of number; every other row free (a tag
// without a number is dropped).
void SortAlphaTags(AlphaTagTable& table);
// Writes every row that differs into emem; true when any did.
bool StoreAlphaTags(const AlphaTagTable& table, TCEmem& emem);

}  // namespace qm54
