// The main window's parts beside its menus (main_menu_table.cpp): the toolbar, the system panel,
// the status bar and the recent-file entries.
#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include "model/storage/recent_files.h"
#include "ui/main/channel_grid.h"
#include "ui/main/lock_keys.h"
#include "ui/main/main_window_support.h"
#include "ui/main/shown_size_icon.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>

namespace qm54 {

namespace {

// The toolbar's buttons: menu entries by object name (nullptr: a separator) with their icons, a
// theme icon when the desktop has one, else the style's own.
struct ToolButton {
    const char* Name;
    const char* Theme;
    QStyle::StandardPixmap Standard;
};
constexpr QStyle::StandardPixmap NoStandardIcon = QStyle::SP_CustomBase;
constexpr ToolButton ToolButtons[] = {
    {"miNew", nullptr, QStyle::SP_FileIcon},
    {"miOpen", nullptr, QStyle::SP_DialogOpenButton},
    {nullptr, nullptr, NoStandardIcon},
    {"miSave", nullptr, QStyle::SP_DialogSaveButton},
    {nullptr, nullptr, NoStandardIcon},
    {"miCopy", "edit-copy", NoStandardIcon},
    {"miPaste", "edit-paste", NoStandardIcon},
    {nullptr, nullptr, NoStandardIcon},
    {"miPrint", "document-print", QStyle::SP_FileDialogDetailedView},
    {nullptr, nullptr, NoStandardIcon},
    {"miUpload", nullptr, QStyle::SP_ArrowUp},
    {"miDownload", nullptr, QStyle::SP_ArrowDown},
    {nullptr, nullptr, NoStandardIcon},
    {"miHelpTopics", nullptr, QStyle::SP_MessageBoxQuestion},
};

// The style's pictures are read when first painted, at the size shown (StandardIconAtShownSize).
QIcon ButtonIcon(const ToolButton& button)
{
    if (button.Theme == nullptr) return StandardIconAtShownSize(button.Standard);
    const QString theme = QString::fromLatin1(button.Theme);
    if (button.Standard == NoStandardIcon) return QIcon::fromTheme(theme);
    return QIcon::hasThemeIcon(theme) ? QIcon::fromTheme(theme) : StandardIconAtShownSize(button.Standard);
}

}  // namespace

void TfrmMain::BuildToolbar()
{
    toolbar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolbar_->setObjectName(QStringLiteral("ToolBar1"));
    toolbar_->setMovable(true);
    toolbar_->setFloatable(true);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolButton& button : ToolButtons) {
        if (button.Name == nullptr) {
            toolbar_->addSeparator();
            continue;
        }
        auto* action = findChild<QAction*>(QString::fromLatin1(button.Name), Qt::FindDirectChildrenOnly);
        action->setIcon(ButtonIcon(button));
        toolbar_->addAction(action);
    }
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
