// What every settings dialog shares: the value edit field with its display and typing states, the
// drop-down list that Enter opens and closes, and SettingsDialog, which lays a dialog out from
// its rows (src/model/settings/dialog_rows.h), loads them from the document, enables them by the operating
// mode, handles the window keys and the hint strip, and runs the OK rule.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include <functional>
#include <vector>

#include "model/settings/dialog_rows.h"
#include "model/document/document.h"
#include "model/storage/prompter.h"

class QLabel;
class QPushButton;

namespace qm54 {

// An edit field with the two states of the dialogs: display (read only, window colour) and
// typing (tooltip colour). The first accepted key replaces the value; Enter or a double-click
// starts typing (the bare number, all selected) or commits (parse, then format); Esc while typing
// restores the text the field had on taking focus or at its last commit; leaving it commits;
// keys with Ctrl held are swallowed; every character goes through the field's filter and the
// typed text never exceeds the field's length.
class ValueEdit : public QLineEdit {
    Q_OBJECT
public:
    ValueEdit(const FieldRule& rule, QWidget* parent);
    bool EditActive() const { return editActive_; }
    const FieldRule& Rule() const { return rule_; }
    // Shows text as the committed value (also the text Esc puts back).
    void ShowValue(const QString& text);
    void StartTyping();
    void Commit();
    // What a commit makes of the text and what typing starts from, when the dialog knows better
    // than the field's rule alone (the 5-tone table's EIA exceptions).
    using TextRule = std::function<QString(const QString&)>;
    void SetTextRules(TextRule committed, TextRule typing);
    // A committed text that check refuses is replaced by the entry text (the frequency order of
    // the service dialogs).
    void SetCommitCheck(std::function<bool(const QString&)> check) { commitCheck_ = std::move(check); }

signals:
    void Committed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SetTyping(bool typing);
    void TypeCharacter(const QString& typed);

    const FieldRule& rule_;
    TextRule committed_;
    TextRule typing_;
    bool editActive_ = false;
    bool ctrlHeld_ = false;
    QString restoreText_;
    std::function<bool(const QString&)> commitCheck_;
};

// A drop-down list: the stored setting is the index of the chosen item; Enter opens the list when
// it is closed and closes it when it is open.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(const DialogTable& table, Document& document, OperatingMode mode, Prompter& prompter,
                   QWidget* parent);
    ~SettingsDialog() override;

    // What OK did (meaningful after the dialog was accepted).
    const DialogOk& Result() const { return result_; }
    // The control of row i, and the row a control's key edits.
    QWidget* Control(int row) const;
    ValueEdit* EditAt(int row) const;
    DropDownList* ListAt(int row) const;
    int RowOf(const SettingMember& member) const { return RowOfMember(table_, member); }
    int RowOf(std::string_view name) const;  // by the row's name in qm54 get and set
    bool EditActive() const;
    QString HintText() const;  // the right panel of the hint strip
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    // A list of row changed by the user (not by loading): what the dialog's controls do to each
    // other (the signalling lists' exclusive choice, a 5-tone set loaded); the hardware dialog
    // asks its questions instead.
    virtual void UserChangedList(int row, int index);
    // Sets a list without that counting as a user change.
    void SetListQuietly(int row, int index);
    const DialogTable& Table() const { return table_; }
    DialogState CurrentState() const;
    // Puts state into the controls without counting as user changes, then enables them.
    void ShowState(const DialogState& state);
    Prompter& prompter_;

private:
    void BuildRows();
    void Load();
    void Ok();
    void FocusChanged(QWidget* now);
    void FieldCommitted(int row);
    void RefreshEnabled();

    const DialogTable& table_;
    Document& document_;
    OperatingMode mode_;
    std::vector<QWidget*> controls_;
    QLabel* hintLeft_ = nullptr;
    QLabel* hintRight_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    DialogOk result_;
    bool loading_ = false;
    // The application's focus changes feed the hint strip; cut before the dialog is taken down,
    // whose hiding still changes the focus.
    QMetaObject::Connection focusWatch_;
};

}  // namespace qm54
