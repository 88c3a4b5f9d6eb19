// The serial ports a user may choose for the repeater's cable, read afresh from sysfs each time.
#pragma once

#include <string>
#include <vector>

namespace qm54 {

// Entries "ttyUSB0", "ttyACM0", "ttyS0": first every ttyUSB, then every ttyACM, then every ttyS,
// each kind in numeric order (ttyUSB2 before ttyUSB10). Two cables are labelled after three blanks:
// "(LXC-31)" on a USB modem-class (CDC ACM) port, "(LXC-33)" on an FTDI port whose USB product
// string contains "LXC-33". Left out: modems (a mobile-broadband serial driver, or "modem" in the
// USB interface or product string), ttyS ports with no UART behind them (type 0) and names or
// entries that cannot be read. Never fails: an unreadable tree gives an empty list.
// sysfsRoot lets tests point the walk at a fixture tree.
std::vector<std::string> ListComPorts(const std::string& sysfsRoot = "/sys");

// The port name of a list entry, without its label ("ttyACM0   (LXC-31)" gives "ttyACM0").
std::string PortNameOfEntry(const std::string& entry);

// The device path of a port name: "/dev/" before a bare name; a path is kept as it is.
std::string PortDevicePath(const std::string& name);

}  // namespace qm54
