// Opening the repeater's serial line for the clone and alignment exchanges.
#pragma once

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

}  // namespace qm54
