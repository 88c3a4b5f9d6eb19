// Opening the repeater's serial line for the clone and alignment exchanges.
#pragma once

#include "link/net_port.h"
#include "link/rs_drv.h"
#include "model/storage/prompter.h"

#include <memory>
#include <string>

namespace qm54 {

// Opens devicePath at 9600 baud, 8 data bits, no parity, two stop bits, applying the line state
// again after settleMs. On failure shows "Problem on COM port" with the system's reason and the
// port's diagnosis (PortDiagnosis) as the detail and returns nothing; on success the caller owns the open driver (closed when freed).
// sysfsRoot is where the diagnosis lists the ports that exist.
std::unique_ptr<TCRsDrv> OpenRadioPort(const std::string& devicePath, int settleMs, Prompter& prompter,
                                       const std::string& sysfsRoot = "/sys");

// The line named by a port name (ParsePortName): a device through OpenRadioPort, a network port
// through TCNetPort, connecting within net's limit. A network port that does not open, or a name
// that does not parse, shows "Problem on COM port" with what went wrong as the detail; a cancelled
// connection shows nothing.
std::unique_ptr<SerialPort> OpenLinkPort(const std::string& portName, int settleMs, Prompter& prompter,
                                         const NetConnectOptions& net = {}, const std::string& sysfsRoot = "/sys");

}  // namespace qm54
