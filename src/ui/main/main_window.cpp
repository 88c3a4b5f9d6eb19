#include "ui/main/main_window.h"

#include "link/clone.h"
#include "link/radio_port.h"
#include "model/convert.h"
#include "model/datafile.h"
#include "model/factory_code.h"
#include "model/ini.h"
#include "model/narrowband.h"
#include "model/tables.h"
#include "ui/main/channel_grid.h"
#include "ui/main/file_data_dialog.h"
#include "ui/main/help_viewer.h"
#include "ui/main/lock_keys.h"
#include "ui/main/password_dialog.h"
#include "ui/main/radio_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace qm54 {

namespace {

constexpr int kMinWidth = 835;
constexpr int kMinHeight = 540;
const char* const kDefaultHint = "F1 for Help   F10 for Menus";
const char* const kSavePrompt = "Do you want to save the file?";

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string S(const QString& text)
{
    return text.toStdString();
}

std::string FolderOf(const std::string& path)
{
    return S(QFileInfo(Q(path)).absolutePath()) + "/";
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A stored window place that would put the window outside every screen is not applied.
bool OnSomeScreen(const QRect& place)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(place)) return true;
    return QGuiApplication::screens().isEmpty();
}

}  // namespace

TfrmMain::TfrmMain(StartOptions options)
    : options_(std::move(options)), ownPrompter_(this),
      prompter_(options_.prompter ? *options_.prompter : static_cast<Prompter&>(ownPrompter_)),
      dialogs_(options_.fileDialogs ? *options_.fileDialogs : static_cast<FileDialogs&>(ownDialogs_))
{
    setObjectName(QStringLiteral("frmMain"));
    programFolder_ = options_.programFolder;
    if (programFolder_.empty() || programFolder_.back() != '/') programFolder_ += '/';

    const std::string namedFile = ExamineCommandLine();
    policy_ = NarrowbandPolicyForDate(options_.today.empty() ? TodayDateText() : options_.today);
    helpName_ = mode_ == OperatingMode::Normal ? QStringLiteral("QM54Win") : QStringLiteral("QM54Win2");

    BuildActions();
    BuildMenus();
    BuildToolbar();
    grdCh_ = new ChannelGrid(this);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(BuildSystemPanel());
    layout->addWidget(grdCh_, 1);
    setCentralWidget(central);
    BuildStatusBar();
    ApplyModeToMenus();
    connect(grdCh_, &ChannelGrid::pasted, this, [this] { modified_ = true; });
    SetHelpHandler([this](HelpPage page) { ShowHelp(page); });

    setMinimumSize(kMinWidth, kMinHeight);
    resize(980, 600);
    ReadSettings();

    map_.Reset();
    SetDefaults(emem_);
    LoadStartFile(namedFile);
    working_ = emem_.Channels;
    modified_ = false;
    Refresh();

    qApp->installEventFilter(this);
    // Asking the print system for its default printer takes a while: done once the window shows.
    QTimer::singleShot(0, this, [this] {
        printerName_ = QPrinterInfo::defaultPrinterName();
        edtPrinter_->setText(printerName_);
    });
}

TfrmMain::~TfrmMain()
{
    SetHelpHandler({});
    qApp->removeEventFilter(this);
}

// --- start-up -------------------------------------------------------------------------------

std::string TfrmMain::ExamineCommandLine()
{
    mode_ = OperatingMode::Normal;
    const FirstArgument first = ParseFirstArgument(options_.arguments.isEmpty() ? std::string()
                                                                               : S(options_.arguments.first()));
    if (first.dealer) mode_ = OperatingMode::Dealer;
    if (!first.manufacture) return first.dataFile;
    std::optional<QString> typed;
    if (options_.askPassword) {
        typed = options_.askPassword(this);
    } else {
        TfrmPass dialog;
        if (dialog.exec() == QDialog::Accepted) typed = dialog.Text();
    }
    if (typed && FactoryCodeMatches(S(*typed))) mode_ = OperatingMode::Manufacture;
    return first.dataFile;
}

