#include "model/channels/cell_block.h"

namespace qm54 {

namespace {

// The text without one line end at its very end.
std::string_view WithoutFinalLineEnd(std::string_view text)
{
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return text;
}

std::string Cells(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " cell" : " cells");
}

}  // namespace

bool IsCellBlock(std::string_view text)
{
    return WithoutFinalLineEnd(text).find_first_of("\t\n") != std::string_view::npos;
}

CellBlock SplitCellBlock(std::string_view text, std::size_t maxRows, std::size_t maxFields)
{
    CellBlock block;
    std::string_view rest = WithoutFinalLineEnd(text);
    for (std::size_t row = 0;; ++row) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (row < maxRows) block.Rows.emplace_back();
        for (std::size_t field = 0;; ++field) {
            const std::size_t tab = line.find('\t');
            const std::string_view value = line.substr(0, tab);
            if (row < maxRows && field < maxFields) block.Rows.back().emplace_back(value);
            else if (!value.empty()) ++block.Dropped;
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return block;
}

std::string JoinCellBlock(const CellRows& rows)
{
    std::string text;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) text += "\r\n";
        for (std::size_t f = 0; f < rows[r].size(); ++f) {
            if (f > 0) text += '\t';
            text += rows[r][f];
        }
    }
    return text;
}

std::string CellBlockSummary(std::string_view verb, std::size_t changed, std::size_t refused, std::size_t outside)
{
    std::string text = changed == 0 ? std::string("Nothing changed") : std::string(verb) + " " + Cells(changed);
    if (refused == 0) return text + ", none refused";
    text += ", " + Cells(refused) + " refused";
    if (outside > 0) text += " (" + std::to_string(outside) + " outside the grid)";
    return text;
}

}  // namespace qm54
