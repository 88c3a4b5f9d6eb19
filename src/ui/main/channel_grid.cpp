#include "ui/main/channel_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QSpinBox>

#include <algorithm>

#include "model/channels/cell_block.h"
#include "model/image/tables.h"
#include "ui/main/channel_grid_editors.h"
#include "ui/main/channel_grid_model.h"
#include "ui/main/channel_grid_paint.h"
#include "ui/common/qt_text.h"

namespace qm54 {

ChannelGrid::ChannelGrid(QWidget* parent)
    : QTableView(parent),
      model_(new ChannelGridModel(this)),
      header_(new GridHeader(Qt::Horizontal, this)),
      editors_(std::make_unique<CellEditors>(viewport(), this))
{
    setObjectName(QStringLiteral("grdCh"));
    std::fill(std::begin(groupVisible_), std::end(groupVisible_), true);

    // The headers go in before the model: the view's own headers would measure every header
    // text when the model comes.
    setHorizontalHeader(header_);
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    setModel(model_);
    setItemDelegate(new CellPainter(*model_, [this] { return BlockSelected(); }, this));
    header_->setFixedHeight(2 * GridRowHeight + 1);
    verticalHeader()->setFixedWidth(ColumnAt(GridCol::RowNumber).Width);
    verticalHeader()->setDefaultSectionSize(GridRowHeight);
    setCornerButtonEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    ApplyColumnWidths();
    model_->SetFormat({0, DecimalSeparator()});
    model_->Fill(model_->Channels());
}

ChannelGrid::~ChannelGrid() = default;

QLineEdit* ChannelGrid::FrequencyEditor() const { return editors_->FrequencyEditor(); }
QSpinBox* ChannelGrid::LevelEditor() const { return editors_->LevelEditor(); }

TChannel& ChannelGrid::Ch(int channel) { return model_->Channel(channel); }
const TChannel& ChannelGrid::Ch(int channel) const { return model_->Channel(channel); }
const TChannels& ChannelGrid::Channels() const { return model_->Channels(); }

QString ChannelGrid::CellText(int channel, int column) const { return model_->Cell(channel, column); }

bool ChannelGrid::LevelLocked(int channel) const
{
    return CellText(channel, GridCol::NsqMode) == OptionText(OptNsqMode, 0);
}

// Whether a cell of a channel may change at all: the channel is in use and, on the transmit side,
// its transmit is not inhibited.
bool ChannelGrid::CellEditable(int channel, int column) const
{
    if (Ch(channel).InUse == 0) return false;
    return column < GridCol::FirstTx || Ch(channel).TxInhibit == 0;
}

void ChannelGrid::SetContext(int channelStep, double rxLow, double rxHigh, double txLow, double txHigh)
{
    model_->SetFormat({channelStep, DecimalSeparator()});
    rxLow_ = rxLow;
    rxHigh_ = rxHigh;
    txLow_ = txLow;
    txHigh_ = txHigh;
}

void ChannelGrid::SetIdFeatures(bool aniEniEnabled, bool cwIdEnabled)
{
    aniEniEnabled_ = aniEniEnabled;
    cwIdEnabled_ = cwIdEnabled;
}

// ---- Fill and parse ------------------------------------------------------------------------

void ChannelGrid::Fill(const TChannels& channels)
{
    editors_->Drop();
    model_->Fill(channels);
    setCurrentIndex(model_->index(0, GridCol::Channel));
}

void ChannelGrid::ParseInto(TChannels& out)
{
    CommitEditor();
    model_->ParseAll();
    out = model_->Channels();
}

// ---- The editors over their cell -----------------------------------------------------------

bool ChannelGrid::EditorActive() const { return editors_->IsActive(); }

// Lays the active editor over its cell; it is hidden while its row is scrolled out of view.
void ChannelGrid::PlaceEditor(bool focus)
{
    if (!editors_->IsActive()) return;
    editors_->Place(visualRect(model_->index(editors_->Channel(), editors_->Column())), viewport()->height(), focus);
}

// Enter on a frequency or level cell of a channel in use opens its editor with all text selected,
// or shows the open one again.
void ChannelGrid::EnterOnCell(int channel, int column)
{
    if (!TakesTypedText(ColumnAt(column)) || !CellEditable(channel, column)) return;
    if (editors_->IsActive()) {
        editors_->SelectAll();
        PlaceEditor(true);
    } else if (ColumnAt(column).Kind == ColFrequency) {
        OpenTextEditor(channel, column, CellText(channel, column), true);
    } else if (!LevelLocked(channel)) {
        OpenSpinEditor(channel, QString(), true);
    }
}

// ---- Copy and paste --------------------------------------------------------------------------

void ChannelGrid::CopyCell()
{
    QString text;
    if (editors_->IsActive()) {
        text = editors_->SelectedText();
        if (text.isEmpty()) return;
    } else if (BlockSelected()) {
        const QRect block = SelectedBlock();
        const QList<int> columns = ShownColumns(block.left(), block.right());
        CellRows rows;
        for (int channel = block.top(); channel <= block.bottom(); ++channel) {
            rows.emplace_back();
            for (int column : columns) rows.back().push_back(ToStdString(CellText(channel, column)));
        }
        text = ToQString(JoinCellBlock(rows));
    } else if (currentIndex().isValid()) {
        text = CellText(currentIndex().row(), currentIndex().column());
    }
    QGuiApplication::clipboard()->setText(text);
}

void ChannelGrid::PasteCell()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return;
    const bool inEditor = editors_->IsActive();
    // A block selected takes even the text of one cell as a block, at its top left cell.
    if (!inEditor && (BlockSelected() || IsCellBlock(ToStdString(text)))) {
        PasteBlock(text);
        return;
    }
    const int channel = inEditor ? editors_->Channel() : currentIndex().row();
    const int column = inEditor ? editors_->Column() : currentIndex().column();
    if (channel < 0 || column < GridCol::Channel || !CellEditable(channel, column)) return;
    if (inEditor ? editors_->Paste(text) : PasteIntoCell(channel, column, text) == PasteResult::Changed) {
        emit pasted();
        if (!inEditor) emit edited();
    }
}

