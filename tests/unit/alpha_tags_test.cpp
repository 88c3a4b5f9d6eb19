// The alpha-tag table as its dialog edits it: cell texts, the editor's filters, the commit rules,
// the duplicate refusal, the sort decision and the packing.
#include "model/settings/alpha_tags.h"

#include <gtest/gtest.h>

namespace {

using namespace qm54;

AlphaTagTable Free()
{
    TCEmem emem;
    SetDefaults(emem);
    return LoadAlphaTags(emem);
}

AlphaTagTable With(std::initializer_list<std::pair<int32_t, const char*>> rows)
{
    AlphaTagTable table = Free();
    size_t r = 0;
    for (const auto& [code, tag] : rows) {
        table.Code[r] = code;
        table.Tag[r] = tag;
        ++r;
    }
    return table;
}

std::string Cells(const AlphaTagTable& table, int row)
{
    return AlphaTagCellText(table, row, AlphaTagCodeColumn) + "|" + AlphaTagCellText(table, row, AlphaTagTextColumn);
}

TEST(AlphaTags, CommitsAsTheEditorDoes)
{
    AlphaTagTable table = Free();
    EXPECT_EQ(Cells(table, 0), "----|--------");

    // A tag typed into a free row gets the lowest free number, blanks to 8.
    ASSERT_EQ(CommitAlphaTagCell(table, 0, AlphaTagTextColumn, TypedIntoAlphaTag(AlphaTagTextColumn, "a")),
              AlphaTagCommit::Committed);
    EXPECT_EQ(Cells(table, 0), "0001|A       ");

    // A number typed into a free row: shown with four digits, the tag turns blank.
    ASSERT_EQ(CommitAlphaTagCell(table, 3, AlphaTagCodeColumn, "7"), AlphaTagCommit::Committed);
    EXPECT_EQ(Cells(table, 3), "0007|        ");
    // The same number in another row is refused and leaves that row as it was.
    EXPECT_EQ(CommitAlphaTagCell(table, 4, AlphaTagCodeColumn, "7"), AlphaTagCommit::DuplicateCode);
    EXPECT_EQ(CommitAlphaTagCell(table, 4, AlphaTagCodeColumn, "0007"), AlphaTagCommit::DuplicateCode);
    EXPECT_EQ(Cells(table, 4), "----|--------");
    // A row keeps its own number.
    EXPECT_EQ(CommitAlphaTagCell(table, 3, AlphaTagCodeColumn, "7"), AlphaTagCommit::Committed);

    // The next automatic number skips those in use; 0 is a number like any other.
    ASSERT_EQ(CommitAlphaTagCell(table, 5, AlphaTagCodeColumn, "2"), AlphaTagCommit::Committed);
    ASSERT_EQ(CommitAlphaTagCell(table, 6, AlphaTagTextColumn, "hill"), AlphaTagCommit::Committed);
    EXPECT_EQ(Cells(table, 6), "0003|HILL    ");
    ASSERT_EQ(CommitAlphaTagCell(table, 7, AlphaTagCodeColumn, "0"), AlphaTagCommit::Committed);
    EXPECT_EQ(Cells(table, 7), "0000|        ");

    // Clearing the number clears the whole entry.
    ASSERT_EQ(CommitAlphaTagCell(table, 6, AlphaTagCodeColumn, ""), AlphaTagCommit::Committed);
    EXPECT_EQ(Cells(table, 6), "----|--------");

    // A tag starting with % is stored empty; a tag never holds more than 8 characters.
    ASSERT_EQ(CommitAlphaTagCell(table, 0, AlphaTagTextColumn, "%ABC"), AlphaTagCommit::Committed);
    EXPECT_EQ(Cells(table, 0), "0001|--------");
    ASSERT_EQ(CommitAlphaTagCell(table, 0, AlphaTagTextColumn, "ABCDEFGHIJ"), AlphaTagCommit::Committed);
    EXPECT_EQ(table.Tag[0], "ABCDEFGH");
    // Rows outside the table are ignored.
    EXPECT_EQ(CommitAlphaTagCell(table, 48, AlphaTagCodeColumn, "9"), AlphaTagCommit::Committed);
    EXPECT_EQ(AlphaTagCellText(table, -1, 0), "");
}

TEST(AlphaTags, TheEditorsFiltersAndLengths)
{
    EXPECT_EQ(TypedIntoAlphaTag(AlphaTagTextColumn, "ab!\"#$%&c d"), "AB%&C D");  // codes 33 to 36 refused
    EXPECT_EQ(TypedIntoAlphaTag(AlphaTagTextColumn, "abcdefghij"), "ABCDEFGH");
    EXPECT_EQ(TypedIntoAlphaTag(AlphaTagTextColumn, "caf\xc3\xa9"), "CAF");
    EXPECT_EQ(TypedIntoAlphaTag(AlphaTagCodeColumn, "12a345"), "1234");
    EXPECT_FALSE(FilterAlphaTagKey(AlphaTagTextColumn, U'!').Accepted);
    EXPECT_EQ(FilterAlphaTagKey(AlphaTagTextColumn, U'q').Key, U'Q');
    EXPECT_FALSE(FilterAlphaTagKey(AlphaTagCodeColumn, U'q').Accepted);
    EXPECT_EQ(AlphaTagEditorText("----"), "");
    EXPECT_EQ(AlphaTagEditorText("--------"), "");
    EXPECT_EQ(AlphaTagEditorText("0007"), "0007");
}

TEST(AlphaTags, SortDecisionAndPacking)
{
    struct Case {
        const char* what;
        AlphaTagTable table;
        bool sort;
    };
    AlphaTagTable gap = With({{1, "A       "}, {AlphaTagFreeCode, ""}, {2, "B       "}});
    AlphaTagTable unordered = With({{5, "FIVE    "}, {3, "THREE   "}, {9, "NINE    "}});
    AlphaTagTable packed = With({{0, "ZERO    "}, {3, "THREE   "}, {9, "NINE    "}});
    AlphaTagTable tagWithoutNumber = With({{1, "A       "}, {AlphaTagFreeCode, "LOST    "}});
    const Case cases[] = {
        {"a gap above a row in use", gap, true},
        {"numbers not increasing", unordered, true},
        {"packed and increasing", packed, false},
        {"empty", Free(), false},
        {"only free rows below", tagWithoutNumber, false},
    };
    for (const Case& c : cases) EXPECT_EQ(AlphaTagsNeedSort(c.table), c.sort) << c.what;

    SortAlphaTags(gap);
    EXPECT_EQ(Cells(gap, 0) + Cells(gap, 1) + Cells(gap, 2), "0001|A       0002|B       ----|--------");
    SortAlphaTags(unordered);
    EXPECT_EQ(Cells(unordered, 0) + Cells(unordered, 1) + Cells(unordered, 2), "0003|THREE   0005|FIVE    0009|NINE    ");
    // Every entry with a number survives, a tag without one does not.
    SortAlphaTags(tagWithoutNumber);
    EXPECT_EQ(Cells(tagWithoutNumber, 0) + Cells(tagWithoutNumber, 1), "0001|A       ----|--------");
}

TEST(AlphaTags, StoringWritesOnlyWhatDiffers)
{
    TCEmem emem;
    SetDefaults(emem);
    AlphaTagTable table = LoadAlphaTags(emem);
    EXPECT_FALSE(StoreAlphaTags(table, emem));
    ASSERT_EQ(CommitAlphaTagCell(table, 2, AlphaTagTextColumn, "NORTH"), AlphaTagCommit::Committed);
    EXPECT_TRUE(StoreAlphaTags(table, emem));
    EXPECT_EQ(emem.AlphaTagCode[2], 1);
    EXPECT_EQ(emem.AlphaTagText[2], "NORTH   ");
    EXPECT_FALSE(StoreAlphaTags(table, emem));
}

}  // namespace
