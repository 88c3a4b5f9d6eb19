#include "ui/main/channel_grid_model.h"

#include "ui/common/qt_text.h"

namespace qm54 {

ChannelGridModel::ChannelGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    for (int i = 0; i < ChannelCount; ++i) {
        channels_.Items(i).Number = i + 1;
        FillColumns(i, 0, GridColumnCount - 1);
    }
}

bool ChannelGridModel::InGrid(int channel, int column)
{
    return channel >= 0 && channel < ChannelCount && column >= 0 && column < GridColumnCount;
}

QString ChannelGridModel::Cell(int channel, int column) const
{
    if (!InGrid(channel, column)) return {};
    return ToQString(rows_[static_cast<std::size_t>(channel)][static_cast<std::size_t>(column)]);
}

void ChannelGridModel::SetRow(int channel, const ChannelRowTexts& texts)
{
    if (!InGrid(channel, 0)) return;
    rows_[static_cast<std::size_t>(channel)] = texts;
    RepaintRow(channel);
}

void ChannelGridModel::Fill(const TChannels& channels)
{
    channels_ = channels;
    for (int i = 0; i < ChannelCount; ++i) FillColumns(i, 0, GridColumnCount - 1);
    emit dataChanged(index(0, 0), index(ChannelCount - 1, GridColumnCount - 1));
}

void ChannelGridModel::FillColumns(int channel, int first, int last)
{
    if (!InGrid(channel, first) || !InGrid(channel, last)) return;
    const ChannelRowTexts texts = FillChannelRow(Channel(channel), channel, format_);
    ChannelRowTexts& row = rows_[static_cast<std::size_t>(channel)];
    for (int c = first; c <= last; ++c) row[static_cast<std::size_t>(c)] = texts[static_cast<std::size_t>(c)];
    RepaintRow(channel);
}

void ChannelGridModel::ParseRow(int channel)
{
    if (InGrid(channel, 0)) ParseChannelRow(rows_[static_cast<std::size_t>(channel)], Channel(channel), format_);
}

void ChannelGridModel::ParseAll()
{
    for (int i = 0; i < ChannelCount; ++i) ParseRow(i);
}

void ChannelGridModel::RepaintRow(int channel)
{
    emit dataChanged(index(channel, 0), index(channel, GridColumnCount - 1));
}

int ChannelGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ChannelCount; }

int ChannelGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Cell(index.row(), index.column());
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return QString::number(section + 1);
    return ToQString(ColumnAt(section).Header2);
}

}  // namespace qm54
