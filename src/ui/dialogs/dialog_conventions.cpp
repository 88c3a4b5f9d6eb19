#include "ui/dialogs/dialog_conventions.h"
#include "ui/common/qt_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "model/settings/dialog_behaviour.h"
#include "model/settings/setting_entry.h"
#include "ui/common/help_viewer.h"

namespace qm54 {

namespace {

constexpr int kCaptionWidth = 170;
constexpr int kControlWidth = 150;

void Paint(QWidget* widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(role));
    widget->setPalette(palette);
}

}  // namespace

// --- the value edit field ---------------------------------------------------------------------

ValueEdit::ValueEdit(const FieldRule& rule, QWidget* parent) : QLineEdit(parent), rule_(rule)
{
    setContextMenuPolicy(Qt::NoContextMenu);  // no paste by the mouse either
    setDragEnabled(false);
    setAcceptDrops(false);
    SetTyping(false);
}

void ValueEdit::SetTyping(bool typing)
{
    setReadOnly(!typing);
    // A disabled field keeps the button face whatever it is given to show (the IF of a new band).
    Paint(this, typing ? QPalette::ToolTipBase : isEnabled() ? QPalette::Base : QPalette::Button);
}

void ValueEdit::ShowValue(const QString& text)
{
    editActive_ = false;
    SetTyping(false);
    setText(text);
    restoreText_ = text;
}

void ValueEdit::SetTextRules(TextRule committed, TextRule typing)
{
    committed_ = std::move(committed);
    typing_ = std::move(typing);
}

void ValueEdit::StartTyping()
{
    editActive_ = true;
    SetTyping(true);
    if (typing_) {
        setText(typing_(text()));
    } else if (!IsTextRule(rule_)) {
        const char separator = DecimalSeparator();
        setText(ToQString(BareField(rule_, ParseField(rule_, ToStdString(text()), separator), separator)));
    }
    selectAll();
}

void ValueEdit::Commit()
{
    editActive_ = false;
    SetTyping(false);
    QString committed =
        committed_ ? committed_(text()) : ToQString(CommitField(rule_, ToStdString(text()), DecimalSeparator()));
    if (commitCheck_ && !commitCheck_(committed)) committed = restoreText_;
    setText(committed);
    deselect();
    restoreText_ = text();
    emit Committed();
}

void ValueEdit::TypeCharacter(const QString& typed)
{
    const char32_t key = typed.toUcs4().value(0);
    const KeyFilterResult filtered = FilterFieldKey(rule_, key);
    if (!filtered.Accepted) return;
    if (!editActive_) {
        clear();
        editActive_ = true;
        SetTyping(true);
    }
    if (filtered.Key == U'\b') {
        backspace();
        return;
    }
    if (text().size() - selectedText().size() >= rule_.MaxTyped) return;
    insert(QString::fromUcs4(&filtered.Key, 1));
}

void ValueEdit::keyPressEvent(QKeyEvent* event)
{
    ctrlHeld_ = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        if (!editActive_) {
            event->ignore();  // the dialog closes as Cancel
            return;
        }
        ShowValue(restoreText_);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (editActive_)
            Commit();
        else
            StartTyping();
        return;
    }
    if (ctrlHeld_) return;  // no control-key shortcut reaches the field, paste included
    if (key == Qt::Key_Backspace) {
        TypeCharacter(QStringLiteral("\b"));
        return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        TypeCharacter(event->text());
        return;
    }
    QLineEdit::keyPressEvent(event);  // cursor keys, Home, End, Delete while typing
}

void ValueEdit::mouseDoubleClickEvent(QMouseEvent*)
{
    if (editActive_)
        Commit();
    else
        StartTyping();
}

void ValueEdit::focusInEvent(QFocusEvent* event)
{
    editActive_ = false;
    SetTyping(false);
    restoreText_ = text();
    QLineEdit::focusInEvent(event);
}

void ValueEdit::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason) {
        const QString keep = restoreText_;
        Commit();
        restoreText_ = keep;
    }
    QLineEdit::focusOutEvent(event);
}

// --- the drop-down list -----------------------------------------------------------------------

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
}

void DropDownList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (view()->isVisible())
            hidePopup();
        else
            showPopup();
        return;
    }
    QComboBox::keyPressEvent(event);
}

