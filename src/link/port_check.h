// Why a serial port does not open, or why nothing answers on it, from what the system shows:
// the device is missing (and which ports exist), access is denied (the device's group, whether
// the user is in it, and whether a new login is needed for a membership newer than the session),
// another process holds it (its number and name), or a service known to grab such adapters
// (a modem manager, a Braille display service) is running.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace qm54 {

struct PortHolder {
    int Pid = 0;
    std::string Name;
};

// What the system shows about one device path.
struct PortFacts {
    std::string Device;
    int OpenError = 0;                 // errno of the failed open, 0 when it opened
    bool OpenHere = false;             // this process holds the port
    bool Exists = false;
    std::vector<std::string> Ports;    // the serial ports that do exist (as ListComPorts names them)
    std::string Group;                 // the device's group name (or number)
    bool GroupKnown = false;
    bool InSessionGroups = false;      // this process runs with the group
    bool InGroupDatabase = false;      // the group database lists the user in it
    std::string User;
    std::vector<PortHolder> Holders;   // other processes with the device open
    std::vector<std::string> Grabbers; // running services known to take such adapters
};

// Where the facts are read; tests point them at fixtures.
struct PortCheckRoots {
    std::string Sysfs = "/sys";
    std::string Proc = "/proc";
};

// Gathers the facts of device (a path). openError is the errno of a failed open, 0 to try an
// open here (read-write, not blocking, given back at once), or PortIsOpenHere when this process
// holds the port and only the other facts are wanted.
inline constexpr int PortIsOpenHere = -1;
PortFacts GatherPortFacts(const std::string& device, int openError, const PortCheckRoots& roots = {});

// One line per finding; "The port opens." when nothing stands in the way (for a port open here:
// that nothing on this computer stands in the way of the repeater's answer).
std::vector<std::string> DescribePortFacts(const PortFacts& facts);

// The findings as one detail text, lines joined by "\n".
std::string PortDiagnosis(const std::string& device, int openError, const PortCheckRoots& roots = {});

}  // namespace qm54
