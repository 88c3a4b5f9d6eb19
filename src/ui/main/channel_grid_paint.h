// How the channel grid looks. Channel cells: the window colour (a selected block tinted with the
// highlight colour), black text for a channel in use and silver for one that is not,
// frequencies and CTCSS tones right-aligned, the rest centred.
// Headers (the two header rows and the row numbers): black centred text on the fixed-cell colour,
// with the caption panels of the column groups laid over header row 0.
#pragma once

#include <QFont>
#include <QHash>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <functional>
#include <memory>

namespace qm54 {

class ChannelGridModel;

inline constexpr int GridRowHeight = 17;

// The one-line texts of the cells, each laid out once for the font it is drawn in. Laying a text
// out (shaping it) is most of the cost of drawing it, and the cells repeat few texts ("off",
// "Duplex", the same frequency in every unused channel). Draws as QPainter::drawText does with
// Qt::AlignTop | Qt::TextSingleLine and the horizontal alignment of flags, clipped to the
// rectangle when the text does not fit in it.
class CellTexts {
public:
    void Draw(QPainter* painter, const QRect& rect, Qt::Alignment horizontal, const QString& text);

private:
    const QTextLayout& LaidOut(const QString& text);

    QFont font_;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    QHash<QString, std::shared_ptr<QTextLayout>> laidOut_;
};

class CellPainter : public QStyledItemDelegate {
public:
    // blockSelected: whether more than one cell is selected; only then are the selected cells
    // tinted, so that a single current cell looks as it always did.
    CellPainter(const ChannelGridModel& model, std::function<bool()> blockSelected, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const ChannelGridModel& model_;
    std::function<bool()> blockSelected_;
    mutable CellTexts texts_;
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
    // The header has a fixed height (the column headers) or width (the row numbers) and fixed
    // sections, so what its texts would need is never asked: measuring every one of them was a
    // twelfth of the work before the window's first paint.
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

}  // namespace qm54