void TfrmMain::LoadStartFile(const std::string& namedFile)
{
    const std::string defaultFile = S(DefaultDataFile());
    currentFile_ = namedFile.empty() ? defaultFile : namedFile;
    if (IsRegularFile(currentFile_)) {
        saveAllowed_ = true;
        if (LoadDataFile(currentFile_, emem_, map_, prompter_, saveAllowed_)) return;
    } else if (namedFile.empty()) {
        // First start: the default data file is created with the built-in defaults, read-only.
        // An existing default file that does not load is left as it is.
        if (SaveDataFile(defaultFile, emem_, map_, prompter_)) chmod(defaultFile.c_str(), 0444);
    }
    currentFile_ = kNoFile;
}

void TfrmMain::ReadSettings()
{
    TIniData ini(programFolder_ + "QM54Win.ini");
    ini.Load();
    settings_ = ReadAppSettings(ini, programFolder_);
    const WindowPlace& p = settings_.place;
    QRect place = geometry();
    if (p.left >= 0) place.moveLeft(p.left);
    if (p.top >= 0) place.moveTop(p.top);
    if (p.width >= 0) place.setWidth(std::max(p.width, kMinWidth));
    if (p.height >= 0) place.setHeight(std::max(p.height, kMinHeight));
    if (OnSomeScreen(place)) setGeometry(place);
    if (settings_.startMaximised) setWindowState(windowState() | Qt::WindowMaximized);
    options_.timing.settleMs = settings_.portSettleWait;
    for (int i = 0; i < kItemCount; ++i) {
        miItem_[i]->setChecked(settings_.itemVisible[i]);
        grdCh_->SetColumnGroupVisible(i, settings_.itemVisible[i]);
    }
    RebuildRecentMenu();
}

void TfrmMain::WriteSettings()
{
    TIniData ini(programFolder_ + "QM54Win.ini");
    ini.Load();
    for (int i = 0; i < kItemCount; ++i) settings_.itemVisible[i] = miItem_[i]->isChecked();
    std::optional<WindowPlace> place;
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        const QRect g = geometry();
        place = WindowPlace{g.left(), g.top(), g.width(), g.height()};
    }
    WriteAppSettings(ini, settings_, place);
    ini.Save();
}

QString TfrmMain::DefaultDataFile() const
{
    return Q(programFolder_) + QStringLiteral("defaultv.Q54");
}

QString TfrmMain::PortDevice() const
{
    if (!options_.portDevice.isEmpty()) return options_.portDevice;
    // Until a port is chosen, the first USB serial cable.
    return settings_.portDevice.empty() ? QStringLiteral("/dev/ttyUSB0") : Q(settings_.portDevice);
}

