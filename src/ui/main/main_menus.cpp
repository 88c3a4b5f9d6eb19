// The main window's parts: its actions, menus, toolbar, system panel and status bar, and the
// entries that follow the operating mode and the recent files.
#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include "model/storage/recent_files.h"
#include "model/settings/service_fields.h"
#include "ui/main/channel_grid.h"
#include "ui/main/lock_keys.h"
#include "ui/main/main_window_support.h"
#include "ui/main/shown_size_icon.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>

namespace qm54 {

QAction* TfrmMain::NewAction(const QString& name, const QString& text, const QString& hint,
                             const QKeySequence& key)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setStatusTip(hint);
    if (!key.isEmpty()) action->setShortcut(key);
    return action;
}

void TfrmMain::BuildActions()
{
    miNew_ = NewAction("miNew", "&New", "Create a new document", QKeySequence(Qt::CTRL | Qt::Key_N));
    miNew_->setIcon(StandardIconAtShownSize(QStyle::SP_FileIcon));
    miOpen_ = NewAction("miOpen", "&Open", "Open an existing document", QKeySequence(Qt::CTRL | Qt::Key_O));
    miOpen_->setIcon(StandardIconAtShownSize(QStyle::SP_DialogOpenButton));
    miSave_ = NewAction("miSave", "&Save", "Save the active document", QKeySequence(Qt::CTRL | Qt::Key_S));
    miSave_->setIcon(StandardIconAtShownSize(QStyle::SP_DialogSaveButton));
    miSaveAs_ = NewAction("miSaveAs", "Save &As", "Save the active document with a new name");
    miCompare_ = NewAction("miCompare", "Co&mpare with...", "List how the open data differ from a data file or a backup");
    miExportChannels_ = NewAction("miExportChannels", "&Export Channels...", "Write the channels to a CSV file");
    miImportChannels_ = NewAction("miImportChannels", "&Import Channels...",
                                  "Read channels from a CSV file into the active document");
    miPrint_ = NewAction("miPrint", "&Print", "Print the active document", QKeySequence(Qt::CTRL | Qt::Key_P));
    miPrintPreview_ = NewAction("miPrintPreview", "Print Pre&view", "Display full pages");
    miPrintSetup_ = NewAction("miPrintSetup", "P&rint Setup", "Change the printer and printing options");
    miExportPdf_ = NewAction("miExportPdf", "&Export PDF...", "Save the printed report as a PDF file");
    const QString printIcon = QStringLiteral("document-print");
    miPrint_->setIcon(QIcon::hasThemeIcon(printIcon) ? QIcon::fromTheme(printIcon)
                                                     : StandardIconAtShownSize(QStyle::SP_FileDialogDetailedView));
    miConfigure_ = NewAction("miConfigure", "&Configure", "Configure QM54");
    miRecentFile_ = NewAction("miRecentFile", "Recent File", " ");
    miRecentFile_->setEnabled(false);
    for (size_t i = 0; i < miRecent_.size(); ++i) {
        miRecent_[i] = NewAction(QStringLiteral("miRecent%1").arg(i + 1), QString(), "Open this document");
        connect(miRecent_[i], &QAction::triggered, this, [this, i] { OpenRecent(static_cast<int>(i)); });
    }
    miExit_ = NewAction("miExit", "E&xit", "Quit the application; prompts to save documents");
    miUndo_ = NewAction("miUndo", "&Undo", "Undo the last change", QKeySequence(Qt::CTRL | Qt::Key_Z));
    miRedo_ = NewAction("miRedo", "&Redo", "Redo the change undone last", QKeySequence(Qt::CTRL | Qt::Key_Y));
    miCopy_ = NewAction("miCopy", "&Copy", "Copy the selection and put it on the Clipboard",
                        QKeySequence(Qt::CTRL | Qt::Key_C));
    miCopy_->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    miPaste_ = NewAction("miPaste", "&Paste", "Insert Clipboard contents", QKeySequence(Qt::CTRL | Qt::Key_V));
    miPaste_->setIcon(QIcon::fromTheme(QStringLiteral("edit-paste")));
    miToolbar_ = NewAction("miToolbar", "&Toolbar", "Show or hide the toolbar");
    miStatusBar_ = NewAction("miStatusBar", "&Status Bar", "Show or hide the status bar");
    for (QAction* a : {miToolbar_, miStatusBar_}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    miVisible_ = NewAction("miVisible", "&Visible", " ");
    for (int i = 0; i < ColumnGroupCount; ++i) {
        miItem_[i] = NewAction(QStringLiteral("miItem%1").arg(i + 1), ColumnGroupAt(i).ItemName, " ");
        miItem_[i]->setCheckable(true);
        miItem_[i]->setChecked(true);
        connect(miItem_[i], &QAction::triggered, this, [this, i](bool on) {
            Prepare();
            grdCh_->SetColumnGroupVisible(i, on);
            settings_.ItemVisible[i] = on;
        });
    }
    miUpload_ = NewAction("miUpload", "&Upload", "Read data from radio");
    miUpload_->setIcon(StandardIconAtShownSize(QStyle::SP_ArrowUp));
    miDownload_ = NewAction("miDownload", "&Download", "Program radio with data");
    miDownload_->setIcon(StandardIconAtShownSize(QStyle::SP_ArrowDown));
    miVerify_ = NewAction("miVerify", "&Verify after Download", "Read the radio back after a download and compare");
    miVerify_->setCheckable(true);
    miVerify_->setChecked(true);
    miBackups_ = NewAction("miBackups", "&Backups...", "Open a backup of data read from or written to a radio");
    miLastTrace_ = NewAction("miLastTrace", "Last Serial &Trace", "Show the bytes of the last exchange with the radio");
    miHelpTopics_ = NewAction("miHelpTopics", "&Help Topics", "List Help topics");
    miHelpTopics_->setIcon(StandardIconAtShownSize(QStyle::SP_MessageBoxQuestion));
    miGetStarted_ = NewAction("miGetStarted", "&Get Started", "Overview features and options on QM54");
    miCommonProblems_ = NewAction("miCommonProblems", "Common Problems",
                                  "Most common problems in programming KTD-4150 Series radio");
    miCommonProblems_->setVisible(false);
    miAbout_ = NewAction("miAbout", "&About QM54...", "Information on QM54");

    connect(miNew_, &QAction::triggered, this, &TfrmMain::FileNew);
    connect(miOpen_, &QAction::triggered, this, &TfrmMain::FileOpen);
    connect(miSave_, &QAction::triggered, this, [this] {
        doc_.AllowSave();
        Prepare();
        FileSave();
    });
    connect(miSaveAs_, &QAction::triggered, this, &TfrmMain::FileSaveAs);
    connect(miExportChannels_, &QAction::triggered, this, &TfrmMain::FileExportChannels);
    connect(miCompare_, &QAction::triggered, this, &TfrmMain::FileCompare);
    connect(miImportChannels_, &QAction::triggered, this, &TfrmMain::FileImportChannels);
    connect(miExit_, &QAction::triggered, this, &QWidget::close);
    connect(miUndo_, &QAction::triggered, this, &TfrmMain::EditUndo);
    connect(miRedo_, &QAction::triggered, this, &TfrmMain::EditRedo);
    connect(miCopy_, &QAction::triggered, this, &TfrmMain::EditCopy);
    connect(miPaste_, &QAction::triggered, this, &TfrmMain::EditPaste);
    connect(miUpload_, &QAction::triggered, this, &TfrmMain::RadioUpload);
    connect(miDownload_, &QAction::triggered, this, &TfrmMain::RadioDownload);
    connect(miHelpTopics_, &QAction::triggered, this, [this] { ShowHelp(HelpPage::Topic); });
    connect(miGetStarted_, &QAction::triggered, this, [this] { ShowHelp(HelpPage::Contents); });
    connect(miCommonProblems_, &QAction::triggered, this, [this] { ShowHelp(HelpPage::Index); });
    connect(miStatusBar_, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    connect(miConfigure_, &QAction::triggered, this, &TfrmMain::FileConfigure);
    connect(miVisible_, &QAction::triggered, this, &TfrmMain::ViewVisible);
    connect(miAbout_, &QAction::triggered, this, &TfrmMain::HelpAbout);
    connect(miVerify_, &QAction::toggled, this, [this](bool on) { settings_.VerifyAfterDownload = on; });
    connect(miBackups_, &QAction::triggered, this, &TfrmMain::FileBackups);
    connect(miLastTrace_, &QAction::triggered, this, &TfrmMain::HelpLastTrace);

    connect(miPrint_, &QAction::triggered, this, &TfrmMain::FilePrint);
    connect(miPrintPreview_, &QAction::triggered, this, &TfrmMain::FilePrintPreview);
    connect(miPrintSetup_, &QAction::triggered, this, &TfrmMain::FilePrintSetup);
    connect(miExportPdf_, &QAction::triggered, this, &TfrmMain::FileExportPdf);

    // Keys of the main window.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { ShowHelp(HelpPage::Topic); });
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] { grdCh_->ParseInto(doc_.Working()); });
    auto* shiftF9 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9), this);
    connect(shiftF9, &QShortcut::activated, this, &TfrmMain::ShowFileData);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
    });
}

void TfrmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    auto addMenu = [bar](const QString& title) {
        QMenu* menu = bar->addMenu(title);
        menu->menuAction()->setStatusTip(QStringLiteral(" "));
        return menu;
    };
    QMenu* file = addMenu("&File");
    file->addActions({miNew_, miOpen_, miSave_, miSaveAs_});
    file->addSeparator();
    file->addActions({miExportChannels_, miImportChannels_, miCompare_});
    file->addSeparator();
    file->addActions({miPrint_, miPrintPreview_, miPrintSetup_, miExportPdf_});
    file->addSeparator();
    file->addAction(miConfigure_);
    file->addAction(miBackups_);
    file->addSeparator();
    file->addAction(miRecentFile_);
    for (QAction* a : miRecent_) file->addAction(a);
    file->addSeparator();
    file->addAction(miExit_);

    QMenu* edit = addMenu("&Edit");
    edit->addActions({miUndo_, miRedo_});
    edit->addSeparator();
    edit->addActions({miCopy_, miPaste_});

    QMenu* view = addMenu("&View");
    view->addActions({miToolbar_, miStatusBar_});
    view->addSeparator();
    QMenu* items = view->addMenu("&Items");
    items->menuAction()->setStatusTip(QStringLiteral(" "));
    items->addAction(miVisible_);
    items->addSeparator();
    for (QAction* a : miItem_) items->addAction(a);

    // The service entries follow the operating mode; the dialogs not built yet stay disabled.
    struct DialogEntry {
        const char* text;
        const char* name;
        DialogId dialog;
    };
    const auto addDialogEntries = [this](QMenu* menu, std::initializer_list<DialogEntry> entries) {
        for (const DialogEntry& entry : entries) {
            QAction* action = menu->addAction(entry.text);
            action->setObjectName(entry.name);
            const DialogId dialog = entry.dialog;
            connect(action, &QAction::triggered, this, [this, dialog] { OpenCommonDialog(dialog); });
        }
    };
    mnuCommon_ = addMenu("&Common");
    addDialogEntries(mnuCommon_, {
                                     {"&Hardware", "miHardware", DialogId::Hardware},
                                     {"&Radio status", "miRadioStatus", DialogId::RadioStatus},
                                     {"&Timer", "miTimer", DialogId::Timer},
                                     {"&CW ID", "miCwId", DialogId::CwId},
                                     {"&Marketing", "miMarketing", DialogId::Market},
                                 });
    miRxAdjust_ = mnuCommon_->addAction("Rx &Adjustment");
    miTxAdjust_ = mnuCommon_->addAction("T&x Adjustment");
    QMenu* alignment = mnuCommon_->addMenu("A&lignment");
    for (int point = 0; point < AlignmentPointCount; ++point) {
        QAction* action = alignment->addAction(ToQString(PointNames[size_t(point)]));
        action->setObjectName(QStringLiteral("miAlign%1").arg(point));
        connect(action, &QAction::triggered, this, [this, point] { OpenAlignment(point); });
    }
    miAlignment_ = alignment->menuAction();
    miTxPower_ = mnuCommon_->addAction("Tx &Power Adjust");
    QAction* alphaTag = mnuCommon_->addAction("Alpha Ta&g");
    alphaTag->setObjectName(QStringLiteral("miAlphaTag"));
    connect(alphaTag, &QAction::triggered, this, &TfrmMain::CommonAlphaTag);
    miRxAdjust_->setObjectName(QStringLiteral("miRxAdjust"));
    miTxAdjust_->setObjectName(QStringLiteral("miTxAdjust"));
    miAlignment_->setObjectName(QStringLiteral("miAlignment"));
    miTxPower_->setObjectName(QStringLiteral("miTxPower"));
    connect(miRxAdjust_, &QAction::triggered, this, [this] { OpenServiceDialog(ServiceDialogId::RxAdjust); });
    connect(miTxAdjust_, &QAction::triggered, this, [this] { OpenServiceDialog(ServiceDialogId::TxAdjust); });
    connect(miTxPower_, &QAction::triggered, this, [this] { OpenServiceDialog(ServiceDialogId::TxPower); });

    mnuSignalling_ = addMenu("&Signalling");
    addDialogEntries(mnuSignalling_, {
                                         {"&Signalling Type", "miSignalType", DialogId::Signalling},
                                         {"&ANI Setting", "miAni", DialogId::Ani},
                                         {"&ENI Setting", "miEni", DialogId::Eni},
                                         {"5&Tone Table", "miToneTable", DialogId::ToneTable},
                                     });

    QMenu* radio = addMenu("&Radio");
    radio->addActions({miUpload_, miDownload_});
    radio->addSeparator();
    radio->addAction(miVerify_);

    QMenu* help = addMenu("&Help");
    help->addAction(miHelpTopics_);
    help->addSeparator();
    help->addActions({miGetStarted_, miCommonProblems_, miLastTrace_, miAbout_});
}

