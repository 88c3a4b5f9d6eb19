// The selection list TfrmSelList: the CTCSS tones or the DCS codes laid out as a table to pick
// one from. The channel grid opens it on its CTCSS and DCS columns.
#pragma once

#include <QDialog>

#include <optional>

class QTableWidget;

namespace qm54 {

enum class ToneList { Ctcss, Dcs };

class SelectListDialog : public QDialog {
    Q_OBJECT
public:
    // offerOff: whether the "off" entry is in the table; captionSuffix follows "Tone Select" or
    // "Code Select"; the cell showing current is selected at the start.
    SelectListDialog(ToneList list, bool offerOff, const QString& captionSuffix, const QString& current,
                     QWidget* parent = nullptr);

    // The selected name, cut before its first ":" and trimmed.
    QString Chosen() const;
    QTableWidget* Table() const { return table_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MoveTo(int row, int column);

    QTableWidget* table_;
    int lastNameRow_ = 0;
};

// Runs the dialog; the chosen name on OK, nothing on Cancel.
std::optional<QString> SelectFromList(QWidget* parent, ToneList list, bool offerOff,
                                      const QString& captionSuffix, const QString& current);

}  // namespace qm54
