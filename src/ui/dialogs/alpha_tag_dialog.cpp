#include "ui/dialogs/alpha_tag_dialog.h"
#include "ui/common/qt_text.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "ui/common/help_viewer.h"

namespace qm54 {

namespace {

constexpr int kCodeColumnWidth = 52;
constexpr int kTagColumnWidth = 96;
constexpr int kRowHeight = 20;
constexpr int kVisibleRows = 12;

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The typed character of a key event, or 0.
char32_t TypedCharacter(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return 0;
    return text.toUcs4().value(0);
}

// Paints each cell in its own colour, the current one too: no selection or focus colour, only a
// dotted frame around the current cell while the grid has the focus.
class PlainCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (!(option.state & QStyle::State_HasFocus)) return;
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

}  // namespace

// --- the in-place editor ----------------------------------------------------------------------

AlphaTagEditor::AlphaTagEditor(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("alphaTagEditor"));
    setFrame(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    hide();
}

void AlphaTagEditor::SetColumn(int column)
{
    column_ = column;
    setMaxLength(AlphaTagMaxLength(column));
}

void AlphaTagEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        emit EscapePressed();
        return;
    }
    if (IsEnter(event->key())) {
        emit EnterPressed();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) return;  // no paste or other shortcut
    if (const char32_t typed = TypedCharacter(event)) {
        const KeyFilterResult key = FilterAlphaTagKey(column_, typed);
        if (key.Accepted) insert(QString::fromUcs4(&key.Key, 1));
        return;
    }
    QLineEdit::keyPressEvent(event);  // Backspace, Delete, cursor keys
}

// --- the grid ---------------------------------------------------------------------------------

QModelIndex AlphaTagGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (LeaveCell && !LeaveCell()) return currentIndex();
    return QTableWidget::moveCursor(action, modifiers);
}

void AlphaTagGrid::mousePressEvent(QMouseEvent* event)
{
    // The grid taking the focus has already committed an open editor; one still open was refused.
    if (EditorOpen && EditorOpen()) return;
    QTableWidget::mousePressEvent(event);
}

// --- the dialog -------------------------------------------------------------------------------