// --- the dialog -------------------------------------------------------------------------------

SettingsDialog::SettingsDialog(const DialogTable& table, Document& document, OperatingMode mode,
                               Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), table_(table), document_(document), mode_(mode)
{
    setWindowTitle(ToQString(table.Caption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    BuildRows();
    Load();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

SettingsDialog::~SettingsDialog()
{
    disconnect(focusWatch_);
    // The fields outlive this body; a focus change while they are taken down must not reach back.
    for (QWidget* control : controls_)
        if (auto* edit = qobject_cast<ValueEdit*>(control)) {
            edit->SetTextRules({}, {});
            disconnect(edit, nullptr, this, nullptr);
        }
}

void SettingsDialog::BuildRows()
{
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    for (size_t i = 0; i < table_.Rows.size(); ++i) {
        const DialogRow& row = table_.Rows[i];
        auto* caption = new QLabel(this);
        caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        caption->setMinimumWidth(table_.ColumnRows > 0 ? kCaptionWidth / 4 : kCaptionWidth);
        QWidget* control = nullptr;
        if (row.Control != RowControl::Edit) {
            auto* list = new DropDownList(this);
            for (int k = 0; k < row.ListCount(); ++k) list->addItem(ToQString(row.ListName(k)));
            const int index = static_cast<int>(i);
            connect(list, &QComboBox::currentIndexChanged, this, [this, index](int chosen) {
                if (!loading_) UserChangedList(index, chosen);
            });
            control = list;
        } else {
            auto* edit = new ValueEdit(*row.Rule, this);
            const int index = static_cast<int>(i);
            const char separator = DecimalSeparator();
            edit->SetTextRules(
                [this, index, separator](const QString& text) {
                    return ToQString(CommittedText(table_, CurrentState(), index, ToStdString(text), separator));
                },
                [this, index, separator](const QString& text) {
                    return ToQString(TypingText(table_, CurrentState(), index, ToStdString(text), separator));
                });
            connect(edit, &ValueEdit::Committed, this, [this, index] { FieldCommitted(index); });
            control = edit;
        }
        control->setObjectName(ToQString(row.RowName()));
        control->setMinimumWidth(table_.ColumnRows > 0 ? kControlWidth / 2 : kControlWidth);
        control->setEnabled(false);  // until Load enables what the mode and the other controls allow
        if (row.Accelerator) {
            caption->setText(ToQString(row.Caption));
            caption->setBuddy(control);
        } else {
            caption->setText(ToQString(row.Caption).remove(QLatin1Char('&')));
        }
        // Two columns of ColumnRows rows each (the 5-tone digits 0 to 7 and 8 to F), the rest below.
        const int place = static_cast<int>(i);
        const int columns = table_.ColumnRows;
        const bool paired = columns > 0 && place < 2 * columns;
        const int gridRow = !paired ? (columns > 0 ? place - columns : place) : place % columns;
        const int gridColumn = paired ? 2 * (place / columns) : 0;
        grid->addWidget(caption, gridRow, gridColumn);
        if (paired || columns == 0)
            grid->addWidget(control, gridRow, gridColumn + 1);
        else
            grid->addWidget(control, gridRow, 1, 1, 3);
        controls_.push_back(control);
    }
    outer->addLayout(grid);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {ok_, cancel_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(ok_, &QPushButton::clicked, this, &SettingsDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    outer->addLayout(buttons);

    hintLeft_ = new QLabel(this);
    hintRight_ = new QLabel(this);
    hintRight_->setObjectName(QStringLiteral("hintRight"));
    for (QLabel* panel : {hintLeft_, hintRight_}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hintRight_->setFixedWidth(80);
    auto* hints = new QHBoxLayout;
    hints->addWidget(hintLeft_, 1);
    hints->addWidget(hintRight_);
    outer->addLayout(hints);
}

void SettingsDialog::Load()
{
    const DialogState state = ShowDialog(table_, document_.Emem(), DecimalSeparator());
    loading_ = true;
    for (size_t i = 0; i < controls_.size() && i < state.size(); ++i)
        if (auto* edit = qobject_cast<ValueEdit*>(controls_[i])) edit->ShowValue(ToQString(state[i].Text));
    loading_ = false;
    ShowState(state);
}

void SettingsDialog::ShowState(const DialogState& state)
{
    loading_ = true;
    for (size_t i = 0; i < controls_.size() && i < state.size(); ++i) {
        if (auto* list = qobject_cast<DropDownList*>(controls_[i])) {
            if (list->currentIndex() != state[i].Index) list->setCurrentIndex(state[i].Index);
        } else if (auto* edit = qobject_cast<ValueEdit*>(controls_[i])) {
            if (edit->text() != ToQString(state[i].Text) && !edit->EditActive()) edit->ShowValue(ToQString(state[i].Text));
        }
    }
    loading_ = false;
    RefreshEnabled();
}

void SettingsDialog::RefreshEnabled()
{
    const DialogState state = CurrentState();
    for (size_t i = 0; i < controls_.size(); ++i) {
        const bool enabled = RowEnabled(table_, state, static_cast<int>(i), mode_);
        controls_[i]->setEnabled(enabled);
        if (auto* edit = qobject_cast<ValueEdit*>(controls_[i]); edit && edit->EditActive()) continue;
        Paint(controls_[i], enabled ? QPalette::Base : QPalette::Button);
    }
}

void SettingsDialog::UserChangedList(int row, int index)
{
    DialogState state = CurrentState();
    EnterIntoState(table_, {.Dialog = &table_, .Row = row, .Kind = EntryKind::ChooseEntry, .Index = index}, state);
    ShowState(state);
}

void SettingsDialog::FieldCommitted(int row)
{
    DialogState state = CurrentState();
    if (row < 0 || static_cast<size_t>(row) >= state.size()) return;
    const SettingEntry typed{.Dialog = &table_, .Row = row, .Kind = EntryKind::TypeText,
                             .Text = state[static_cast<size_t>(row)].Text};
    EnterIntoState(table_, typed, state, DecimalSeparator());
    ShowState(state);
}

void SettingsDialog::SetListQuietly(int row, int index)
{
    loading_ = true;
    if (DropDownList* list = ListAt(row)) list->setCurrentIndex(index);
    loading_ = false;
}

QWidget* SettingsDialog::Control(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < controls_.size() ? controls_[static_cast<size_t>(row)] : nullptr;
}

ValueEdit* SettingsDialog::EditAt(int row) const { return qobject_cast<ValueEdit*>(Control(row)); }

DropDownList* SettingsDialog::ListAt(int row) const { return qobject_cast<DropDownList*>(Control(row)); }

int SettingsDialog::RowOf(std::string_view name) const
{
    for (size_t i = 0; i < table_.Rows.size(); ++i)
        if (table_.Rows[i].RowName() == name) return static_cast<int>(i);
    return -1;
}

bool SettingsDialog::EditActive() const
{
    for (QWidget* control : controls_)
        if (auto* edit = qobject_cast<ValueEdit*>(control); edit && edit->EditActive()) return true;
    return false;
}

QString SettingsDialog::HintText() const { return hintRight_->text(); }

void SettingsDialog::FocusChanged(QWidget* now)
{
    if (!now || now->window() != this) return;
    hintLeft_->clear();
    if (qobject_cast<QLineEdit*>(now))
        hintRight_->setText(QStringLiteral("<ENTER>"));
    else if (qobject_cast<QComboBox*>(now))
        hintRight_->setText(QStringLiteral("<SELECT>"));
    else
        hintRight_->clear();
}

DialogState SettingsDialog::CurrentState() const
{
    DialogState state;
    for (QWidget* control : controls_) {
        if (auto* list = qobject_cast<DropDownList*>(control))
            state.push_back({list->currentIndex(), {}});
        else if (auto* edit = qobject_cast<ValueEdit*>(control))
            state.push_back({0, ToStdString(edit->text())});
    }
    return state;
}

void SettingsDialog::Ok()
{
    for (QWidget* control : controls_)
        if (auto* edit = qobject_cast<ValueEdit*>(control); edit && edit->EditActive()) edit->Commit();
    result_ = ApplyDialog(table_, CurrentState(), document_.Emem(), DecimalSeparator());
    if (result_.Modified) document_.SetModified();
    accept();
}

}  // namespace qm54