// --- window parts ---------------------------------------------------------------------------

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
    QStyle* style = QApplication::style();
    miNew_ = NewAction("miNew", "&New", "Create a new document", QKeySequence(Qt::CTRL | Qt::Key_N));
    miNew_->setIcon(style->standardIcon(QStyle::SP_FileIcon));
    miOpen_ = NewAction("miOpen", "&Open", "Open an existing document", QKeySequence(Qt::CTRL | Qt::Key_O));
    miOpen_->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    miSave_ = NewAction("miSave", "&Save", "Save the active document", QKeySequence(Qt::CTRL | Qt::Key_S));
    miSave_->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    miSaveAs_ = NewAction("miSaveAs", "Save &As", "Save the active document with a new name");
    miPrint_ = NewAction("miPrint", "&Print", "Print the active document", QKeySequence(Qt::CTRL | Qt::Key_P));
    miPrintPreview_ = NewAction("miPrintPreview", "Print Pre&view", "Display full pages");
    miPrintSetup_ = NewAction("miPrintSetup", "P&rint Setup", "Change the printer and printing options");
    miConfigure_ = NewAction("miConfigure", "&Configure", "Configure QM54");
    miRecentFile_ = NewAction("miRecentFile", "Recent File", " ");
    miRecentFile_->setEnabled(false);
    for (size_t i = 0; i < miRecent_.size(); ++i) {
        miRecent_[i] = NewAction(QStringLiteral("miRecent%1").arg(i + 1), QString(), "Open this document");
        connect(miRecent_[i], &QAction::triggered, this, [this, i] { OpenRecent(static_cast<int>(i)); });
    }
    miExit_ = NewAction("miExit", "E&xit", "Quit the application; prompts to save documents");
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
    for (int i = 0; i < kItemCount; ++i) {
        miItem_[i] = NewAction(QStringLiteral("miItem%1").arg(i + 1), ColumnGroupAt(i).ItemName, " ");
        miItem_[i]->setCheckable(true);
        miItem_[i]->setChecked(true);
        connect(miItem_[i], &QAction::triggered, this, [this, i](bool on) {
            Prepare();
            grdCh_->SetColumnGroupVisible(i, on);
            settings_.itemVisible[i] = on;
        });
    }
    miUpload_ = NewAction("miUpload", "&Upload", "Read data from radio");
    miUpload_->setIcon(style->standardIcon(QStyle::SP_ArrowUp));
    miDownload_ = NewAction("miDownload", "&Download", "Program radio with data");
    miDownload_->setIcon(style->standardIcon(QStyle::SP_ArrowDown));
    miHelpTopics_ = NewAction("miHelpTopics", "&Help Topics", "List Help topics");
    miHelpTopics_->setIcon(style->standardIcon(QStyle::SP_MessageBoxQuestion));
    miGetStarted_ = NewAction("miGetStarted", "&Get Started", "Overview features and options on QM54");
    miCommonProblems_ = NewAction("miCommonProblems", "Common Problems",
                                  "Most common problems in programming KTD-4150 Series radio");
    miCommonProblems_->setVisible(false);
    miAbout_ = NewAction("miAbout", "&About QM54...", "Information on QM54");

    connect(miNew_, &QAction::triggered, this, &TfrmMain::FileNew);
    connect(miOpen_, &QAction::triggered, this, &TfrmMain::FileOpen);
    connect(miSave_, &QAction::triggered, this, [this] {
        saveAllowed_ = true;
        Prepare();
        FileSave();
    });
    connect(miSaveAs_, &QAction::triggered, this, &TfrmMain::FileSaveAs);
    connect(miExit_, &QAction::triggered, this, &QWidget::close);
    connect(miCopy_, &QAction::triggered, this, &TfrmMain::EditCopy);
    connect(miPaste_, &QAction::triggered, this, &TfrmMain::EditPaste);
    connect(miUpload_, &QAction::triggered, this, &TfrmMain::RadioUpload);
    connect(miDownload_, &QAction::triggered, this, &TfrmMain::RadioDownload);
    connect(miHelpTopics_, &QAction::triggered, this, [this] { ShowHelp(HelpPage::Topic); });
    connect(miGetStarted_, &QAction::triggered, this, [this] { ShowHelp(HelpPage::Contents); });
    connect(miCommonProblems_, &QAction::triggered, this, [this] { ShowHelp(HelpPage::Index); });
    connect(miStatusBar_, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    // The dialogs these entries open are not part of the program yet: the entries stay disabled.
    for (QAction* a : {miPrint_, miPrintPreview_, miPrintSetup_, miConfigure_, miVisible_, miAbout_})
        a->setEnabled(false);

    // Keys of the main window.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { ShowHelp(HelpPage::Topic); });
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] { grdCh_->ParseInto(working_); });
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
    file->addActions({miPrint_, miPrintPreview_, miPrintSetup_});
    file->addSeparator();
    file->addAction(miConfigure_);
    file->addSeparator();
    file->addAction(miRecentFile_);
    for (QAction* a : miRecent_) file->addAction(a);
    file->addSeparator();
    file->addAction(miExit_);

    QMenu* edit = addMenu("&Edit");
    edit->addActions({miCopy_, miPaste_});

    QMenu* view = addMenu("&View");
    view->addActions({miToolbar_, miStatusBar_});
    view->addSeparator();
    QMenu* items = view->addMenu("&Items");
    items->menuAction()->setStatusTip(QStringLiteral(" "));
    items->addAction(miVisible_);
    items->addSeparator();
    for (QAction* a : miItem_) items->addAction(a);

    // The settings dialogs of these menus are not part of the program yet: every entry is shown
    // disabled, and the service entries follow the operating mode.
    mnuCommon_ = addMenu("&Common");
    for (const char* text : {"&Hardware", "&Radio status", "&Timer", "&CW ID", "&Marketing"})
        mnuCommon_->addAction(text)->setEnabled(false);
    miRxAdjust_ = mnuCommon_->addAction("Rx &Adjustment");
    miTxAdjust_ = mnuCommon_->addAction("T&x Adjustment");
    QMenu* alignment = mnuCommon_->addMenu("A&lignment");
    for (const char* text : {"Lowest", "Low", "High", "Highest"}) alignment->addAction(text)->setEnabled(false);
    miAlignment_ = alignment->menuAction();
    miTxPower_ = mnuCommon_->addAction("Tx &Power Adjust");
    mnuCommon_->addAction("Alpha Ta&g")->setEnabled(false);
    miRxAdjust_->setObjectName(QStringLiteral("miRxAdjust"));
    miTxAdjust_->setObjectName(QStringLiteral("miTxAdjust"));
    miAlignment_->setObjectName(QStringLiteral("miAlignment"));
    miTxPower_->setObjectName(QStringLiteral("miTxPower"));
    for (QAction* a : {miRxAdjust_, miTxAdjust_, miAlignment_, miTxPower_}) a->setEnabled(false);

    mnuSignalling_ = addMenu("&Signalling");
    for (const char* text : {"&Signalling Type", "&ANI Setting", "&ENI Setting", "5&Tone Table"})
        mnuSignalling_->addAction(text)->setEnabled(false);

    QMenu* radio = addMenu("&Radio");
    radio->addActions({miUpload_, miDownload_});

    QMenu* help = addMenu("&Help");
    help->addAction(miHelpTopics_);
    help->addSeparator();
    help->addActions({miGetStarted_, miCommonProblems_, miAbout_});
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
    return panel;
}

