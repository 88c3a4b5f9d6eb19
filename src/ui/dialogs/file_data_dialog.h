// The file data view TfrmFData: the encoded memory image byte by byte in hexadecimal, sixteen
// bytes a row under the column heads "00" to "0f", each row headed by its address ("00000h").
// The cells are not editable; a hexadecimal digit key marks the view as changed, and OK on a
// changed view gives the image read back from the cells.
#pragma once

#include <QDialog>

#include <cstdint>
#include <span>
#include <vector>

class QTableWidget;

namespace qm54 {

class TCEmem;
class TMap54;

class FileDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit FileDataDialog(std::span<const uint8_t> image, QWidget* parent = nullptr);

    bool Changed() const { return changed_; }
    // The cells read back as bytes; a cell that does not read as a byte keeps fallback's byte.
    std::vector<uint8_t> Bytes(std::span<const uint8_t> fallback) const;
    QTableWidget* Table() const { return table_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* table_;
    bool changed_ = false;
};

// Shift+F9 (after the grid was parsed into emem): encodes emem into map and shows the view. OK on
// a changed view decodes the bytes read back from the cells into copies of map and emem, which
// then replace them; true means the data took them and Modified is to be set.
bool ShowFileData(QWidget* parent, TMap54& map, TCEmem& emem);

}  // namespace qm54
