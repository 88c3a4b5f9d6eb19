// The selected block of the channel grid: which cells it holds, and its paste and fill-down,
// which put a text into each cell as a single paste would (a frequency cell held to what a channel
// import takes), left to right and top to bottom, so that every cell's filter, the in-use and
// inhibit rules and the post-edit rules apply in the order a user pasting cell by cell would meet
// them. A block change is one edit.
#include "ui/main/channel_grid.h"

#include <QItemSelectionModel>

#include "model/channels/cell_block.h"
#include "ui/main/channel_grid_model.h"
#include "ui/common/qt_text.h"

namespace qm54 {

QRect ChannelGrid::SelectedBlock() const
{
    const QModelIndex current = currentIndex();
    QRect block;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        block |= QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom()));
    if (block.isEmpty() && current.isValid()) block = QRect(current.column(), current.row(), 1, 1);
    return block;
}

// Whether a cell is tinted depends on the whole selection (one cell is not), so a change of it
// repaints every cell, not only those whose selected state changed.
void ChannelGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    viewport()->update();
}

bool ChannelGrid::BlockSelected() const
{
    const QRect block = SelectedBlock();
    return block.width() * block.height() > 1;
}

// The columns first..last that are shown: a block skips hidden columns, in copy and in paste.
QList<int> ChannelGrid::ShownColumns(int first, int last) const
{
    QList<int> columns;
    for (int c = std::max(first, int{GridCol::Channel}); c <= last && c < GridColumnCount; ++c)
        if (!isColumnHidden(c) && columnWidth(c) > 0) columns.push_back(c);
    return columns;
}

void ChannelGrid::PasteBlock(const QString& text)
{
    const QRect selected = SelectedBlock();
    if (selected.isEmpty()) return;
    const int top = selected.top();
    const QList<int> columns = ShownColumns(selected.left(), GridColumnCount - 1);
    const CellBlock block = SplitCellBlock(ToStdString(text), static_cast<std::size_t>(ChannelCount - top),
                                           static_cast<std::size_t>(columns.size()));
    QList<BlockCell> cells;
    for (std::size_t r = 0; r < block.Rows.size(); ++r)
        for (std::size_t f = 0; f < block.Rows[r].size(); ++f)
            cells.push_back({top + static_cast<int>(r), columns[static_cast<qsizetype>(f)], ToQString(block.Rows[r][f])});
    FillCells(cells, "Pasted", block.Dropped);
}

void ChannelGrid::FillDown()
{
    CommitEditor();
    const QRect selected = SelectedBlock();
    if (selected.height() < 2) return;
    const QList<int> columns = ShownColumns(selected.left(), selected.right());
    QList<BlockCell> cells;
    for (int channel = selected.top() + 1; channel <= selected.bottom(); ++channel)
        for (int column : columns) cells.push_back({channel, column, CellText(selected.top(), column)});
    FillCells(cells, "Filled", 0);
}

// Puts each text into its cell in the order given, then reports how many cells it changed and
// how many refused their text (the outside ones among them) and emits one edit for the whole
// block. A cell that already showed its text counts as neither.
void ChannelGrid::FillCells(const QList<BlockCell>& cells, std::string_view verb, std::size_t outside)
{
    std::size_t changed = 0, refused = outside;
    for (const BlockCell& cell : cells) {
        switch (PasteIntoBlockCell(cell.Channel, cell.Column, cell.Text)) {
        case PasteResult::Changed: ++changed; break;
        case PasteResult::Refused: ++refused; break;
        case PasteResult::Unchanged:
        case PasteResult::Skipped: break;
        }
    }
    if (changed > 0) {
        emit pasted();
        emit edited();
    }
    emit reported(ToQString(CellBlockSummary(verb, changed, refused, outside)));
}

}  // namespace qm54
