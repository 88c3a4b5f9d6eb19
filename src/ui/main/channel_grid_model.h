// The channel grid's model: the working channel list and the cell texts that show it, one row
// per channel. Rows are filled from the channels and parsed back through the core's row rules
// (model/channels/channel_row.h), so the grid reads and writes the same texts as any other user of them.
#pragma once

#include <QAbstractTableModel>

#include <array>

#include "model/image/channel.h"
#include "model/channels/channel_row.h"

namespace qm54 {

class ChannelGridModel : public QAbstractTableModel {
public:
    explicit ChannelGridModel(QObject* parent = nullptr);

    const TChannels& Channels() const { return channels_; }
    TChannel& Channel(int channel) { return channels_.Items(channel); }
    const TChannel& Channel(int channel) const { return channels_.Items(channel); }

    const CellFormat& Format() const { return format_; }
    void SetFormat(const CellFormat& format) { format_ = format; }

    // The text of a cell; empty for a cell outside the grid.
    QString Cell(int channel, int column) const;
    // The cell texts of a row (0..15), and a row written as a whole.
    const ChannelRowTexts& Row(int channel) const { return rows_[static_cast<std::size_t>(channel)]; }
    void SetRow(int channel, const ChannelRowTexts& texts);

    // Replaces the working list and writes every cell from it.
    void Fill(const TChannels& channels);
    // Writes the cells of columns first..last of a row from its channel.
    void FillColumns(int channel, int first, int last);
    void FillTransmitSide(int channel) { FillColumns(channel, GridCol::FirstTx, GridColumnCount - 1); }
    // Reads the cells of a row, or of every row, back into the working list.
    void ParseRow(int channel);
    void ParseAll();
    // The row is painted again (its colour follows the channel's InUse).
    void RepaintRow(int channel);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    static bool InGrid(int channel, int column);

    TChannels channels_;
    std::array<ChannelRowTexts, ChannelCount> rows_;
    CellFormat format_;
};

}  // namespace qm54