void TfrmMain::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    hintPanel_ = new QLabel(kDefaultHint, bar);
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
    capsPanel_->setText(locks && locks->caps ? QStringLiteral("CAP") : QString());
    numPanel_->setText(locks && locks->num ? QStringLiteral("NUM") : QString());
    scrollPanel_->setText(locks && locks->scroll ? QStringLiteral("SCRL") : QString());
}

void TfrmMain::RebuildRecentMenu()
{
    const auto& paths = settings_.recent.Paths();
    miRecentFile_->setVisible(paths.empty());
    const std::string cwd = S(QDir::currentPath());
    for (size_t i = 0; i < miRecent_.size(); ++i) {
        const bool shown = i < paths.size();
        QString caption;
        if (shown) {
            QString name = Q(RecentDisplayName(paths[i], cwd));
            caption = QStringLiteral("&%1 %2").arg(i + 1).arg(name.replace('&', QStringLiteral("&&")));
        }
        miRecent_[i]->setText(caption);
        miRecent_[i]->setVisible(shown);
    }
}

// --- commands -------------------------------------------------------------------------------

void TfrmMain::Prepare()
{
    grdCh_->ParseInto(working_);
    if (!(working_ == emem_.Channels)) {
        emem_.Channels = working_;
        modified_ = true;
    }
}

