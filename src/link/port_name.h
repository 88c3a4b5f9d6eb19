// The name of the repeater's line: a serial device ("ttyUSB0", "/dev/ttyUSB0") or a network port
// at a remote site, "rfc2217://HOST:PORT" (telnet with the serial-line control option: this
// program sets the line) or "tcp://HOST:PORT" (the bytes as they are; the line is set at the
// server). HOST is a name, an IPv4 address or a bracketed IPv6 address ("[::1]").
#pragma once

#include <string>

namespace qm54 {

enum class PortKind { Device, Rfc2217, Tcp };

struct PortName {
    PortKind Kind = PortKind::Device;
    std::string Device;  // a device's path (Device only)
    std::string Host;    // without brackets
    std::string Service; // the TCP port number as written, 1 to 65535
};

enum class [[nodiscard]] PortNameStatus { Ok, BadNetworkName };

// Splits name. Anything without a known "scheme://" is a device (its path as PortDevicePath makes
// it). A network name needs a host and a port number of 1 to 65535 and nothing else; otherwise
// BadNetworkName and why in why.
PortNameStatus ParsePortName(const std::string& name, PortName& out, std::string& why);

bool IsNetworkPortName(const std::string& name);

// "rfc2217://HOST:PORT" or "tcp://HOST:PORT" again, an IPv6 host in brackets.
std::string NetworkPortUrl(PortKind kind, const std::string& host, const std::string& service);

// "HOST:PORT" as a user types it (the host of an IPv6 address in brackets).
std::string HostAndPort(const PortName& name);

}  // namespace qm54
