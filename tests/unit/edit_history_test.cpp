// The bounded undo history: recording, undo and redo, a change dropping what could be redone, the
// limit, and which step is the saved one.
#include "model/document/edit_history.h"

#include <gtest/gtest.h>

namespace {

using qm54::EditHistory;

TEST(EditHistory, UndoRedoAndTheSavedStep)
{
    EditHistory<int> history;
    history.Reset(0, true);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Record("Same", 0));  // no change, no step
    EXPECT_TRUE(history.Record("Timer", 1));
    EXPECT_TRUE(history.Record("Edit", 2));
    EXPECT_EQ(history.UndoLabel(), "Edit");
    EXPECT_FALSE(history.AtSaved());

    EXPECT_EQ(*history.Undo(), 1);
    EXPECT_EQ(history.RedoLabel(), "Edit");
    EXPECT_EQ(*history.Undo(), 0);
    EXPECT_TRUE(history.AtSaved());
    EXPECT_EQ(history.Undo(), nullptr);
    EXPECT_EQ(*history.Redo(), 1);

    // Saved at step 1; a new change after it drops step 2.
    history.MarkSaved([](int&) {});
    EXPECT_TRUE(history.AtSaved());
    EXPECT_TRUE(history.Record("Upload", 5));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(*history.Undo(), 1);
    EXPECT_TRUE(history.AtSaved());

    // An undone saved step that a new change replaces is no longer anywhere.
    EXPECT_EQ(*history.Undo(), 0);
    EXPECT_TRUE(history.Record("Other", 9));
    EXPECT_FALSE(history.AtSaved());
    EXPECT_EQ(*history.Undo(), 0);
    EXPECT_FALSE(history.AtSaved());
}

TEST(EditHistory, KeepsTheLastChangesOnly)
{
    EditHistory<int> history;
    history.Reset(0, true);
    const int changes = static_cast<int>(EditHistory<int>::Limit) + 20;
    for (int i = 1; i <= changes; ++i) history.Record("Edit", i);
    int undone = 0;
    while (history.CanUndo()) {
        history.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(EditHistory<int>::Limit));
    EXPECT_EQ(*history.Redo(), changes - static_cast<int>(EditHistory<int>::Limit) + 1);
    EXPECT_FALSE(history.AtSaved());  // the saved state has been dropped
}

}  // namespace