bool TfrmMain::SavePrompt()
{
    if (!modified_) return true;
    switch (ShowMessageBox(prompter_, kSavePrompt, MsgKind::Confirmation, MsgButtons::YesNo)) {
    case MrYes: return SaveTo(false);
    case MrNo: return true;
    default: return false;
    }
}

bool TfrmMain::IsDefaultDataFile(const std::string& path) const
{
    const QFileInfo file(Q(path));
    const QFileInfo defaultFile(DefaultDataFile());
    return file.absoluteFilePath() == defaultFile.absoluteFilePath() ||
           (file.exists() && file.canonicalFilePath() == defaultFile.canonicalFilePath());
}

bool TfrmMain::AskSavePath()
{
    const QString chosen = dialogs_.SaveDataFile(this, Q(settings_.currentFolder));
    if (chosen.isEmpty()) return false;
    settings_.currentFolder = FolderOf(S(chosen));
    currentFile_ = S(chosen);
    return true;
}

bool TfrmMain::SaveTo(bool alwaysAsk)
{
    emem_.Channels = working_;
    if (alwaysAsk || currentFile_ == kNoFile || IsDefaultDataFile(currentFile_)) {
        if (!AskSavePath()) return false;
    }
    if (!SaveDataFile(currentFile_, emem_, map_, prompter_)) return false;
    Refresh();
    return true;
}

bool TfrmMain::FileSave()
{
    if (!SaveTo(false)) return false;
    modified_ = false;
    return true;
}

void TfrmMain::FileSaveAs()
{
    saveAllowed_ = true;
    Prepare();
    if (SaveTo(true)) modified_ = false;
}

void TfrmMain::FileNew()
{
    saveAllowed_ = true;
    Prepare();
    if (!SavePrompt()) return;
    modified_ = false;
    currentFile_ = kNoFile;
    map_.Reset();
    map_.Decode(emem_);
    SetDefaults(emem_);
    ReplaceWorkingList();
    Refresh();
}

bool TfrmMain::LoadFile(const std::string& path, bool changeFolder)
{
    if (!LoadDataFile(path, emem_, map_, prompter_, saveAllowed_)) return false;
    if (changeFolder) settings_.currentFolder = FolderOf(path);
    settings_.recent.Touch(path);
    RebuildRecentMenu();
    currentFile_ = path;
    modified_ = false;
    ReplaceWorkingList();
    Refresh();
    return true;
}

void TfrmMain::FileOpen()
{
    saveAllowed_ = true;
    Prepare();
    if (!SavePrompt()) return;
    const QString chosen = dialogs_.OpenDataFile(this, Q(settings_.currentFolder));
    if (chosen.isEmpty()) return;
    LoadFile(S(chosen), true);
}

void TfrmMain::OpenRecent(int index)
{
    const auto& paths = settings_.recent.Paths();
    if (index < 0 || static_cast<size_t>(index) >= paths.size()) return;
    const std::string path = paths[index];
    if (!IsRegularFile(path)) {
        ShowMessageBox(prompter_, "File Not Found", MsgKind::Warning);
        settings_.recent.Remove(path);
        RebuildRecentMenu();
        return;
    }
    Prepare();
    if (!SavePrompt()) return;
    saveAllowed_ = true;
    LoadFile(path, false);
}

void TfrmMain::EditCopy()
{
    if (grdCh_->hasFocus() || grdCh_->EditorActive()) grdCh_->CopyCell();
}

void TfrmMain::EditPaste()
{
    if (grdCh_->hasFocus() || grdCh_->EditorActive()) grdCh_->PasteCell();
}

void TfrmMain::ReplaceWorkingList()
{
    working_ = emem_.Channels;
}

