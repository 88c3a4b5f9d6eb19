#include "ui/main/channel_grid_editors.h"

#include <QLineEdit>
#include <QRect>
#include <QSpinBox>

#include <algorithm>

#include "model/channels/channel_row.h"
#include "model/image/convert.h"
#include "model/channels/grid_columns.h"

namespace qm54 {

// The spin editor, with its line edit reachable so that a typed digit can become its whole text.
class LevelSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    using QSpinBox::lineEdit;
};

CellEditors::CellEditors(QWidget* viewport, QObject* eventFilter)
    : edtDmy_(new QLineEdit(viewport)), spinDmy_(new LevelSpinBox(viewport))
{
    edtDmy_->setObjectName(QStringLiteral("edtDmy"));
    edtDmy_->setMaxLength(ColumnAt(GridCol::RxFreq).Parameter);
    edtDmy_->hide();
    edtDmy_->setAcceptDrops(false);  // text reaches the editors only through the grid's filters
    spinDmy_->setObjectName(QStringLiteral("SpinDmy"));
    spinDmy_->setRange(0, MaxNsqLevel);
    spinDmy_->lineEdit()->setMaxLength(ColumnAt(GridCol::NsqLevel).Parameter);
    spinDmy_->hide();
    spinDmy_->lineEdit()->setAcceptDrops(false);
    edtDmy_->installEventFilter(eventFilter);
    spinDmy_->installEventFilter(eventFilter);
}

QSpinBox* CellEditors::LevelEditor() const { return spinDmy_; }

bool CellEditors::IsEditor(const QObject* object) const { return object == edtDmy_ || object == spinDmy_; }

bool CellEditors::HasFocus() const { return edtDmy_->hasFocus() || spinDmy_->hasFocus(); }

QLineEdit* CellEditors::ActiveLine() const { return active_ == Kind::Spin ? spinDmy_->lineEdit() : edtDmy_; }

QWidget* CellEditors::ActiveWidget() const
{
    return active_ == Kind::Spin ? static_cast<QWidget*>(spinDmy_) : edtDmy_;
}

QString CellEditors::SelectedText() const { return IsActive() ? ActiveLine()->selectedText() : QString(); }

bool CellEditors::FrequencyCharacter(QChar c)
{
    return c.unicode() != 8 && FilterFrequencyKey(c.unicode()).Accepted;
}

bool CellEditors::LevelCharacter(QChar c) { return c.unicode() != 8 && FilterDigitKey(c.unicode()).Accepted; }

bool CellEditors::Refuses(QChar c, const QObject* editor) const
{
    return editor == edtDmy_ ? !FrequencyCharacter(c) : !LevelCharacter(c);
}

void CellEditors::OpenText(int channel, int column, const QString& cellText, const QString& text, bool selectAll)
{
    active_ = Kind::Text;
    channel_ = channel;
    column_ = column;
    startText_ = cellText;
    edtDmy_->setMaxLength(ColumnAt(column).Parameter);
    edtDmy_->setText(text);
    if (selectAll) edtDmy_->selectAll();
    else edtDmy_->end(false);
}

void CellEditors::OpenSpin(int channel, int column, const QString& cellText, int level, const QString& typed,
                           bool selectAll)
{
    active_ = Kind::Spin;
    channel_ = channel;
    column_ = column;
    startText_ = cellText;
    spinDmy_->setValue(level);
    if (!typed.isEmpty()) spinDmy_->lineEdit()->setText(typed);
    if (selectAll) spinDmy_->selectAll();
    else spinDmy_->lineEdit()->end(false);
}

void CellEditors::Place(const QRect& cell, int viewportHeight, bool focus)
{
    if (!IsActive()) return;
    QWidget* editor = ActiveWidget();
    const bool rowInView = cell.bottom() >= 0 && cell.top() < viewportHeight && cell.width() > 0;
    if (rowInView) {
        editor->setGeometry(cell.left(), cell.top() - 1, cell.width() + 1, cell.height() + 2);
        editor->show();
        editor->raise();
    } else {
        editor->hide();
    }
    if (focus) editor->setFocus();
}

void CellEditors::SelectAll()
{
    if (active_ == Kind::Text) edtDmy_->selectAll();
    else if (active_ == Kind::Spin) spinDmy_->selectAll();
}

void CellEditors::Append(QChar c)
{
    if (!IsActive() || !(active_ == Kind::Text ? FrequencyCharacter(c) : LevelCharacter(c))) return;
    QLineEdit* line = ActiveLine();
    if (line->text().size() < line->maxLength()) line->setText(line->text() + c);
}

bool CellEditors::Paste(const QString& text)
{
    if (!IsActive()) return false;
    QLineEdit* line = ActiveLine();
    const QString before = line->text();
    const qsizetype room = line->maxLength() - (line->text().size() - line->selectedText().size());
    QString insert;
    if (active_ == Kind::Text)  // the level cell takes no pasted text: the selection is removed
        for (qsizetype i = 0; i < text.size() && insert.size() < room; ++i)
            if (FrequencyCharacter(text[i])) insert += text[i];
    line->insert(insert);
    return line->text() != before;
}

CellEditors::Closed CellEditors::Close(bool restore)
{
    Closed closed;
    if (IsActive() && restore) ActiveLine()->setText(startText_);
    closed.Changed = IsActive() && ActiveLine()->text() != startText_;
    if (active_ == Kind::Text) {
        closed.Text = edtDmy_->text();
    } else if (active_ == Kind::Spin) {
        spinDmy_->interpretText();
        closed.Level = std::clamp(spinDmy_->value(), 0, MaxNsqLevel);
        closed.Text = QString::number(closed.Level);
    }
    Drop();
    return closed;
}

void CellEditors::Drop()
{
    edtDmy_->hide();
    spinDmy_->hide();
    active_ = Kind::None;
}

}  // namespace qm54
