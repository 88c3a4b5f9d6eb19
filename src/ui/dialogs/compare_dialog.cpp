#include "ui/dialogs/compare_dialog.h"
#include "ui/common/qt_text.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>


namespace qm54 {

TfrmCompare::TfrmCompare(const std::vector<Difference>& differences, const QString& otherFile, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare with ") + QFileInfo(otherFile).fileName());
    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("compareSummary"));
    summary->setText(differences.empty() ? QStringLiteral("The open data and %1 are the same.").arg(otherFile)
                                         : QStringLiteral("%1 differences between the open data and %2.")
                                               .arg(differences.size())
                                               .arg(otherFile));
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Open data"), QFileInfo(otherFile).fileName()});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    for (const Difference& d : differences)
        list_->addTopLevelItem(new QTreeWidgetItem({ToQString(d.Name), ToQString(d.A), ToQString(d.B)}));
    for (int column = 0; column < 3; ++column) list_->resizeColumnToContents(column);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(640, 480);
}

}  // namespace qm54
