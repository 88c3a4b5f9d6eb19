// TfrmBackups, "Backups": the automatic backups, newest first (serial, date, direction, band,
// firmware); Open (or a double click) chooses one, which the main window opens as Upload brings
// data.
#pragma once

#include "model/storage/prompter.h"

#include <QDialog>

#include <string>

class QPushButton;
class QTreeWidget;

namespace qm54 {

class TfrmBackups : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackups(const std::string& root, QWidget* parent = nullptr);
    // After Open: the chosen backup's path.
    const std::string& Chosen() const { return chosen_; }
    QTreeWidget* List() const { return lstBackups_; }

private:
    void Open();

    std::string chosen_;
    QTreeWidget* lstBackups_;
    QPushButton* btnOpen_;
};

// The newest serial trace in a read-only text window; tells the user when there is none.
void ShowLastSerialTrace(const std::string& folder, QWidget* parent, Prompter& prompter);

}  // namespace qm54
