// TfrmRadio: the small progress window of a clone read or write. It is the exchange's
// LinkObserver: it moves its bar, lets Qt process events between polls and reports Cancel.
// A read is cancelled with Cancel; a write has no Cancel button and is cancelled by closing the
// window, whose first close request is refused and only sets the cancel flag.
#pragma once

#include "link/serial_port.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm54 {

class TfrmRadio : public QDialog, public LinkObserver {
    Q_OBJECT
public:
    explicit TfrmRadio(bool isDownload, QWidget* parent = nullptr);

    void SetProgress(int position, int maximum) override;
    void PumpEvents() override;
    bool CancelRequested() const override { return cancelRequested_; }

    // Closes the window for good once the exchange has ended.
    void Finish();

    bool IsDownload() const { return isDownload_; }
    QProgressBar* Bar() const { return progText_; }
    QPushButton* CancelButton() const { return btnCancel_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    bool CloseRequested();

    bool isDownload_;
    bool cancelRequested_ = false;
    bool finished_ = false;
    QLabel* lblMsg1_;
    QLabel* lblMsg2_;
    QLabel* lblMsg3_;
    QProgressBar* progText_;
    QPushButton* btnCancel_;
};

}  // namespace qm54
