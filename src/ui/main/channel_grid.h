// The channel grid grdCh: one row per channel, one column per channel setting. The grid holds
// text; its working channel list holds the values. Cells change only by cycling through an
// option list, by a selection dialog, or through one of the two editors laid over a cell (the
// frequency text editor edtDmy and the NSQ level spin editor SpinDmy).
//
// Coordinates: channel 0..15 (grid rows 2..17) and a column of the column table
// (model/channels/grid_columns.h, GridCol). Column 0, the row numbers, is the vertical header; the two
// header rows are the horizontal header.
//
// Its rooms: channel_grid.cpp, the widget with its keys, mouse, clipboard and column groups;
// channel_grid_block.cpp, the selected block of cells, its copy, paste and fill-down;
// channel_grid_edits.cpp, what a double-click, Space, a paste or an editor does to a cell;
// channel_grid_model (the cell texts and the working list), channel_grid_paint (cells and
// headers), channel_grid_editors (the two editors). The cell texts of a row and what a changed
// cell does to its row and channel are in the core, shared with the channel import:
// model/channels/channel_row.h and model/channels/channel_cells.h.
//
// How the main window uses it:
//   - Fill(list) after it replaced its working list (New, Open, Upload, dialogs).
//   - ParseInto(list) before every command; it commits an open editor first.
//   - SetContext(...) and SetIdFeatures(...) whenever the image's channel step, alignment points
//     or signalling switches may have changed, before Fill.
//   - edited() is emitted after every change a user makes in the grid (once for a whole block
//     paste or fill-down); pasted() in addition after a change by paste or fill-down (which sets
//     Modified at once); reported(text) after a block paste or fill-down, for the status bar.
#pragma once

#include <QTableView>

#include <memory>

#include "model/image/channel.h"
#include "model/channels/grid_columns.h"

class QLineEdit;
class QSpinBox;

namespace qm54 {

class CellEditors;
struct CellLimits;
class ChannelGridModel;
class GridHeader;

class ChannelGrid : public QTableView {
    Q_OBJECT
public:
    explicit ChannelGrid(QWidget* parent = nullptr);
    ~ChannelGrid() override;

    // Writes every cell from the list and puts the cursor on column 1 of channel 1. An open editor
    // is dropped without writing its text (its cell is replaced anyway).
    void Fill(const TChannels& channels);
    // Commits an open editor, reads every row back into the working list and copies that to out.
    void ParseInto(TChannels& out);
    // The working list as the grid last parsed or changed it.
    const TChannels& Channels() const;

    // channelStep: the image's ChannelStep; the limits are the outer alignment points (MHz) of
    // the receive and the transmit side. The grid edits alike in every operating mode.
    void SetContext(int channelStep, double rxLow, double rxHigh, double txLow, double txHigh);
    // Which choices the CWID ANI/ENI column offers: "ANI/ENI" while any DTMF or 5-tone switch is
    // on, "CW-ID" while the CW identification is enabled.
    void SetIdFeatures(bool aniEniEnabled, bool cwIdEnabled);

    void SetColumnGroupVisible(int group, bool visible);  // group 0..22
    bool ColumnGroupVisible(int group) const;

    // Copy and paste of the current cell, or of a block: with more than one cell selected, Copy
    // puts the block's shown cells on the clipboard as tab-separated rows; a tab-separated or
    // multi-line clipboard text, or any text while a block is selected, is pasted as a block from
    // the selection's top left cell.
    void CopyCell();
    void PasteCell();
    // Each selected cell below the selection's top row gets the text of the top cell of its
    // column, as if pasted into it.
    void FillDown();
    // The selected cells as columns (x) and channels (y); the current cell when none is selected.
    QRect SelectedBlock() const;
    bool BlockSelected() const;  // more than one cell

    bool EditorActive() const;
    // Closes an open editor: a typed or pasted change is normalised into its cell; an editor that
    // still holds the text it opened with changes nothing.
    void CommitEditor();

    // The text of a cell, and what a double-click on it does (also used by the tests).
    QString CellText(int channel, int column) const;
    void ActivateCell(int channel, int column);

    // Where the caption panel of a group is and whether it is shown now (also used by the tests).
    QRect CaptionPanelRect(int group) const;
    bool CaptionPanelShown(int group) const;

    QLineEdit* FrequencyEditor() const;
    QSpinBox* LevelEditor() const;

signals:
    void edited();
    void pasted();
    void reported(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TChannel& Ch(int channel);
    const TChannel& Ch(int channel) const;
    bool CellEditable(int channel, int column) const;
    bool LevelLocked(int channel) const;  // column NsqMode shows "Prpgm"

    // channel_grid_edits.cpp
    // A user's new text for a cell, through the core's channel rules (model/channels/channel_cells.h).
    void ApplyCell(int channel, int column, const QString& text);
    void CycleCell(int channel, int column);
    void ChooseTone(int channel, int column);
    void EditMultiTone(int channel);
    void ToggleInUse(int channel);
    void ToggleTxInhibit(int channel);
    void SetTransmitInhibit(int channel, bool inhibit);
    void OpenTextEditor(int channel, int column, const QString& text, bool selectAll);
    void OpenSpinEditor(int channel, const QString& typed, bool selectAll);
    void TypeCharacter(QChar c);
    void FinishEditor(bool restore);
    QString NormalizedFrequency(int column, const QString& text) const;
    CellLimits Limits() const;
    enum class PasteResult { Changed, Unchanged, Refused, Skipped };
    PasteResult PasteIntoCell(int channel, int column, const QString& text);
    PasteResult PasteIntoBlockCell(int channel, int column, const QString& text);

    // channel_grid_block.cpp
    struct BlockCell {
        int Channel;
        int Column;
        QString Text;
    };
    QList<int> ShownColumns(int first, int last) const;
    void PasteBlock(const QString& text);
    void FillCells(const QList<BlockCell>& cells, std::string_view verb, std::size_t outside);

    // channel_grid.cpp
    void PlaceEditor(bool focus = false);
    void EnterOnCell(int channel, int column);
    bool EditorKey(QObject* editor, QKeyEvent* key);
    void MoveToShownColumn(int direction);
    void ApplyColumnWidths();

    ChannelGridModel* model_;
    GridHeader* header_;
    std::unique_ptr<CellEditors> editors_;
    bool finishing_ = false;

    double rxLow_ = 0, rxHigh_ = 0, txLow_ = 0, txHigh_ = 0;
    bool aniEniEnabled_ = false;
    bool cwIdEnabled_ = false;
    bool groupVisible_[ColumnGroupCount];
};

}  // namespace qm54
