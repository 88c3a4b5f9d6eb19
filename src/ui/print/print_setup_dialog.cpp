#include "ui/print/print_setup_dialog.h"

#include "ui/common/help_viewer.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace qm54 {

namespace {

// The size list, in its order, with the paper code each entry writes.
constexpr int kLetterEntry = 0;
constexpr int kA4Entry = 1;

}  // namespace

TfrmPrintSetup::TfrmPrintSetup(PrinterChoice& printers, QWidget* parent) : QDialog(parent), printers_(printers)
{
    setObjectName(QStringLiteral("frmPrintSetup"));
    setWindowTitle(QStringLiteral("Print Setup"));
    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    cmbPrinter_ = new QComboBox(group);
    cmbPrinter_->setObjectName(QStringLiteral("cmbPrinter"));
    cmbPrinter_->setMinimumWidth(260);
    cmbSize_ = new QComboBox(group);
    cmbSize_->setObjectName(QStringLiteral("cmbSize"));
    auto* lblPrinter = new QLabel(QStringLiteral("Printer &Name:"), group);
    lblPrinter->setBuddy(cmbPrinter_);
    auto* lblSize = new QLabel(QStringLiteral("Si&ze:"), group);
    lblSize->setBuddy(cmbSize_);
    grid->addWidget(lblPrinter, 0, 0);
    grid->addWidget(cmbPrinter_, 0, 1);
    grid->addWidget(lblSize, 1, 0);
    grid->addWidget(cmbSize_, 1, 1);

    btnOK_ = new QPushButton(QStringLiteral("OK"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });

    cmbSize_->addItems({QStringLiteral("Letter"), QStringLiteral("A4")});
    cmbSize_->setCurrentIndex(kA4Entry);
    const QStringList installed = printers_.System().Installed();
    cmbPrinter_->addItems(installed);
    if (installed.isEmpty()) {
        cmbPrinter_->setCurrentIndex(-1);
        cmbSize_->clear();
        btnOK_->setEnabled(false);
        return;
    }
    const QString current = printers_.Current();
    cmbPrinter_->setCurrentIndex(static_cast<int>(installed.indexOf(current)));
    if (const auto settings = printers_.System().ReadSettings(current))
        cmbSize_->setCurrentIndex(settings->PaperCode == PaperCodeA4 ? kA4Entry : kLetterEntry);
}

void TfrmPrintSetup::accept()
{
    if (!btnOK_->isEnabled() || cmbPrinter_->currentIndex() < 0) return;
    const QString name = cmbPrinter_->currentText();
    printers_.SetCurrent(name);
    if (auto settings = printers_.System().ReadSettings(name)) {
        settings->PaperCode = cmbSize_->currentIndex() == kA4Entry ? PaperCodeA4 : PaperCodeLetter;
        settings->Portrait = true;
        printers_.System().WriteSettings(name, *settings);
    }
    QDialog::accept();
}

}  // namespace qm54
