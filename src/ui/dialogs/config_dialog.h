// TfrmConfig, "Configuration": chooses the serial port of the repeater's cable among the ports
// that discovery lists, with their cable labels, or, as the last entry, "Network port": HOST:PORT
// of a serial-to-network converter at the repeater's site, spoken to by RFC 2217 or as raw TCP.
// OK test-opens the chosen port and says "Problem on COM port" with the reason when it does not
// open; the port is taken all the same. A network address that cannot be read keeps the dialog open.
#pragma once

#include <QDialog>

#include <string>

#include "model/storage/prompter.h"

class QComboBox;
class QLineEdit;

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
    QLineEdit* NetworkAddress() const { return edtNetAddress_; }
    QComboBox* NetworkKind() const { return cmbNetKind_; }  // 0 RFC 2217, 1 raw TCP
    // The list entry that stands for a network port.
    static const char* NetworkEntry();

private:
    void Ok();
    bool NetworkChosen() const;
    void EnableNetworkFields();

    Prompter& prompter_;
    int settleMs_;
    std::string sysfsRoot_;
    std::string device_;
    bool chosen_ = false;
    QComboBox* cmbPort_;
    QLineEdit* edtNetAddress_;
    QComboBox* cmbNetKind_;
};

}  // namespace qm54