void TfrmMain::ApplyModeToMenus()
{
    const bool service = mode_ != OperatingMode::Normal;
    for (QAction* a : {miRxAdjust_, miTxAdjust_, miTxPower_}) a->setVisible(service);
    miAlignment_->setVisible(mode_ == OperatingMode::Manufacture);
}

void TfrmMain::BuildToolbar()
{
    toolbar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolbar_->setObjectName(QStringLiteral("ToolBar1"));
    toolbar_->setMovable(true);
    toolbar_->setFloatable(true);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->addActions({miNew_, miOpen_});
    toolbar_->addSeparator();
    toolbar_->addAction(miSave_);
    toolbar_->addSeparator();
    toolbar_->addActions({miCopy_, miPaste_});
    toolbar_->addSeparator();
    toolbar_->addAction(miPrint_);
    toolbar_->addSeparator();
    toolbar_->addActions({miUpload_, miDownload_});
    toolbar_->addSeparator();
    toolbar_->addAction(miHelpTopics_);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    connect(miToolbar_, &QAction::toggled, toolbar_, &QToolBar::setVisible);
    connect(toolbar_, &QToolBar::visibilityChanged, this, [this](bool shown) {
        if (!isMinimized() && isVisible()) miToolbar_->setChecked(shown);
    });
}

