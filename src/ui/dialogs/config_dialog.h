// TfrmConfig, "Configuration": chooses the serial port of the repeater's cable among the ports
// that discovery lists, with their cable labels. OK test-opens the chosen port and says "Problem on
// COM port" with the system's reason when it does not open; the port is taken all the same.
#pragma once

#include <QDialog>

#include <string>

#include "model/storage/prompter.h"

class QComboBox;

namespace qm54 {

class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    // currentDevice: the device path in use; sysfsRoot: where discovery reads the ports.
    TfrmConfig(const std::string& currentDevice, Prompter& prompter, int settleMs,
               const std::string& sysfsRoot = "/sys", QWidget* parent = nullptr);
    // After OK: the chosen device path, or the current one when nothing was chosen.
    const std::string& Device() const { return device_; }
    // Whether OK had a port to take (an empty list leaves the port as it was).
    bool Chosen() const { return chosen_; }
    QComboBox* List() const { return cmbPort_; }

private:
    void Ok();

    Prompter& prompter_;
    int settleMs_;
    std::string sysfsRoot_;
    std::string device_;
    bool chosen_ = false;
    QComboBox* cmbPort_;
};

}  // namespace qm54
