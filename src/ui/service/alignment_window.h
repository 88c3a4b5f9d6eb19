// TfrmAlignment, "Alignment Mode (<point>)": the live alignment of one frequency point in the
// Manufacture mode. The window edits the point's values in the document's settings and sends
// them with every switch of the receiver or transmitter; the status button reads VR, NSQ and
// RSSI. OK keeps what was committed (and marks the data modified when it differs from the
// backup), Cancel puts the backup back; every close runs the leaving sequence. The port is the
// caller's: open before Enter(), closed after the window is gone.
#pragma once

#include "link/alignment.h"
#include "model/image/map54.h"
#include "ui/service/service_dialog.h"

#include <QLineEdit>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace qm54 {

// The tone or code field: any key or a double-click asks for the selection list.
class ToneCodeField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void ListRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class TfrmAlignment : public ServiceDialog, public LinkObserver {
    Q_OBJECT
public:
    TfrmAlignment(int point, Document& document, SerialPort& port, Prompter& prompter, const LinkTiming& timing);

    // The entry handshake; false (the message shown) when the window must not be shown.
    bool Enter();

    // The switches in code order: RX on, RX off, TX on, TX off, TRX on, TRX off.
    QPushButton* Switch(AlignSwitch which) const { return switches_[static_cast<size_t>(which)]; }
    QPushButton* StatusButton() const { return status_; }
    QComboBox* ModeList() const { return mode_; }
    QComboBox* PowerTypeList() const { return powerType_; }
    QComboBox* WidthList() const { return width_; }
    QComboBox* EncoderList() const { return encoder_; }
    QLineEdit* ToneField() const { return tone_; }
    QLineEdit* CodeField() const { return code_; }
    std::array<QString, 3> StatusTexts() const;
    AlignConditions Conditions() const;

    void done(int result) override;

    // LinkObserver: the window stays responsive during an exchange; nothing cancels one.
    void SetProgress(int, int) override {}
    void PumpEvents() override;
    bool CancelRequested() const override { return false; }

protected:
    void Ok() override;
    std::span<const std::string_view> CompareKeys() const override;
    QString HintFor(QWidget* focused) const override;

private:
    QWidget* Edit(std::string_view key, int index, const char* name);
    QComboBox* List(const char* name, std::initializer_list<const char*> items);
    void ApplyEnabling();
    void Clicked(AlignSwitch which);
    void Send(AlignSwitch which);
    void ReadStatus();
    void ChooseFromList(bool tone);

    int point_;
    TMap54 imageBackup_;  // the image as it was, put back on Cancel with the settings
    Prompter& prompter_;
    LinkTiming timing_;  // a copy: the link refers to it for the window's life
    CloneLink link_;
    bool initialising_ = true;
    bool closing_ = false;
    std::array<QPushButton*, 6> switches_{};
    std::array<QLineEdit*, 3> statusFields_{};
    QPushButton* status_ = nullptr;
    QComboBox* mode_ = nullptr;
    QComboBox* powerType_ = nullptr;
    QComboBox* width_ = nullptr;
    QComboBox* encoder_ = nullptr;
    ToneCodeField* tone_ = nullptr;
    ToneCodeField* code_ = nullptr;
};

}  // namespace qm54