QWidget* TfrmMain::BuildSystemPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlSystem"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 4, 4, 2);
    auto box = [this] {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        return edit;
    };
    auto third = [&](const char* top, QLineEdit*& topBox, const char* bottom, QLineEdit*& bottomBox) {
        auto* grid = new QGridLayout;
        topBox = box();
        bottomBox = box();
        grid->addWidget(new QLabel(top, panel), 0, 0);
        grid->addWidget(topBox, 0, 1);
        grid->addWidget(new QLabel(bottom, panel), 1, 0);
        grid->addWidget(bottomBox, 1, 1);
        grid->setColumnStretch(1, 1);
        row->addLayout(grid, 1);
    };
    third("Serial No", edtSerial_, "Band", edtBand_);
    third("Product Type", edtProduct_, "FW Version", edtFirmware_);
    third("COM Port", edtPort_, "Printer", edtPrinter_);
    edtPrinter_->setObjectName(QStringLiteral("edtPrinter"));
    return panel;
}

void TfrmMain::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    hintPanel_ = new QLabel(MainWindowDefaultHint, bar);
    bar->addWidget(hintPanel_, 1);
    auto fixed = [bar](int width) {
        auto* label = new QLabel(bar);
        label->setFixedWidth(width);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        bar->addPermanentWidget(label);
        return label;
    };
    capsPanel_ = fixed(30);
    numPanel_ = fixed(30);
    scrollPanel_ = fixed(35);
    timePanel_ = fixed(60);
    // What a block paste or fill-down did, shown over the hint panel for 10 s.
    connect(grdCh_, &ChannelGrid::reported, bar, [bar](const QString& text) { bar->showMessage(text, 10000); });
    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &TfrmMain::UpdateClock);
    clock_->start();
    UpdateClock();
}

void TfrmMain::UpdateClock()
{
    timePanel_->setText(QTime::currentTime().toString(QStringLiteral("HH:mm")));
    const auto locks = QueryLockKeys();
    capsPanel_->setText(locks && locks->Caps ? QStringLiteral("CAP") : QString());
    numPanel_->setText(locks && locks->Num ? QStringLiteral("NUM") : QString());
    scrollPanel_->setText(locks && locks->Scroll ? QStringLiteral("SCRL") : QString());
}

void TfrmMain::RebuildRecentMenu()
{
    const auto& paths = settings_.Recent.Paths();
    miRecentFile_->setVisible(paths.empty());
    const std::string cwd = ToStdString(QDir::currentPath());
    for (size_t i = 0; i < miRecent_.size(); ++i) {
        const bool shown = i < paths.size();
        QString caption;
        if (shown) {
            QString name = ToQString(RecentDisplayName(paths[i], cwd));
            caption = QStringLiteral("&%1 %2").arg(i + 1).arg(name.replace('&', QStringLiteral("&&")));
        }
        miRecent_[i]->setText(caption);
        miRecent_[i]->setVisible(shown);
    }
}

}  // namespace qm54
