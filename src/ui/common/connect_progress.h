// Opening the repeater's line from the window. A network port may take seconds to answer, so
// while it connects a modal "Connecting" window with Cancel is shown and the window's events go
// on; a serial device opens as before. A failure shows "Problem on COM port" with the reason,
// once the connecting window is gone.
#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"
#include "model/storage/prompter.h"

class QWidget;

namespace qm54 {

std::unique_ptr<SerialPort> OpenPortFromWindow(const std::string& portName, int settleMs, Prompter& prompter,
                                               QWidget* parent, const std::string& sysfsRoot = "/sys");

}  // namespace qm54
