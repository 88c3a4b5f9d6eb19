// File > Compare with...: the differences between the open data and a chosen data file (or an
// automatic backup), listed as qm54 diff lists them: the setting's name and both values as the
// dialogs and the grid show them.
#pragma once

#include <QDialog>

#include <vector>

#include "model/document/programming_diff.h"

class QTreeWidget;

namespace qm54 {

class TfrmCompare : public QDialog {
    Q_OBJECT
public:
    TfrmCompare(const std::vector<Difference>& differences, const QString& otherFile, QWidget* parent);
    QTreeWidget* List() const { return list_; }

private:
    QTreeWidget* list_;
};

}  // namespace qm54
