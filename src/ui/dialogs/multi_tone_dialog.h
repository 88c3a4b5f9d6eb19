// The multi-tone dialog TfrmMultiTone: the 16 decode and encode tone entries of one channel and its
// multi-tone flag. The channel grid opens it on the Multi Tone column.
#pragma once

#include <QDialog>

#include <array>

#include "model/image/channel.h"

class QCheckBox;
class QComboBox;

namespace qm54 {

class MultiToneDialog : public QDialog {
    Q_OBJECT
public:
    explicit MultiToneDialog(const TChannel& channel, QWidget* parent = nullptr);

    // Writes the multi-tone flag and all 16 entries into channel; nothing else of it changes.
    void WriteTo(TChannel& channel) const;

    // side 0 decode, 1 encode; the CTCSS drop-down and the DCS drop-down of an entry.
    QComboBox* CtcssBox(int entry, int side) const { return boxes_[entry][side][0]; }
    QComboBox* DcsBox(int entry, int side) const { return boxes_[entry][side][1]; }
    QCheckBox* EnableBox() const { return enable_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<std::array<std::array<QComboBox*, 2>, 2>, SlotCount> boxes_{};
    QCheckBox* enable_;
};

// Runs the dialog on channel; on OK the record is changed and true returned.
bool EditMultiToneRecord(QWidget* parent, TChannel& channel);

}  // namespace qm54
