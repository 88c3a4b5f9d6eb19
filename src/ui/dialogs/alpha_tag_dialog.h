// TfrmAlphaTag, "Alpha Tag": the 48 table numbers and tags in a two-column grid with an in-place
// editor. The table's rules (cell texts, filters, commit, sort, packing) are the core's
// (src/model/settings/alpha_tags.h); this is the grid, the editor's keys and the focus rules. The Normal
// mode shows the table read only (grey cells, no editor, OK stores nothing), as every other
// settings dialog does.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>

#include "model/settings/alpha_tags.h"
#include "model/document/document.h"
#include "model/settings/operating_mode.h"
#include "model/storage/prompter.h"

class QLabel;
class QPushButton;

namespace qm54 {

// The in-place editor: the column's filter and length, Esc and Enter reported to the dialog.
class AlphaTagEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit AlphaTagEditor(QWidget* parent);
    void SetColumn(int column);

signals:
    void EscapePressed();
    void EnterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int column_ = AlphaTagCodeColumn;
};

// The grid: a move to another cell while the editor is open first commits it, and a failed commit
// refuses the move.
class AlphaTagGrid : public QTableWidget {
    Q_OBJECT
public:
    AlphaTagGrid(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent) {}
    std::function<bool()> LeaveCell;   // commits an open editor; false refuses the move
    std::function<bool()> EditorOpen;  // a click while the editor is still open is refused

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class TfrmAlphaTag : public QDialog {
    Q_OBJECT
public:
    TfrmAlphaTag(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent);
    ~TfrmAlphaTag() override;

    AlphaTagGrid* Grid() const { return grid_; }
    AlphaTagEditor* Editor() const { return editor_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QString HintText() const;
    const AlphaTagTable& Table() const { return table_; }

    // Opens the editor on the current cell with text (the cell's text when empty is not asked).
    void OpenEditor(const QString& text);
    // The commit of the editor; false (after the duplicate message) when it is refused.
    bool CommitEditor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DrawRow(int row);
    void EditorEscape();
    void EditorEnter();
    void GridKey(QKeyEvent* event, bool& handled);
    void FocusChanged(QWidget* now);
    void Ok();
    bool Editable() const;

    Document& document_;
    OperatingMode mode_;
    Prompter& prompter_;
    AlphaTagTable table_;
    AlphaTagGrid* grid_ = nullptr;
    AlphaTagEditor* editor_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* hintLeft_ = nullptr;
    QLabel* hintRight_ = nullptr;
    QString restoreText_;
    QMetaObject::Connection focusWatch_;
};

}  // namespace qm54
