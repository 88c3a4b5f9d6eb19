#include "model/channels/grid_columns.h"

#include <gtest/gtest.h>

#include "model/image/tables.h"

namespace qm54 {
namespace {

TEST(GridColumns, NamedColumnsPointAtTheirHeadersListsAndDialogs)
{
    EXPECT_EQ(ColumnAt(GridCol::RxFreq).Header2, "Rx Freq");
    EXPECT_EQ(ColumnAt(GridCol::TxFreq).Header2, "Tx Freq");
    EXPECT_EQ(ColumnAt(GridCol::IdMode).Header1, "CWID");
    EXPECT_EQ(ColumnAt(GridCol::NsqLevel).Kind, ColNumber);
    EXPECT_EQ(ColumnAt(GridCol::NsqLevel).Parameter, 3);
    EXPECT_EQ(ColumnAt(GridCol::RxDcs).Parameter, DlgDcs);
    EXPECT_EQ(ColumnAt(GridCol::TxCtcss).Parameter, DlgCtcss);
    EXPECT_EQ(ColumnAt(GridCol::Lockout).Field, &TChannel::Lockout);
    EXPECT_EQ(ColumnAt(GridCol::RptGuardTime).Field, &TChannel::UseRptGuardTime);
    EXPECT_EQ(&ColumnAt(-1), &GridColumns.front());
    EXPECT_EQ(&ColumnAt(GridColumnCount), &GridColumns.back());

    for (const GridColumn& col : GridColumns) {
        // A choice column, and only a choice column, names the channel field it shows.
        EXPECT_EQ(col.Kind == ColChoice, col.Field != nullptr) << col.Header2;
        if (col.Kind == ColChoice) {
            ASSERT_GE(col.Parameter, 0);
            ASSERT_LT(col.Parameter, OptionListCount);
            EXPECT_GT(OptionLists[static_cast<size_t>(col.Parameter)].Count, 0) << col.Header2;
        }
        if (col.Kind == ColDialog) {
            EXPECT_TRUE(col.Parameter >= DlgCtcss && col.Parameter <= DlgMultiTone);
        }
    }
}

TEST(GridColumns, GroupsCoverEveryEditableColumnOnceInOrder)
{
    int next = GridCol::FirstRx;
    for (const ColumnGroup& group : ColumnGroups) {
        EXPECT_EQ(group.FirstColumn, next) << group.ItemName;
        EXPECT_LE(group.FirstColumn, group.LastColumn);
        // Only a group of several columns has a caption panel.
        EXPECT_EQ(group.Caption != nullptr, group.LastColumn > group.FirstColumn) << group.ItemName;
        next = group.LastColumn + 1;
    }
    EXPECT_EQ(next, GridColumnCount);
    EXPECT_STREQ(ColumnGroupAt(1).Caption, "Decoders");
    EXPECT_STREQ(ColumnGroupAt(99).ItemName, "RPT GT");
}

}  // namespace
}  // namespace qm54
