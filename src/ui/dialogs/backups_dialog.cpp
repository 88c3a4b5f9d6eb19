#include "ui/dialogs/backups_dialog.h"

#include "link/trace.h"
#include "model/storage/backup_store.h"
#include "model/storage/file_read.h"
#include "model/storage/prompter.h"
#include "ui/common/qt_text.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qm54 {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr size_t kMostTraceBytes = 4 << 20;

QString StampText(const std::string& s)
{
    return ToQString(s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + " " + s.substr(9, 2) + ":" +
                     s.substr(11, 2) + ":" + s.substr(13, 2));
}

}  // namespace

TfrmBackups::TfrmBackups(const std::string& root, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(QStringLiteral("Backups"));
    lstBackups_ = new QTreeWidget(this);
    lstBackups_->setObjectName(QStringLiteral("lstBackups"));
    lstBackups_->setHeaderLabels({QStringLiteral("Serial No"), QStringLiteral("Date"), QStringLiteral("Direction"),
                                  QStringLiteral("Band"), QStringLiteral("FW Version")});
    lstBackups_->setRootIsDecorated(false);
    for (const BackupEntry& e : ListBackups(root)) {
        auto* item = new QTreeWidgetItem(lstBackups_, {ToQString(e.Serial), StampText(e.Name.Stamp),
                                                        QString::fromLatin1(DirectionName(e.Name.Direction)),
                                                        ToQString(e.Band), ToQString(e.Firmware)});
        item->setData(0, kPathRole, ToQString(e.Path));
        item->setToolTip(0, ToQString(e.Path));
    }
    lstBackups_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (lstBackups_->topLevelItemCount() > 0) lstBackups_->setCurrentItem(lstBackups_->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    btnOpen_ = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
    btnOpen_->setObjectName(QStringLiteral("btnOpen"));
    btnOpen_->setEnabled(lstBackups_->topLevelItemCount() > 0);
    buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmBackups::Open);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstBackups_, &QTreeWidget::itemDoubleClicked, this, &TfrmBackups::Open);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstBackups_);
    layout->addWidget(buttons);
    resize(620, 360);
}

void TfrmBackups::Open()
{
    const QTreeWidgetItem* item = lstBackups_->currentItem();
    if (item == nullptr) return;
    chosen_ = ToStdString(item->data(0, kPathRole).toString());
    accept();
}

void ShowLastSerialTrace(const std::string& folder, QWidget* parent, Prompter& prompter)
{
    const std::string path = NewestTrace(folder);
    const ReadResult read = path.empty() ? ReadResult{} : ReadFileHead(path, kMostTraceBytes);
    if (!read.Ok) {
        ShowMessageBox(prompter, "No serial trace has been written yet", MsgKind::Information);
        return;
    }
    QDialog window(parent);
    window.setObjectName(QStringLiteral("frmTrace"));
    window.setWindowTitle(QStringLiteral("Last Serial Trace - ") + ToQString(path));
    auto* text = new QPlainTextEdit(&window);
    text->setObjectName(QStringLiteral("edtTrace"));
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setPlainText(QString::fromUtf8(read.Data.data(), static_cast<qsizetype>(read.Data.size())));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(text);
    layout->addWidget(buttons);
    window.resize(720, 480);
    window.exec();
}

}  // namespace qm54
