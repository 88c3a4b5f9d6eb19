// The main window's file and edit commands: preparation, the save prompt, New, Open, the recent
// files, Save, Save As, the close query, Copy, Paste, the file data view and the compare with
// another data file.
#include "ui/main/main_window.h"
#include "model/document/programming_diff.h"
#include "model/storage/datafile.h"
#include "model/storage/file_read.h"
#include "ui/common/qt_text.h"

#include "ui/main/channel_grid.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/dialogs/file_data_dialog.h"
#include "ui/main/main_window_support.h"

#include <QFileInfo>

namespace qm54 {

namespace {

const char* const kSavePrompt = "Do you want to save the file?";

std::string FolderOf(const std::string& path)
{
    return ToStdString(QFileInfo(ToQString(path)).absolutePath()) + "/";
}

}  // namespace

void TfrmMain::Prepare()
{
    grdCh_->ParseInto(doc_.Working());
    doc_.CommitWorkingList();
}

bool TfrmMain::SavePrompt()
{
    if (!doc_.Modified()) return true;
    switch (ShowMessageBox(prompter_, kSavePrompt, MsgKind::Confirmation, MsgButtons::YesNo)) {
    case MsgResult::Yes: return SaveTo(false);
    case MsgResult::No: return true;
    default: return false;
    }
}

bool TfrmMain::AskSavePath()
{
    const QString chosen = dialogs_.SaveDataFile(this, ToQString(settings_.CurrentFolder));
    if (chosen.isEmpty()) return false;
    settings_.CurrentFolder = FolderOf(ToStdString(chosen));
    doc_.SetCurrentFile(ToStdString(chosen));
    return true;
}

bool TfrmMain::SaveTo(bool alwaysAsk)
{
    if ((alwaysAsk || doc_.NeedsSavePath()) && !AskSavePath()) return false;
    if (!doc_.Save()) return false;
    Refresh();
    return true;
}

bool TfrmMain::FileSave()
{
    if (!SaveTo(false)) return false;
    doc_.ClearModified();
    return true;
}

void TfrmMain::FileSaveAs()
{
    doc_.AllowSave();
    Prepare();
    if (SaveTo(true)) doc_.ClearModified();
}

void TfrmMain::FileNew()
{
    doc_.AllowSave();
    Prepare();
    if (!SavePrompt()) return;
    doc_.New();
    Refresh();
}

bool TfrmMain::LoadFile(const std::string& path, bool changeFolder)
{
    if (!doc_.Open(path)) return false;
    if (changeFolder) settings_.CurrentFolder = FolderOf(path);
    settings_.Recent.Touch(path);
    RebuildRecentMenu();
    Refresh();
    return true;
}

void TfrmMain::FileOpen()
{
    doc_.AllowSave();
    Prepare();
    if (!SavePrompt()) return;
    const QString chosen = dialogs_.OpenDataFile(this, ToQString(settings_.CurrentFolder));
    if (chosen.isEmpty()) return;
    LoadFile(ToStdString(chosen), true);
}

void TfrmMain::OpenRecent(int index)
{
    const auto& paths = settings_.Recent.Paths();
    if (index < 0 || static_cast<size_t>(index) >= paths.size()) return;
    const std::string path = paths[index];
    if (!IsRegularFile(path)) {
        ShowMessageBox(prompter_, "File Not Found", MsgKind::Warning);
        settings_.Recent.Remove(path);
        RebuildRecentMenu();
        return;
    }
    Prepare();
    if (!SavePrompt()) return;
    doc_.AllowSave();
    LoadFile(path, false);
}

bool TfrmMain::CloseQuery()
{
    grdCh_->CommitEditor();
    grdCh_->ParseInto(doc_.Working());
    if (doc_.WorkingListDiffers()) doc_.SetModified();
    if (!doc_.Modified()) return true;
    const MsgResult answer = ShowMessageBox(prompter_, kSavePrompt, MsgKind::Confirmation, MsgButtons::YesNo);
    if (answer == MsgResult::No) return true;
    if (answer != MsgResult::Yes) return false;
    grdCh_->CommitEditor();
    return SaveTo(false);
}

void TfrmMain::EditCopy()
{
    if (grdCh_->hasFocus() || grdCh_->EditorActive()) grdCh_->CopyCell();
}

void TfrmMain::EditPaste()
{
    if (grdCh_->hasFocus() || grdCh_->EditorActive()) grdCh_->PasteCell();
}

void TfrmMain::ShowFileData()
{
    Prepare();
    if (!qm54::ShowFileData(this, doc_.Map(), doc_.Emem())) return;
    doc_.SetModified();
    // The grid shows the edited channels, so that the next command does not put the old ones back.
    doc_.ReplaceWorkingList();
    Refresh();
}

void TfrmMain::FileCompare()
{
    Prepare();
    const QString chosen = dialogs_.OpenDataFile(this, ToQString(settings_.CurrentFolder));
    if (chosen.isEmpty()) return;
    TCEmem other;
    TMap54 otherMap;
    bool saveAllowed = true;
    if (!LoadDataFile(ToStdString(chosen), other, otherMap, prompter_, saveAllowed)) return;
    TfrmCompare compare(DiffProgrammings(doc_.Emem(), doc_.Map(), other, otherMap), chosen, this);
    compare.exec();
}

}  // namespace qm54
