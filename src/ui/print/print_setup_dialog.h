// TfrmPrintSetup: "Print Setup", the choice of the printer and of the paper (Letter or A4),
// written into the chosen printer's settings on OK.
#pragma once

#include "ui/print/printers.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace qm54 {

class TfrmPrintSetup : public QDialog {
    Q_OBJECT
public:
    TfrmPrintSetup(PrinterChoice& printers, QWidget* parent = nullptr);

    QComboBox* cmbPrinter() const { return cmbPrinter_; }
    QComboBox* cmbSize() const { return cmbSize_; }
    QPushButton* btnOK() const { return btnOK_; }

    void accept() override;

private:
    PrinterChoice& printers_;
    QComboBox* cmbPrinter_ = nullptr;
    QComboBox* cmbSize_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

}  // namespace qm54
