// TfrmVisible, "Visible": one check box per column group of the channel grid.
#pragma once

#include <QDialog>

#include <array>

#include "model/storage/app_settings.h"

class QCheckBox;

namespace qm54 {

class TfrmVisible : public QDialog {
    Q_OBJECT
public:
    TfrmVisible(const std::array<bool, ColumnGroupCount>& visible, QWidget* parent = nullptr);
    // The flags as the boxes are ticked (the result of OK).
    std::array<bool, ColumnGroupCount> Visible() const;
    QCheckBox* Box(int group) const { return boxes_[static_cast<size_t>(group)]; }

private:
    std::array<QCheckBox*, ColumnGroupCount> boxes_{};
};

}  // namespace qm54
