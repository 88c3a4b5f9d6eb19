#include "ui/dialogs/password_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qm54 {

TfrmPass::TfrmPass(QWidget* parent) : QDialog(parent), edtPass_(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Password"));
    edtPass_->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*", whatever mask the platform's style would draw.
    edtPass_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    edtPass_->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edtPass_);
    layout->addWidget(buttons);
    setFixedWidth(260);
}

QString TfrmPass::Text() const
{
    return edtPass_->text();
}

}  // namespace qm54
