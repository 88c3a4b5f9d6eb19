// TfrmPass: asks for the factory password when the program starts with the manufacture switch.
#pragma once

#include <QDialog>

class QLineEdit;

namespace qm54 {

class TfrmPass : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPass(QWidget* parent = nullptr);
    QString Text() const;
    QLineEdit* Field() const { return edtPass_; }

private:
    QLineEdit* edtPass_;
};

}  // namespace qm54
