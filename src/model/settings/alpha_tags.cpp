#include "model/settings/alpha_tags.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qm54 {

namespace {

constexpr std::string_view kFreeCodeText = "----";
constexpr std::string_view kNoTagText = "--------";
constexpr std::string_view kExcluded = "!\"#$";  // the characters of codes 33 to 36
constexpr size_t kTagLength = 8;
constexpr int kCodeLength = 4;
constexpr int32_t kLowestAutomaticCode = 1;
constexpr int32_t kHighestAutomaticCode = AlphaTagCount;

bool InTable(int row) { return row >= 0 && row < AlphaTagCount; }
size_t At(int row) { return static_cast<size_t>(row); }

int32_t LowestFreeCode(const AlphaTagTable& table)
{
    for (int32_t code = kLowestAutomaticCode; code <= kHighestAutomaticCode; ++code)
        if (std::find(table.Code.begin(), table.Code.end(), code) == table.Code.end()) return code;
    return kLowestAutomaticCode;  // not reached: a free row leaves one of the 48 numbers unused
}

bool CodeUsedElsewhere(const AlphaTagTable& table, int row, int32_t code)
{
    for (int r = 0; r < AlphaTagCount; ++r)
        if (r != row && table.Code[At(r)] != AlphaTagFreeCode && table.Code[At(r)] == code) return true;
    return false;
}

std::string TagOf(std::string_view typed)
{
    std::string tag = NormalizeTagText(typed, kExcluded);
    if (!tag.empty() && tag.front() == '%') return {};
    if (tag.empty()) return tag;
    tag.resize(kTagLength, ' ');  // left-aligned, filled with blanks; never more than the image holds
    return tag;
}

}  // namespace

AlphaTagTable LoadAlphaTags(const TCEmem& emem)
{
    AlphaTagTable table;
    table.Code = emem.AlphaTagCode;
    table.Tag = emem.AlphaTagText;
    return table;
}

int AlphaTagColumnOf(std::string_view key)
{
    if (key == "AlphaTagCode") return AlphaTagCodeColumn;
    if (key == "AlphaTagText") return AlphaTagTextColumn;
    return -1;
}

std::string AlphaTagCellText(const AlphaTagTable& table, int row, int column)
{
    if (!InTable(row)) return {};
    if (column == AlphaTagCodeColumn) {
        const int32_t code = table.Code[At(row)];
        if (code == AlphaTagFreeCode) return std::string(kFreeCodeText);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%4.4d", static_cast<int>(code));
        return buffer;
    }
    const std::string& tag = table.Tag[At(row)];
    return tag.empty() ? std::string(kNoTagText) : tag;
}

std::string AlphaTagEditorText(std::string_view cellText)
{
    if (cellText == kFreeCodeText || cellText == kNoTagText) return {};
    return std::string(cellText);
}

KeyFilterResult FilterAlphaTagKey(int column, char32_t key)
{
    return column == AlphaTagCodeColumn ? FilterDigitKey(key) : FilterTagKey(key, kExcluded);
}

int AlphaTagMaxLength(int column) { return column == AlphaTagCodeColumn ? kCodeLength : static_cast<int>(kTagLength); }

std::string TypedIntoAlphaTag(int column, std::string_view text)
{
    std::string typed;
    for (const char c : text) {
        if (static_cast<int>(typed.size()) >= AlphaTagMaxLength(column)) break;
        const KeyFilterResult key = FilterAlphaTagKey(column, static_cast<unsigned char>(c));
        if (!key.Accepted || key.Key == U'\b') continue;
        typed += static_cast<char>(key.Key);
    }
    return typed;
}

AlphaTagCommit CommitAlphaTagCell(AlphaTagTable& table, int row, int column, std::string_view text)
{
    if (!InTable(row)) return AlphaTagCommit::Committed;
    int32_t& code = table.Code[At(row)];
    std::string& tag = table.Tag[At(row)];
    if (column != AlphaTagCodeColumn) {
        std::string typed = TagOf(text);
        if (code == AlphaTagFreeCode) code = LowestFreeCode(table);
        tag = std::move(typed);
        return AlphaTagCommit::Committed;
    }
    const std::string digits = DigitsOnly(text.substr(0, std::min<size_t>(text.size(), kCodeLength)));
    if (digits.empty()) {  // clearing the number clears the whole entry
        code = AlphaTagFreeCode;
        tag.clear();
        return AlphaTagCommit::Committed;
    }
    const int32_t number = ToIntOr(digits, 0);
    if (CodeUsedElsewhere(table, row, number)) return AlphaTagCommit::DuplicateCode;
    if (tag.empty()) tag.assign(kTagLength, ' ');
    code = number;
    return AlphaTagCommit::Committed;
}

bool AlphaTagsNeedSort(const AlphaTagTable& table)
{
    bool rowInUseBelow = false;
    for (int r = AlphaTagCount - 1; r >= 0; --r) {
        if (table.Code[At(r)] != AlphaTagFreeCode)
            rowInUseBelow = true;
        else if (rowInUseBelow)
            return true;  // a gap above a row in use
    }
    bool havePrevious = false;
    int32_t previous = 0;
    for (const int32_t code : table.Code) {
        if (code == AlphaTagFreeCode) continue;
        if (havePrevious && code < previous) return true;
        previous = code;
        havePrevious = true;
    }
    return false;
}

void SortAlphaTags(AlphaTagTable& table)
{
    std::vector<std::pair<int32_t, std::string>> inUse;
    for (int r = 0; r < AlphaTagCount; ++r)
        if (table.Code[At(r)] != AlphaTagFreeCode) inUse.emplace_back(table.Code[At(r)], table.Tag[At(r)]);
    std::stable_sort(inUse.begin(), inUse.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    AlphaTagTable sorted;
    sorted.Code.fill(AlphaTagFreeCode);
    for (size_t i = 0; i < inUse.size(); ++i) {
        sorted.Code[i] = inUse[i].first;
        sorted.Tag[i] = std::move(inUse[i].second);
    }
    table = std::move(sorted);
}

bool StoreAlphaTags(const AlphaTagTable& table, TCEmem& emem)
{
    bool modified = false;
    for (size_t r = 0; r < AlphaTagCount; ++r) {
        if (table.Code[r] != emem.AlphaTagCode[r]) {
            emem.AlphaTagCode[r] = table.Code[r];
            modified = true;
        }
        if (table.Tag[r] != emem.AlphaTagText[r]) {
            emem.AlphaTagText[r] = table.Tag[r];
            modified = true;
        }
    }
    return modified;
}

}  // namespace qm54
