// How the channel grid looks. Channel cells: the window colour (a selected block tinted with the
// highlight colour), black text for a channel in use and silver for one that is not,
// frequencies and CTCSS tones right-aligned, the rest centred.
// Headers (the two header rows and the row numbers): black centred text on the fixed-cell colour,
// with the caption panels of the column groups laid over header row 0.
#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>

#include <functional>

namespace qm54 {

class ChannelGridModel;

inline constexpr int GridRowHeight = 17;

class CellPainter : public QStyledItemDelegate {
public:
    // blockSelected: whether more than one cell is selected; only then are the selected cells
    // tinted, so that a single current cell looks as it always did.
    CellPainter(const ChannelGridModel& model, std::function<bool()> blockSelected, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const ChannelGridModel& model_;
    std::function<bool()> blockSelected_;
};

class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, QWidget* parent);

    // A group's caption panel spans its columns and the grid lines between them, 3 pixels below
    // the top; it is shown while its group is and while it lies wholly within the header's width.
    QRect CaptionPanelRect(int group) const;
    bool CaptionPanelShown(int group) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm54
