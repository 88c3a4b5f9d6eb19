#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include "model/channels/channel_cells.h"
#include "model/image/convert.h"
#include "model/settings/factory_code.h"
#include "model/storage/ini.h"
#include "model/image/tables.h"
#include "ui/main/channel_grid.h"
#include "ui/common/help_viewer.h"
#include "ui/main/main_window_support.h"
#include "ui/dialogs/password_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace qm54 {

namespace {

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
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
      prompter_(options_.Messages ? *options_.Messages : static_cast<Prompter&>(ownPrompter_)),
      dialogs_(options_.Dialogs ? *options_.Dialogs : static_cast<FileDialogs&>(ownDialogs_)),
      printers_(options_.Printers ? *options_.Printers : static_cast<PrinterSystem&>(ownPrinters_)),
      programFolder_(WithTrailingSlash(options_.ProgramFolder)),
      doc_(prompter_, programFolder_ + "defaultv.Q54")
{
    setObjectName(QStringLiteral("frmMain"));

    const std::string namedFile = ExamineCommandLine();
    policy_ = NarrowbandPolicyForDate(options_.Today.empty() ? TodayDateText() : options_.Today);
    helpName_ = mode_ == OperatingMode::Normal ? QStringLiteral("QM54Win") : QStringLiteral("QM54Win2");

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
    connect(grdCh_, &ChannelGrid::pasted, this, [this] { doc_.SetModified(); });
    connect(grdCh_, &ChannelGrid::edited, this, [this] {
        grdCh_->ParseInto(doc_.Working());
        RememberChange("Edit");
    });
    SetHelpHandler([this](HelpPage page) { ShowHelp(page); });

    setMinimumSize(MainWindowMinWidth, MainWindowMinHeight);
    resize(980, 600);
    ReadSettings();

    doc_.Start(namedFile);
    Refresh();

    qApp->installEventFilter(this);
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
    const FirstArgument first = ParseFirstArgument(options_.Arguments.isEmpty() ? std::string()
                                                                               : ToStdString(options_.Arguments.first()));
    if (first.Dealer) mode_ = OperatingMode::Dealer;
    if (!first.Manufacture) return first.DataFile;
    std::optional<QString> typed;
    if (options_.AskPassword) {
        typed = options_.AskPassword(this);
    } else {
        TfrmPass dialog;
        if (dialog.exec() == QDialog::Accepted) typed = dialog.Text();
    }
    if (typed && FactoryCodeMatches(ToStdString(*typed))) mode_ = OperatingMode::Manufacture;
    return first.DataFile;
}

void TfrmMain::ReadSettings()
{
    TIniData ini(programFolder_ + "QM54Win.ini");
    ini.Load();
    settings_ = ReadAppSettings(ini, programFolder_);
    const WindowPlace& p = settings_.Place;
    QRect place = geometry();
    if (p.Left >= 0) place.moveLeft(p.Left);
    if (p.Top >= 0) place.moveTop(p.Top);
    if (p.Width >= 0) place.setWidth(std::max(p.Width, MainWindowMinWidth));
    if (p.Height >= 0) place.setHeight(std::max(p.Height, MainWindowMinHeight));
    if (OnSomeScreen(place)) setGeometry(place);
    if (settings_.StartMaximised) setWindowState(windowState() | Qt::WindowMaximized);
    options_.Timing.SettleMs = settings_.PortSettleWait;
    for (int i = 0; i < ColumnGroupCount; ++i) {
        miItem_[i]->setChecked(settings_.ItemVisible[i]);
        grdCh_->SetColumnGroupVisible(i, settings_.ItemVisible[i]);
    }
    miVerify_->setChecked(settings_.VerifyAfterDownload);
    RebuildRecentMenu();
}

void TfrmMain::WriteSettings()
{
    TIniData ini(programFolder_ + "QM54Win.ini");
    ini.Load();
    for (int i = 0; i < ColumnGroupCount; ++i) settings_.ItemVisible[i] = miItem_[i]->isChecked();
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
    return ToQString(doc_.DefaultDataFile());
}

QString TfrmMain::PortDevice() const
{
    if (!options_.PortDevice.isEmpty()) return options_.PortDevice;
    // Until a port is chosen, the first USB serial cable.
    return settings_.PortDevice.empty() ? QStringLiteral("/dev/ttyUSB0") : ToQString(settings_.PortDevice);
}

void TfrmMain::Refresh()
{
    const TCEmem& emem = doc_.Emem();
    setWindowTitle(ToQString(MainCaption(doc_.CurrentFile(), mode_)));
    miSave_->setEnabled(doc_.SaveAllowed());
    edtSerial_->setText(ToQString(SerialWithPrefix(emem.Band, emem.SerialNumber)));
    edtProduct_->setText(ToQString(emem.ModelName));
    edtFirmware_->setText(ToQString(emem.FirmwareVersion));
    edtPort_->setText(PortDevice());
    edtBand_->setText(ToQString(OptionName(OptBand, emem.Band)));
    edtPrinter_->setText(printerName_);
    const CellLimits limits = LimitsOf(emem);
    grdCh_->SetContext(emem.ChannelStep, limits.RxLow, limits.RxHigh, limits.TxLow, limits.TxHigh);
    grdCh_->SetIdFeatures(emem.DtmfTx || emem.DtmfRx || emem.FiveToneTx || emem.FiveToneRx,
                          emem.CwIdEnable != 0);
    grdCh_->Fill(doc_.Working());
    UpdateUndoEntries();
}

void TfrmMain::ShowHelp(HelpPage page)
{
    if (!help_) help_ = new HelpViewer(this);
    help_->ShowPage(FindHelpFolder(ToQString(programFolder_), helpName_), page);
}

// --- events ---------------------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!CloseQuery()) {
        event->ignore();
        return;
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
    if (event->type() == QEvent::Paint && !painted_) {
        // Asking the print system for its printers loads its libraries and talks to its server:
        // the Printer box fills in once the first picture of the window is on the screen.
        painted_ = true;
        QTimer::singleShot(0, this, &TfrmMain::ShowPrinterName);
    }
    if (event->type() == QEvent::StatusTip) {
        // Panel 0 shows the hint under the pointer, or the window's own hint when there is none.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        hintPanel_->setText(tip.isEmpty() ? QString::fromLatin1(MainWindowDefaultHint) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

}  // namespace qm54