// ---- Column groups, caption panels and scrolling -----------------------------------------------

void ChannelGrid::SetColumnGroupVisible(int group, bool visible)
{
    if (group < 0 || group >= ColumnGroupCount) return;
    groupVisible_[group] = visible;
    ApplyColumnWidths();
}

bool ChannelGrid::ColumnGroupVisible(int group) const
{
    return group >= 0 && group < ColumnGroupCount && groupVisible_[group];
}

void ChannelGrid::ApplyColumnWidths()
{
    setColumnHidden(GridCol::RowNumber, true);  // the row numbers are the vertical header
    setColumnWidth(GridCol::Channel, ColumnAt(GridCol::Channel).Width);
    for (int g = 0; g < ColumnGroupCount; ++g)
        for (int c = ColumnGroups[g].FirstColumn; c <= ColumnGroups[g].LastColumn; ++c) {
            setColumnWidth(c, ColumnAt(c).Width);
            setColumnHidden(c, !groupVisible_[g]);
        }
    PlaceEditor();
    header_->viewport()->update();
}

QRect ChannelGrid::CaptionPanelRect(int group) const { return header_->CaptionPanelRect(group); }

bool ChannelGrid::CaptionPanelShown(int group) const { return header_->CaptionPanelShown(group); }

void ChannelGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    PlaceEditor();
    header_->viewport()->update();
}

void ChannelGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PlaceEditor();
}

void ChannelGrid::MoveToShownColumn(int direction)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    for (int c = current.column() + direction; c >= GridCol::Channel && c < GridColumnCount; c += direction)
        if (!isColumnHidden(c) && columnWidth(c) > 0) {
            setCurrentIndex(model_->index(current.row(), c));
            return;
        }
}

// ---- Events ----------------------------------------------------------------------------------

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (editors_->IsActive()) CommitEditor();
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) ActivateCell(index.row(), index.column());
}

void ChannelGrid::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    const int channel = current.row(), column = current.column();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (event->modifiers() & Qt::ShiftModifier) break;  // the view extends the selection
        MoveToShownColumn(event->key() == Qt::Key_Left ? -1 : +1);
        return;
    case Qt::Key_D:
        if (event->modifiers() != Qt::ControlModifier) break;
        FillDown();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current.isValid()) EnterOnCell(channel, column);
        return;
    case Qt::Key_Space:
        if (!current.isValid()) return;
        if (column == GridCol::TxFreq) {
            if (Ch(channel).InUse != 0) ToggleTxInhibit(channel);
        } else {
            ActivateCell(channel, column);
        }
        return;
    case Qt::Key_F1: event->ignore(); return;  // the main window opens the help
    default: break;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopyCell();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteCell();
        return;
    }
    // Typed text goes only to the cell's editors; the view's own keyboard search never sees it.
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (text.size() == 1 && text[0].isPrint()) TypeCharacter(text[0]);
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(tr("&Copy"), this, &ChannelGrid::CopyCell);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setStatusTip(QStringLiteral("Copy the selection and put it on the Clipboard"));
    QAction* paste = menu.addAction(tr("&Paste"), this, &ChannelGrid::PasteCell);
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    paste->setStatusTip(QStringLiteral("Insert Clipboard contents"));
    QAction* fill = menu.addAction(tr("Fill &Down"), this, &ChannelGrid::FillDown);
    fill->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    fill->setStatusTip(QStringLiteral("Fill the selected cells with the texts of their top row"));
    fill->setEnabled(SelectedBlock().height() > 1);
    menu.exec(event->globalPos());
}

// A key in an editor: Escape and Enter close it, copy and paste go through the grid, and typed
// characters the cell does not take are dropped.
bool ChannelGrid::EditorKey(QObject* editor, QKeyEvent* key)
{
    if (key->key() == Qt::Key_Escape) {
        FinishEditor(true);
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        FinishEditor(false);
        return true;
    }
    if (key->matches(QKeySequence::Paste)) {
        PasteCell();
        return true;
    }
    if (key->matches(QKeySequence::Copy)) {
        CopyCell();
        return true;
    }
    const QString typed = key->text();
    return typed.size() == 1 && typed[0].isPrint() && !(key->modifiers() & Qt::ControlModifier) &&
           editors_->Refuses(typed[0], editor);
}

bool ChannelGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (!editors_ || !editors_->IsEditor(watched)) return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: return EditorKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy)) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::FocusOut:
        if (watched == editors_->LevelEditor() && editors_->Active() == CellEditors::Kind::Spin) FinishEditor(false);
        return false;
    case QEvent::ContextMenu:
        contextMenuEvent(static_cast<QContextMenuEvent*>(event));
        return true;
    default: return false;
    }
}

}  // namespace qm54
