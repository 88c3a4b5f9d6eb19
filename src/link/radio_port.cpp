#include "link/radio_port.h"

#include "link/port_check.h"

namespace qm54 {

std::unique_ptr<TCRsDrv> OpenRadioPort(const std::string& devicePath, int settleMs, Prompter& prompter,
                                       const std::string& sysfsRoot)
{
    auto driver = std::make_unique<TCRsDrv>();
    driver->SetBaudRate(9600);
    driver->SetParity(0);
    driver->SetByteSize(8);
    driver->SetStopBits(2);
    driver->SetSettleWait(settleMs);
    if (driver->Open(devicePath) != 0) {
        // The system's reason, then what the system shows about why.
        const PortCheckRoots roots{sysfsRoot, "/proc"};
        const std::string detail =
            driver->SystemReason() + "\n" + PortDiagnosis(devicePath, driver->SystemError(), roots);
        prompter.Show("Problem on COM port", MsgKind::Error, MsgButtons::Ok, detail);
        return nullptr;
    }
    return driver;
}

}  // namespace qm54

namespace qm54 {

std::unique_ptr<SerialPort> OpenLinkPort(const std::string& portName, int settleMs, Prompter& prompter,
                                         const NetConnectOptions& net, const std::string& sysfsRoot)
{
    PortName name;
    std::string why;
    if (ParsePortName(portName, name, why) != PortNameStatus::Ok) {
        prompter.Show("Problem on COM port", MsgKind::Error, MsgButtons::Ok, portName + ": " + why + ".");
        return nullptr;
    }
    if (name.Kind == PortKind::Device) return OpenRadioPort(name.Device, settleMs, prompter, sysfsRoot);
    auto port = std::make_unique<TCNetPort>();
    const NetOpen opened = port->Open(name, net);
    if (opened == NetOpen::Cancelled) return nullptr;  // the user knows
    if (opened != NetOpen::Ok) {
        prompter.Show("Problem on COM port", MsgKind::Error, MsgButtons::Ok, port->OpenMessage());
        return nullptr;
    }
    return port;
}

}  // namespace qm54
