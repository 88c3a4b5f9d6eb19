// The main window's menu bar as one table of entries, walked once: each entry's caption, hint,
// shortcut, the operating modes it is shown in, its check mark and what it runs. The window keeps
// a pointer only to the entries it changes later (Save, Undo, Redo, the recent files, the column
// groups, the two check marks it restores).
#include "ui/main/main_window.h"

#include "model/settings/service_fields.h"
#include "model/storage/recent_files.h"
#include "ui/common/qt_text.h"
#include "ui/main/channel_grid.h"

#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>

#include <vector>

namespace qm54 {

namespace {

enum class Row {
    Menu,       // a menu of the menu bar; the entries after it belong to it
    Submenu,    // a submenu of the menu being filled, filled until its End
    End,        // the end of the innermost submenu
    Separator,
    Command,
    Family,     // Count commands alike, told apart by their index
};

enum class Shown { Always, InServiceModes, InManufactureMode, Never };

struct MenuEntry {
    Row Kind = Row::Command;
    const char* Name = "";     // the action's object name; in a family "%1" is the entry's number
    const char* Caption = "";  // with its "&" accelerator
    const char* Hint = "";     // the status-bar hint; empty: the window's own
    int Key = 0;               // the shortcut, 0 for none
    Shown Mode = Shown::Always;
    bool Checkable = false;    // a check mark, set at the start
    bool Enabled = true;
    void (*Run)(TfrmMain&) = nullptr;               // when chosen
    void (*Toggle)(TfrmMain&, bool on) = nullptr;   // when its check mark changes, also by the window
    QAction* TfrmMain::*Keep = nullptr;              // where the window keeps the entry
    // A family: Count entries numbered from FirstNumber in their names.
    int Count = 0;
    int FirstNumber = 1;
    QString (*CaptionAt)(int index) = nullptr;
    void (*RunAt)(TfrmMain&, int index, bool checked) = nullptr;
    void (*KeepAt)(TfrmMain&, int index, QAction* action) = nullptr;
};

constexpr int Ctrl(Qt::Key key) { return QKeyCombination(Qt::CTRL, key).toCombined(); }

bool ShownIn(Shown rule, OperatingMode mode)
{
    switch (rule) {
    case Shown::Always: return true;
    case Shown::InServiceModes: return mode != OperatingMode::Normal;
    case Shown::InManufactureMode: return mode == OperatingMode::Manufacture;
    case Shown::Never: return false;
    }
    return false;
}

// The keys of the main window that no menu entry carries.
struct WindowKey {
    int Key;
    void (*Run)(TfrmMain&);
};

}  // namespace

void TfrmMain::BuildMenus()
{
    using W = TfrmMain;
    static const MenuEntry entries[] = {
        {.Kind = Row::Menu, .Caption = "&File", .Hint = " "},
        {.Name = "miNew", .Caption = "&New", .Hint = "Create a new document", .Key = Ctrl(Qt::Key_N),
         .Run = [](W& w) { w.FileNew(); }},
        {.Name = "miOpen", .Caption = "&Open", .Hint = "Open an existing document", .Key = Ctrl(Qt::Key_O),
         .Run = [](W& w) { w.FileOpen(); }},
        {.Name = "miSave", .Caption = "&Save", .Hint = "Save the active document", .Key = Ctrl(Qt::Key_S),
         .Run =
             [](W& w) {
                 w.doc_.AllowSave();
                 w.Prepare();
                 w.FileSave();
             },
         .Keep = &W::miSave_},
        {.Name = "miSaveAs", .Caption = "Save &As", .Hint = "Save the active document with a new name",
         .Run = [](W& w) { w.FileSaveAs(); }},
        {.Kind = Row::Separator},
        {.Name = "miExportChannels", .Caption = "&Export Channels...", .Hint = "Write the channels to a CSV file",
         .Run = [](W& w) { w.FileExportChannels(); }},
        {.Name = "miImportChannels", .Caption = "&Import Channels...",
         .Hint = "Read channels from a CSV file into the active document", .Run = [](W& w) { w.FileImportChannels(); }},
        {.Name = "miCompare", .Caption = "Co&mpare with...",
         .Hint = "List how the open data differ from a data file or a backup", .Run = [](W& w) { w.FileCompare(); }},
        {.Kind = Row::Separator},
        {.Name = "miPrint", .Caption = "&Print", .Hint = "Print the active document", .Key = Ctrl(Qt::Key_P),
         .Run = [](W& w) { w.FilePrint(); }},
        {.Name = "miPrintPreview", .Caption = "Print Pre&view", .Hint = "Display full pages",
         .Run = [](W& w) { w.FilePrintPreview(); }},
        {.Name = "miPrintSetup", .Caption = "P&rint Setup", .Hint = "Change the printer and printing options",
         .Run = [](W& w) { w.FilePrintSetup(); }},
        {.Name = "miExportPdf", .Caption = "&Export PDF...", .Hint = "Save the printed report as a PDF file",
         .Run = [](W& w) { w.FileExportPdf(); }},
        {.Kind = Row::Separator},
        {.Name = "miConfigure", .Caption = "&Configure", .Hint = "Configure QM54",
         .Run = [](W& w) { w.FileConfigure(); }},
        {.Name = "miBackups", .Caption = "&Backups...", .Hint = "Open a backup of data read from or written to a radio",
         .Run = [](W& w) { w.FileBackups(); }},
        {.Kind = Row::Separator},
        {.Name = "miRecentFile", .Caption = "Recent File", .Hint = " ", .Enabled = false, .Keep = &W::miRecentFile_},
        {.Kind = Row::Family, .Name = "miRecent%1", .Hint = "Open this document", .Count = RecentFiles::ShownCount,
         .RunAt = [](W& w, int index, bool) { w.OpenRecent(index); },
         .KeepAt = [](W& w, int index, QAction* a) { w.miRecent_[static_cast<std::size_t>(index)] = a; }},
        {.Kind = Row::Separator},
        {.Name = "miExit", .Caption = "E&xit", .Hint = "Quit the application; prompts to save documents",
         .Run = [](W& w) { w.close(); }},

        {.Kind = Row::Menu, .Caption = "&Edit", .Hint = " "},
        {.Name = "miUndo", .Caption = "&Undo", .Hint = "Undo the last change", .Key = Ctrl(Qt::Key_Z),
         .Run = [](W& w) { w.EditUndo(); }, .Keep = &W::miUndo_},
        {.Name = "miRedo", .Caption = "&Redo", .Hint = "Redo the change undone last", .Key = Ctrl(Qt::Key_Y),
         .Run = [](W& w) { w.EditRedo(); }, .Keep = &W::miRedo_},
        {.Kind = Row::Separator},
        {.Name = "miCopy", .Caption = "&Copy", .Hint = "Copy the selection and put it on the Clipboard",
         .Key = Ctrl(Qt::Key_C), .Run = [](W& w) { w.EditCopy(); }},
        {.Name = "miPaste", .Caption = "&Paste", .Hint = "Insert Clipboard contents", .Key = Ctrl(Qt::Key_V),
         .Run = [](W& w) { w.EditPaste(); }},

        {.Kind = Row::Menu, .Caption = "&View", .Hint = " "},
        // The toolbar follows its check mark through the toolbar's own connection (BuildToolbar).
        {.Name = "miToolbar", .Caption = "&Toolbar", .Hint = "Show or hide the toolbar", .Checkable = true,
         .Keep = &W::miToolbar_},
        {.Name = "miStatusBar", .Caption = "&Status Bar", .Hint = "Show or hide the status bar", .Checkable = true,
         .Toggle = [](W& w, bool on) { w.statusBar()->setVisible(on); }},
        {.Kind = Row::Separator},
        {.Kind = Row::Submenu, .Caption = "&Items", .Hint = " "},
        {.Name = "miVisible", .Caption = "&Visible", .Hint = " ", .Run = [](W& w) { w.ViewVisible(); }},
        {.Kind = Row::Separator},
        {.Kind = Row::Family, .Name = "miItem%1", .Hint = " ", .Checkable = true, .Count = ColumnGroupCount,
         .CaptionAt = [](int index) { return QString::fromUtf8(ColumnGroupAt(index).ItemName); },
         .RunAt =
             [](W& w, int index, bool on) {
                 w.Prepare();
                 w.grdCh_->SetColumnGroupVisible(index, on);
                 w.settings_.ItemVisible[index] = on;
             },
         .KeepAt = [](W& w, int index, QAction* a) { w.miItem_[static_cast<std::size_t>(index)] = a; }},
        {.Kind = Row::End},

        {.Kind = Row::Menu, .Caption = "&Common", .Hint = " "},
        {.Name = "miHardware", .Caption = "&Hardware", .Run = [](W& w) { w.OpenCommonDialog(DialogId::Hardware); }},
        {.Name = "miRadioStatus", .Caption = "&Radio status",
         .Run = [](W& w) { w.OpenCommonDialog(DialogId::RadioStatus); }},
        {.Name = "miTimer", .Caption = "&Timer", .Run = [](W& w) { w.OpenCommonDialog(DialogId::Timer); }},
        {.Name = "miCwId", .Caption = "&CW ID", .Run = [](W& w) { w.OpenCommonDialog(DialogId::CwId); }},
        {.Name = "miMarketing", .Caption = "&Marketing", .Run = [](W& w) { w.OpenCommonDialog(DialogId::Market); }},
        {.Name = "miRxAdjust", .Caption = "Rx &Adjustment", .Mode = Shown::InServiceModes,
         .Run = [](W& w) { w.OpenServiceDialog(ServiceDialogId::RxAdjust); }},
        {.Name = "miTxAdjust", .Caption = "T&x Adjustment", .Mode = Shown::InServiceModes,
         .Run = [](W& w) { w.OpenServiceDialog(ServiceDialogId::TxAdjust); }},
        {.Kind = Row::Submenu, .Name = "miAlignment", .Caption = "A&lignment", .Mode = Shown::InManufactureMode},
        {.Kind = Row::Family, .Name = "miAlign%1", .Count = AlignmentPointCount, .FirstNumber = 0,
         .CaptionAt = [](int index) { return ToQString(PointNames[static_cast<std::size_t>(index)]); },
         .RunAt = [](W& w, int index, bool) { w.OpenAlignment(index); }},
        {.Kind = Row::End},
        {.Name = "miTxPower", .Caption = "Tx &Power Adjust", .Mode = Shown::InServiceModes,
         .Run = [](W& w) { w.OpenServiceDialog(ServiceDialogId::TxPower); }},
        {.Name = "miAlphaTag", .Caption = "Alpha Ta&g", .Run = [](W& w) { w.CommonAlphaTag(); }},

        {.Kind = Row::Menu, .Caption = "&Signalling", .Hint = " "},
        {.Name = "miSignalType", .Caption = "&Signalling Type",
         .Run = [](W& w) { w.OpenCommonDialog(DialogId::Signalling); }},
        {.Name = "miAni", .Caption = "&ANI Setting", .Run = [](W& w) { w.OpenCommonDialog(DialogId::Ani); }},
        {.Name = "miEni", .Caption = "&ENI Setting", .Run = [](W& w) { w.OpenCommonDialog(DialogId::Eni); }},
        {.Name = "miToneTable", .Caption = "5&Tone Table",
         .Run = [](W& w) { w.OpenCommonDialog(DialogId::ToneTable); }},

        {.Kind = Row::Menu, .Caption = "&Radio", .Hint = " "},
        {.Name = "miUpload", .Caption = "&Upload", .Hint = "Read data from radio",
         .Run = [](W& w) { w.RadioUpload(); }},
        {.Name = "miDownload", .Caption = "&Download", .Hint = "Program radio with data",
         .Run = [](W& w) { w.RadioDownload(); }},
        {.Kind = Row::Separator},
        {.Name = "miVerify", .Caption = "&Verify after Download",
         .Hint = "Read the radio back after a download and compare", .Checkable = true,
         .Toggle = [](W& w, bool on) { w.settings_.VerifyAfterDownload = on; }, .Keep = &W::miVerify_},

        {.Kind = Row::Menu, .Caption = "&Help", .Hint = " "},
        {.Name = "miHelpTopics", .Caption = "&Help Topics", .Hint = "List Help topics",
         .Run = [](W& w) { w.ShowHelp(HelpPage::Topic); }},
        {.Kind = Row::Separator},
        {.Name = "miGetStarted", .Caption = "&Get Started", .Hint = "Overview features and options on QM54",
         .Run = [](W& w) { w.ShowHelp(HelpPage::Contents); }},
        {.Name = "miCommonProblems", .Caption = "Common Problems",
         .Hint = "Most common problems in programming KTD-4150 Series radio", .Mode = Shown::Never,
         .Run = [](W& w) { w.ShowHelp(HelpPage::Index); }},
        {.Name = "miLastTrace", .Caption = "Last Serial &Trace",
         .Hint = "Show the bytes of the last exchange with the radio", .Run = [](W& w) { w.HelpLastTrace(); }},
        {.Name = "miAbout", .Caption = "&About QM54...", .Hint = "Information on QM54",
         .Run = [](W& w) { w.HelpAbout(); }},
    };

    // One action of an entry (index: its place in a family).
    const auto newAction = [this](const MenuEntry& entry, int index) {
        const bool family = entry.Kind == Row::Family;
        const QString caption = entry.CaptionAt ? entry.CaptionAt(index) : QString::fromUtf8(entry.Caption);
        auto* action = new QAction(caption, this);
        action->setObjectName(family ? QString::fromUtf8(entry.Name).arg(index + entry.FirstNumber)
                                     : QString::fromUtf8(entry.Name));
        action->setStatusTip(QString::fromUtf8(entry.Hint));
        if (entry.Key != 0) action->setShortcut(QKeySequence(entry.Key));
        action->setVisible(ShownIn(entry.Mode, mode_));
        action->setEnabled(entry.Enabled);
        if (entry.Checkable) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (const auto run = entry.Run) connect(action, &QAction::triggered, this, [this, run] { run(*this); });
        if (const auto toggle = entry.Toggle)
            connect(action, &QAction::toggled, this, [this, toggle](bool on) { toggle(*this, on); });
        if (const auto run = entry.RunAt)
            connect(action, &QAction::triggered, this, [this, run, index](bool on) { run(*this, index, on); });
        if (entry.Keep) this->*entry.Keep = action;
        if (entry.KeepAt) entry.KeepAt(*this, index, action);
        return action;
    };

    std::vector<QMenu*> open;  // the menu being filled, then the submenus it is in
    for (const MenuEntry& entry : entries) {
        switch (entry.Kind) {
        case Row::Menu:
            open.assign(1, menuBar()->addMenu(QString::fromUtf8(entry.Caption)));
            open.back()->menuAction()->setStatusTip(QString::fromUtf8(entry.Hint));
            break;
        case Row::Submenu: {
            QMenu* menu = open.back()->addMenu(QString::fromUtf8(entry.Caption));
            QAction* action = menu->menuAction();
            if (*entry.Name != '\0') action->setObjectName(QString::fromUtf8(entry.Name));
            if (*entry.Hint != '\0') action->setStatusTip(QString::fromUtf8(entry.Hint));
            action->setVisible(ShownIn(entry.Mode, mode_));
            open.push_back(menu);
            break;
        }
        case Row::End: open.pop_back(); break;
        case Row::Separator: open.back()->addSeparator(); break;
        case Row::Command: open.back()->addAction(newAction(entry, 0)); break;
        case Row::Family:
            for (int i = 0; i < entry.Count; ++i) open.back()->addAction(newAction(entry, i));
            break;
        }
    }

    static const WindowKey keys[] = {
        {Qt::Key_F1, [](W& w) { w.ShowHelp(HelpPage::Topic); }},
        {Qt::Key_F2, [](W& w) { w.grdCh_->ParseInto(w.doc_.Working()); }},
        {QKeyCombination(Qt::SHIFT, Qt::Key_F9).toCombined(), [](W& w) { w.ShowFileData(); }},
        {Qt::Key_F10,
         [](W& w) {
             if (!w.menuBar()->actions().isEmpty()) w.menuBar()->setActiveAction(w.menuBar()->actions().first());
         }},
    };
    for (const WindowKey& key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key.Key), this);
        const auto run = key.Run;
        connect(shortcut, &QShortcut::activated, this, [this, run] { run(*this); });
    }
}

}  // namespace qm54