void TfrmMain::Refresh()
{
    setWindowTitle(Q(MainCaption(currentFile_, mode_)));
    miSave_->setEnabled(saveAllowed_);
    edtSerial_->setText(Q(SerialWithPrefix(emem_.Band, emem_.SerialNumber)));
    edtProduct_->setText(Q(emem_.ModelName));
    edtFirmware_->setText(Q(emem_.FirmwareVersion));
    edtPort_->setText(PortDevice());
    edtBand_->setText(Q(OptionName(10, emem_.Band)));
    edtPrinter_->setText(printerName_);
    grdCh_->SetContext(emem_.ChannelStep, emem_.RxAdjustFreq[0].Value(), emem_.RxAdjustFreq[3].Value(),
                       emem_.TxAdjustFreq[0].Value(), emem_.TxAdjustFreq[3].Value(), int(mode_));
    grdCh_->SetIdFeatures(emem_.DtmfTx || emem_.DtmfRx || emem_.FiveToneTx || emem_.FiveToneRx,
                          emem_.CwIdEnable != 0);
    grdCh_->Fill(working_);
}

void TfrmMain::ShowFileData()
{
    Prepare();
    if (!qm54::ShowFileData(this, map_, emem_)) return;
    modified_ = true;
    // The grid shows the edited channels, so that the next command does not put the old ones back.
    ReplaceWorkingList();
    Refresh();
}

void TfrmMain::ShowHelp(HelpPage page)
{
    if (!help_) help_ = new HelpViewer(this);
    help_->ShowPage(FindHelpFolder(Q(programFolder_), helpName_), page);
}

// --- radio ----------------------------------------------------------------------------------

void TfrmMain::RadioUpload()
{
    saveAllowed_ = true;
    Prepare();
    if (!SavePrompt()) return;
    if (!RunClone(false)) return;
    ReplaceWorkingList();
    modified_ = true;
    currentFile_ = kNoFile;
    Refresh();
}

void TfrmMain::RadioDownload()
{
    saveAllowed_ = true;
    Prepare();
    if (!SavePrompt()) return;
    ownPrompter_.SetTitle(QStringLiteral("Download"));
    const NarrowbandOutcome outcome = NarrowbandCheck(policy_, emem_, prompter_);
    ownPrompter_.SetTitle(QString());
    if (outcome.changed) {
        modified_ = true;
        ReplaceWorkingList();
    }
    if (outcome.download) RunClone(true);
    Refresh();
}

bool TfrmMain::RunClone(bool download)
{
    std::unique_ptr<TCRsDrv> port = OpenRadioPort(S(PortDevice()), options_.timing.settleMs, prompter_);
    if (!port) return false;
    setEnabled(false);
    TfrmRadio radio(download);
    radio.show();
    // The main window is disabled, and so would be any message box it owned.
    ownPrompter_.SetParent(&radio);
    CloneLink link{*port, radio, SystemClock(), options_.timing};
    bool done = true;
    if (download)
        DownloadToRadio(link, prompter_, mode_, emem_, map_);
    else
        done = UploadFromRadio(link, prompter_, map_, emem_);
    port.reset();
    ownPrompter_.SetParent(this);
    setEnabled(true);
    radio.Finish();
    activateWindow();
    return done;
}

// --- events ---------------------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* event)
{
    grdCh_->CommitEditor();
    grdCh_->ParseInto(working_);
    if (!(working_ == emem_.Channels)) modified_ = true;
    if (modified_) {
        const int answer = ShowMessageBox(prompter_, kSavePrompt, MsgKind::Confirmation, MsgButtons::YesNo);
        if (answer == MrYes) {
            grdCh_->CommitEditor();
            if (!SaveTo(false)) {
                event->ignore();
                return;
            }
        } else if (answer != MrNo) {
            event->ignore();
            return;
        }
    }
    WriteSettings();
    if (help_) help_->close();
    event->accept();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock)
            QTimer::singleShot(0, this, &TfrmMain::UpdateClock);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Panel 0 shows the hint under the pointer, or the window's own hint when there is none.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        hintPanel_->setText(tip.isEmpty() ? QString::fromLatin1(kDefaultHint) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

}  // namespace qm54
