#include "ui/dialogs/about_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "model/document/startup.h"
#include "ui/common/qt_text.h"

namespace qm54 {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent), lblVersion_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    lblVersion_->setText(ToQString(AboutVersionLine(QM54_VERSION)));
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(SupportAddress)), this);
    link->setObjectName(QStringLiteral("lblSupport"));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {"Programming  Software"}) layout->addWidget(new QLabel(QString::fromLatin1(line), this));
    layout->addWidget(lblVersion_);
    layout->addWidget(new QLabel(QStringLiteral("KTD-4150"), this));
    layout->addWidget(new QLabel(QStringLiteral("Dealer and service programming of the repeater."), this));
    layout->addWidget(new QLabel(QStringLiteral("Free software, provided without warranty."), this));
    layout->addWidget(link);
    layout->addWidget(buttons);
}

QString TfrmAbout::VersionLine() const
{
    return lblVersion_->text();
}

}  // namespace qm54