TfrmAlphaTag::TfrmAlphaTag(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent)
    : QDialog(parent), document_(document), mode_(mode), prompter_(prompter), table_(LoadAlphaTags(document.Emem()))
{
    setObjectName(QStringLiteral("frmAlphaTag"));
    setWindowTitle(QStringLiteral("Alpha Tag"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    grid_ = new AlphaTagGrid(AlphaTagCount, 2, this);
    grid_->setObjectName(QStringLiteral("grdAlphaTag"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setColumnWidth(AlphaTagCodeColumn, kCodeColumnWidth);
    grid_->setColumnWidth(AlphaTagTextColumn, kTagColumnWidth);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // No cell is highlighted: the focus frame alone marks the current cell, grey among the grey
    // cells of the Normal mode as white among white ones.
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setItemDelegate(new PlainCellDelegate(grid_));
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setStyleSheet(QStringLiteral("QTableWidget::item { padding-left: 3px; padding-top: 2px; }"));
    const QPalette palette = grid_->palette();
    const QBrush cellBrush = Editable() ? palette.brush(QPalette::Base) : palette.brush(QPalette::Button);
    for (int row = 0; row < AlphaTagCount; ++row)
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            item->setBackground(cellBrush);
            item->setForeground(Qt::black);
            grid_->setItem(row, column, item);
        }
    const int frame = 2 * grid_->frameWidth();
    grid_->setFixedSize(kCodeColumnWidth + kTagColumnWidth + grid_->verticalScrollBar()->sizeHint().width() + frame,
                        kVisibleRows * kRowHeight + frame);
    grid_->LeaveCell = [this] { return !editor_->isVisible() || CommitEditor(); };
    grid_->EditorOpen = [this] { return editor_->isVisible(); };
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);

    editor_ = new AlphaTagEditor(grid_->viewport());
    connect(editor_, &AlphaTagEditor::EscapePressed, this, &TfrmAlphaTag::EditorEscape);
    connect(editor_, &AlphaTagEditor::EnterPressed, this, &TfrmAlphaTag::EditorEnter);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {ok_, cancel_}) button->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &TfrmAlphaTag::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    hintLeft_ = new QLabel(this);
    hintRight_ = new QLabel(this);
    hintRight_->setObjectName(QStringLiteral("hintRight"));
    for (QLabel* panel : {hintLeft_, hintRight_}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hintRight_->setFixedWidth(80);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(grid_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    outer->addLayout(buttons);
    auto* hints = new QHBoxLayout;
    hints->addWidget(hintLeft_, 1);
    hints->addWidget(hintRight_);
    outer->addLayout(hints);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int, int, int, int) { hintRight_->setText(QStringLiteral("<ENTER>")); });
    for (int row = 0; row < AlphaTagCount; ++row) DrawRow(row);
    grid_->setCurrentCell(0, AlphaTagCodeColumn);
    grid_->setFocus();

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

TfrmAlphaTag::~TfrmAlphaTag() { disconnect(focusWatch_); }

bool TfrmAlphaTag::Editable() const { return mode_ != OperatingMode::Normal; }

QString TfrmAlphaTag::HintText() const { return hintRight_->text(); }

void TfrmAlphaTag::DrawRow(int row)
{
    for (int column = 0; column < 2; ++column)
        grid_->item(row, column)->setText(ToQString(AlphaTagCellText(table_, row, column)));
}

void TfrmAlphaTag::OpenEditor(const QString& text)
{
    if (!Editable() || grid_->currentItem() == nullptr) return;
    const int column = grid_->currentColumn();
    editor_->SetColumn(column);
    editor_->setGeometry(grid_->visualItemRect(grid_->currentItem()));
    editor_->setText(text);
    restoreText_ = text;
    grid_->setFocusPolicy(Qt::ClickFocus);  // no longer reached by Tab
    editor_->show();
    editor_->setFocus();
    editor_->end(false);
}

bool TfrmAlphaTag::CommitEditor()
{
    if (!editor_->isVisible()) return true;
    const int row = grid_->currentRow();
    if (CommitAlphaTagCell(table_, row, grid_->currentColumn(), ToStdString(editor_->text())) ==
        AlphaTagCommit::DuplicateCode) {
        ShowMessageBox(prompter_, std::string(AlphaTagDuplicateMessage), MsgKind::Error, MsgButtons::Ok);
        editor_->setFocus();
        return false;
    }
    DrawRow(row);
    grid_->setFocusPolicy(Qt::StrongFocus);
    // Hiding the editor while it has the focus would pass the focus on as Tab does, and the grid
    // would move its current cell on with it (from the last row to the first).
    const bool editorHadFocus = editor_->hasFocus();
    if (editorHadFocus) editor_->clearFocus();
    editor_->hide();
    if (editorHadFocus) grid_->setFocus();
    return true;
}

void TfrmAlphaTag::EditorEscape()
{
    editor_->setText(restoreText_);
    if (CommitEditor()) grid_->setFocus();
}

void TfrmAlphaTag::EditorEnter()
{
    if (CommitEditor())
        grid_->setFocus();
    else
        editor_->selectAll();
}

void TfrmAlphaTag::GridKey(QKeyEvent* event, bool& handled)
{
    handled = false;
    QTableWidgetItem* item = grid_->currentItem();
    if (item == nullptr) return;
    if (IsEnter(event->key())) {
        handled = true;
        OpenEditor(ToQString(AlphaTagEditorText(ToStdString(item->text()))));
        return;
    }
    if (event->key() == Qt::Key_Backspace || (event->modifiers() & Qt::ControlModifier)) return;
    const char32_t typed = TypedCharacter(event);
    if (typed == 0) return;
    handled = true;
    const KeyFilterResult key = FilterAlphaTagKey(grid_->currentColumn(), typed);
    if (!key.Accepted || !Editable()) return;
    OpenEditor(ToQString(AlphaTagEditorText(ToStdString(item->text()))));
    editor_->setText(QString::fromUcs4(&key.Key, 1));
}

bool TfrmAlphaTag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        bool handled = false;
        GridKey(static_cast<QKeyEvent*>(event), handled);
        return handled;
    }
    if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        if (!editor_->isVisible() || CommitEditor())
            OpenEditor(ToQString(AlphaTagEditorText(ToStdString(grid_->currentItem() ? grid_->currentItem()->text()
                                                                                  : QString()))));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAlphaTag::keyPressEvent(QKeyEvent* event)
{
    // Esc closes as Cancel only while the editor is hidden (the editor takes its own Esc); Enter
    // does not press a button.
    if (event->key() == Qt::Key_Escape && editor_->isVisible()) return;
    if (IsEnter(event->key())) return;
    QDialog::keyPressEvent(event);
}

void TfrmAlphaTag::FocusChanged(QWidget* now)
{
    if (now == nullptr || now->window() != this) return;
    if (now == grid_ || now == ok_ || now == cancel_) hintRight_->clear();
    if (editor_->isVisible() && (now == grid_ || now == ok_) && !CommitEditor()) editor_->setFocus();
}

void TfrmAlphaTag::Ok()
{
    if (!CommitEditor()) return;
    if (Editable()) {
        if (AlphaTagsNeedSort(table_)) {
            ShowMessageBox(prompter_, std::string(AlphaTagSortMessage), MsgKind::Information, MsgButtons::Ok);
            SortAlphaTags(table_);
        }
        if (StoreAlphaTags(table_, document_.Emem())) document_.SetModified();
    }
    accept();
}

}  // namespace qm54
