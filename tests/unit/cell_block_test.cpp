#include "model/channels/cell_block.h"

#include <gtest/gtest.h>

#include <string>

namespace qm54 {
namespace {

TEST(CellBlock, TellsABlockFromTheTextOfOneCell)
{
    struct Case {
        const char* text;
        bool block;
    };
    for (const Case& c : {Case{"", false}, Case{"150.000", false}, Case{"150.000\r\n", false},
                          Case{"150.000\n", false}, Case{"150.000\r", false}, Case{"a\tb", true},
                          Case{"a\t", true}, Case{"a\nb", true}, Case{"a\r\nb\r\n", true}, Case{"\n\n", true}})
        EXPECT_EQ(IsCellBlock(c.text), c.block) << c.text;
}

TEST(CellBlock, ReadsCrLfAndLfRowsAlike)
{
    const CellRows expected{{"150.01000", "off", "754"}, {"", "67.0", ""}};
    for (const char* text : {"150.01000\toff\t754\r\n\t67.0\t", "150.01000\toff\t754\n\t67.0\t\n",
                             "150.01000\toff\t754\r\n\t67.0\t\r\n"}) {
        const CellBlock block = SplitCellBlock(text, 16, 27);
        EXPECT_EQ(block.Rows, expected) << text;
        EXPECT_EQ(block.Dropped, 0u);
    }
    // Only one line end at the very end is dropped: an empty line inside is an empty row, and a
    // lone CR is part of its field.
    EXPECT_EQ(SplitCellBlock("a\n\nb", 16, 27).Rows, (CellRows{{"a"}, {""}, {"b"}}));
    EXPECT_EQ(SplitCellBlock("a\rb\tc", 16, 27).Rows, (CellRows{{"a\rb", "c"}}));
}

TEST(CellBlock, KeepsWhatFitsAndCountsTheNonEmptyRest)
{
    const CellBlock block = SplitCellBlock("a\tb\tc\nd\t\t\ng\t\n", 2, 2);
    EXPECT_EQ(block.Rows, (CellRows{{"a", "b"}, {"d", ""}}));
    EXPECT_EQ(block.Dropped, 2u);  // "c" and "g"; empty fields carry nothing

    // Megabytes of separators cost no more than the grid they land in.
    std::string huge;
    for (int i = 0; i < 1 << 20; ++i) huge += i % 2 ? "x\n" : "y\t";
    const CellBlock big = SplitCellBlock(huge, 16, 27);
    ASSERT_EQ(big.Rows.size(), 16u);
    EXPECT_EQ(big.Rows[0], (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(big.Dropped, (1u << 20) - 32);
}

TEST(CellBlock, JoinedBlockReadsBackTheSame)
{
    const CellRows rows{{"150.01000", "off", "W"}, {"Tx Inh", "---", ""}};
    const std::string text = JoinCellBlock(rows);
    EXPECT_EQ(text, "150.01000\toff\tW\r\nTx Inh\t---\t");
    EXPECT_EQ(SplitCellBlock(text, 16, 27).Rows, rows);
}

TEST(CellBlock, SummaryNamesChangedRefusedAndOutside)
{
    EXPECT_EQ(CellBlockSummary("Pasted", 6, 0, 0), "Pasted 6 cells, none refused");
    EXPECT_EQ(CellBlockSummary("Filled", 1, 1, 0), "Filled 1 cell, 1 cell refused");
    EXPECT_EQ(CellBlockSummary("Pasted", 4, 5, 2), "Pasted 4 cells, 5 cells refused (2 outside the grid)");
    EXPECT_EQ(CellBlockSummary("Pasted", 0, 7, 0), "Nothing changed, 7 cells refused");
    EXPECT_EQ(CellBlockSummary("Filled", 0, 0, 0), "Nothing changed, none refused");
}

}  // namespace
}  // namespace qm54
