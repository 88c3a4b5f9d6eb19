#include "ui/main/channel_grid_paint.h"

#include <QPainter>
#include <QStyle>

#include "model/channels/grid_columns.h"
#include "ui/main/channel_grid_model.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

const QColor kNotInUseText(192, 192, 192);

bool RightAligned(int column)
{
    return column == GridCol::RxFreq || column == GridCol::RxCtcss || column == GridCol::TxFreq ||
           column == GridCol::TxCtcss;
}

}  // namespace

// Texts beyond this many are laid out afresh (after edits that made many different frequencies).
constexpr qsizetype kMaxLaidOutTexts = 1024;

const QTextLayout& CellTexts::LaidOut(const QString& text)
{
    if (const auto it = laidOut_.constFind(text); it != laidOut_.cend()) return **it;
    if (laidOut_.size() >= kMaxLaidOutTexts) laidOut_.clear();
    auto layout = std::make_shared<QTextLayout>(text, font_);
    QTextOption option;
    option.setTextDirection(direction_);
    option.setAlignment(Qt::AlignLeft);  // the line is placed by Draw
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(0x01000000);
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return *laidOut_.insert(text, std::move(layout)).value();
}

void CellTexts::Draw(QPainter* painter, const QRect& rect, Qt::Alignment horizontal, const QString& text)
{
    if (text.isEmpty()) return;
    if (painter->font() != font_ || painter->layoutDirection() != direction_) {
        laidOut_.clear();
        font_ = painter->font();
        direction_ = painter->layoutDirection();
    }
    const QTextLayout& layout = LaidOut(text);
    if (layout.lineCount() == 0) return;
    const QTextLine line = layout.lineAt(0);
    const Qt::Alignment visual = QStyle::visualAlignment(direction_, horizontal);
    const auto offset = [&](qreal width) {
        if (visual & Qt::AlignRight) return rect.width() - width;
        if (visual & Qt::AlignHCenter) return (rect.width() - width) / 2;
        return qreal(0);
    };
    const QRectF bounds(rect.x() + offset(line.naturalTextWidth()), rect.y(), line.naturalTextWidth(), line.height());
    const bool clip = !QRectF(rect).contains(bounds);
    if (clip) {
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
    }
    line.draw(painter, QPointF(rect.x() + offset(line.horizontalAdvance()), rect.y()));
    if (clip) painter->restore();
}

CellPainter::CellPainter(const ChannelGridModel& model, std::function<bool()> blockSelected, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), blockSelected_(std::move(blockSelected))
{
}

void CellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    painter->fillRect(option.rect, option.palette.base());
    if ((option.state & QStyle::State_Selected) && blockSelected_()) {
        QColor tint = option.palette.highlight().color();
        tint.setAlpha(64);
        painter->fillRect(option.rect, tint);
    }
    painter->setPen(model_.Channel(index.row()).InUse != 0 ? QColor(Qt::black) : kNotInUseText);
    const QRect box = option.rect.adjusted(3, 2, -2, 2);
    texts_.Draw(painter, box, RightAligned(column) ? Qt::AlignRight : Qt::AlignHCenter, model_.Cell(index.row(), column));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect.adjusted(1, 1, -1, -1);
        focus.backgroundColor = option.palette.base().color();
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(0);
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const
{
    return orientation() == Qt::Horizontal ? QSize(sectionSize(logicalIndex), minimumHeight())
                                           : QSize(minimumWidth(), sectionSize(logicalIndex));
}

QRect GridHeader::CaptionPanelRect(int group) const
{
    const ColumnGroup& g = ColumnGroupAt(group);
    int width = 0;
    for (int c = g.FirstColumn; c <= g.LastColumn; ++c) width += sectionSize(c);
    return QRect(sectionViewportPosition(g.FirstColumn), 3, width - 1, GridRowHeight - 4);
}

bool GridHeader::CaptionPanelShown(int group) const
{
    if (group < 0 || group >= ColumnGroupCount) return false;
    const ColumnGroup& g = ColumnGroupAt(group);
    if (g.Caption == nullptr || isSectionHidden(g.FirstColumn)) return false;
    const QRect panel = CaptionPanelRect(group);
    return panel.left() >= 0 && panel.right() < viewport()->width();
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().dark().color());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setPen(Qt::black);
    if (orientation() == Qt::Vertical) {
        painter->drawText(rect, Qt::AlignCenter, QString::number(logicalIndex + 1));
    } else {
        const QRect top(rect.left(), rect.top(), rect.width(), GridRowHeight);
        const QRect bottom(rect.left(), rect.top() + GridRowHeight, rect.width(), rect.height() - GridRowHeight);
        painter->setPen(palette().dark().color());
        painter->drawLine(top.bottomLeft(), top.bottomRight());
        painter->setPen(Qt::black);
        painter->drawText(top, Qt::AlignCenter, ToQString(ColumnAt(logicalIndex).Header1));
        painter->drawText(bottom, Qt::AlignCenter, ToQString(ColumnAt(logicalIndex).Header2));
    }
    painter->restore();
}

void GridHeader::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    if (orientation() != Qt::Horizontal) return;
    QPainter painter(viewport());
    for (int g = 0; g < ColumnGroupCount; ++g) {
        if (!CaptionPanelShown(g)) continue;
        const QRect panel = CaptionPanelRect(g);
        painter.fillRect(panel, palette().button());
        painter.setPen(palette().light().color());
        painter.drawLine(panel.topLeft(), panel.topRight());
        painter.drawLine(panel.topLeft(), panel.bottomLeft());
        painter.setPen(palette().dark().color());
        painter.drawLine(panel.bottomLeft(), panel.bottomRight());
        painter.drawLine(panel.topRight(), panel.bottomRight());
        painter.setPen(Qt::black);
        painter.drawText(panel, Qt::AlignCenter, ToQString(ColumnGroupAt(g).Caption));
    }
}

}  // namespace qm54
