// Edit > Undo and Redo: the document's history of changes (grid edits and pastes, each dialog's
// OK, an import, an Upload, ...), its entries named after the change they take back.
#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include <QAction>

#include "ui/main/channel_grid.h"

namespace qm54 {

void TfrmMain::RememberChange(const std::string& label)
{
    doc_.Remember(label);
    UpdateUndoEntries();
}

void TfrmMain::UpdateUndoEntries()
{
    miUndo_->setEnabled(doc_.CanUndo());
    miRedo_->setEnabled(doc_.CanRedo());
    miUndo_->setText(doc_.CanUndo() ? QStringLiteral("&Undo ") + ToQString(doc_.UndoLabel()) : QStringLiteral("&Undo"));
    miRedo_->setText(doc_.CanRedo() ? QStringLiteral("&Redo ") + ToQString(doc_.RedoLabel()) : QStringLiteral("&Redo"));
}

void TfrmMain::EditUndo()
{
    // A cell being typed is committed first, so that it is the change taken back.
    grdCh_->CommitEditor();
    grdCh_->ParseInto(doc_.Working());
    doc_.Remember("Edit");
    if (doc_.Undo()) Refresh();
    UpdateUndoEntries();
}

void TfrmMain::EditRedo()
{
    grdCh_->CommitEditor();
    grdCh_->ParseInto(doc_.Working());
    if (doc_.Remember("Edit")) {  // a change since the undo drops what could be redone
        UpdateUndoEntries();
        return;
    }
    if (doc_.Redo()) Refresh();
    UpdateUndoEntries();
}

}  // namespace qm54
