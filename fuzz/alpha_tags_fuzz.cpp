// The alpha-tag table as its dialog and `qm54 set` edit it: a run of cell commits with arbitrary
// texts over a table with arbitrary stored numbers and tags, then the OK (sort decision, sort,
// packing). Properties: no two rows in use end up with one number unless the stored table already
// had them; every committed tag holds only characters the editor's filter lets through, at most 8;
// the sort keeps every entry that has a number, packed from row 0 in increasing order, and after
// it no sort is needed; what is stored is what the settings table accepts.
//
// Input: 48 stored numbers (two bytes each: 0xFFFF and above 9999 free) and tags (a length byte
// and that many bytes), then commits: row (byte), column (byte, odd: the tag), length, text.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "model/settings/alpha_tags.h"
#include "model/settings/settings_table.h"

#include <algorithm>
#include <map>
#include <string>

namespace {

using namespace qm54;

constexpr int kMaxCodeValue = 9999;
constexpr size_t kTagLength = 8;

std::string TakeText(qm54fuzz::FuzzInput& input, size_t most)
{
    const auto bytes = input.Take(std::min<size_t>(input.Byte(), most));
    return std::string(bytes.begin(), bytes.end());
}

bool TagCharactersAllowed(const std::string& tag)
{
    for (const char c : tag) {
        const KeyFilterResult key = FilterAlphaTagKey(AlphaTagTextColumn, static_cast<unsigned char>(c));
        if (!key.Accepted || key.Key != static_cast<unsigned char>(c)) return false;
    }
    return tag.size() <= kTagLength;
}

std::map<int32_t, int> CodeCounts(const AlphaTagTable& table)
{
    std::map<int32_t, int> counts;
    for (const int32_t code : table.Code)
        if (code != AlphaTagFreeCode) ++counts[code];
    return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qm54fuzz::FuzzInput input(data, size);
    TCEmem emem;
    SetDefaults(emem);
    for (int r = 0; r < AlphaTagCount; ++r) {
        const uint16_t code = input.Word();
        emem.AlphaTagCode[static_cast<size_t>(r)] = code > kMaxCodeValue ? AlphaTagFreeCode : code;
        emem.AlphaTagText[static_cast<size_t>(r)] = TakeText(input, 12);
    }
    AlphaTagTable table = LoadAlphaTags(emem);
    const std::map<int32_t, int> storedCounts = CodeCounts(table);

    while (!input.Empty()) {
        const int row = input.Byte() % (AlphaTagCount + 2) - 1;  // a row outside the table now and then
        const int column = input.Byte() & 1;
        const std::string typed = TypedIntoAlphaTag(column, TakeText(input, 16));
        const AlphaTagTable before = table;
        if (CommitAlphaTagCell(table, row, column, typed) == AlphaTagCommit::DuplicateCode) {
            FUZZ_CHECK(table == before);
            continue;
        }
        if (row < 0 || row >= AlphaTagCount) {
            FUZZ_CHECK(table == before);
            continue;
        }
        const size_t r = static_cast<size_t>(row);
        if (column == AlphaTagTextColumn)
            FUZZ_CHECK(TagCharactersAllowed(table.Tag[r]) && table.Code[r] != AlphaTagFreeCode);
        FUZZ_CHECK(table.Code[r] == AlphaTagFreeCode || (table.Code[r] >= 0 && table.Code[r] <= kMaxCodeValue));
        // A committed number is one no other row had, unless the stored table brought it twice.
        if (column == AlphaTagCodeColumn && table.Code[r] != AlphaTagFreeCode)
            FUZZ_CHECK(CodeCounts(table)[table.Code[r]] == 1 || storedCounts.count(table.Code[r]) > 0);
    }

    const std::map<int32_t, int> counts = CodeCounts(table);
    if (AlphaTagsNeedSort(table)) SortAlphaTags(table);
    FUZZ_CHECK(!AlphaTagsNeedSort(table));
    FUZZ_CHECK(CodeCounts(table) == counts);
    for (size_t r = 1; r < AlphaTagCount; ++r)
        if (table.Code[r] != AlphaTagFreeCode) FUZZ_CHECK(table.Code[r - 1] != AlphaTagFreeCode && table.Code[r - 1] <= table.Code[r]);

    (void)StoreAlphaTags(table, emem);
    FUZZ_CHECK(LoadAlphaTags(emem) == table);
    const SettingRow* codes = FindSetting("AlphaTagCode");
    FUZZ_CHECK(codes != nullptr);
    for (int r = 0; r < AlphaTagCount; ++r)
        FUZZ_CHECK(SetSetting(emem, *codes, r, emem.AlphaTagCode[static_cast<size_t>(r)]) == SetOutcome::Stored);
    return 0;
}
