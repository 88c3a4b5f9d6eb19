#include "link/port_name.h"

#include "link/port_discovery.h"

#include <charconv>
#include <string_view>

namespace qm54 {

namespace {

constexpr std::string_view kRfc2217 = "rfc2217://";
constexpr std::string_view kTcp = "tcp://";
constexpr unsigned kMaxTcpPort = 65535;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool ValidService(std::string_view text)
{
    if (text.empty() || text.size() > 5) return false;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 1 && value <= kMaxTcpPort;
}

bool ValidHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

}  // namespace

PortNameStatus ParsePortName(const std::string& name, PortName& out, std::string& why)
{
    out = PortName{};
    std::string_view rest;
    if (StartsWith(name, kRfc2217)) {
        out.Kind = PortKind::Rfc2217;
        rest = std::string_view(name).substr(kRfc2217.size());
    } else if (StartsWith(name, kTcp)) {
        out.Kind = PortKind::Tcp;
        rest = std::string_view(name).substr(kTcp.size());
    } else {
        out.Device = PortDevicePath(name);
        return PortNameStatus::Ok;
    }
    std::string_view host;
    std::string_view service;
    if (StartsWith(rest, "[")) {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
            why = "an IPv6 address is written in brackets, followed by :PORT";
            return PortNameStatus::BadNetworkName;
        }
        host = rest.substr(1, close - 1);
        service = rest.substr(close + 2);
        for (char c : host)
            if (!(c == ':' || c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
                why = "the brackets do not hold an IPv6 address";
                return PortNameStatus::BadNetworkName;
            }
    } else {
        const size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) {
            why = "the port number is missing (HOST:PORT)";
            return PortNameStatus::BadNetworkName;
        }
        host = rest.substr(0, colon);
        service = rest.substr(colon + 1);
        for (char c : host)
            if (!ValidHostChar(c)) {
                why = host.find(':') != std::string_view::npos ? "an IPv6 address is written in brackets: [ADDRESS]:PORT"
                                                               : "the host name holds a character a name cannot have";
                return PortNameStatus::BadNetworkName;
            }
    }
    if (host.empty()) {
        why = "the host is missing (HOST:PORT)";
        return PortNameStatus::BadNetworkName;
    }
    if (!ValidService(service)) {
        why = "the port number must be 1 to 65535";
        return PortNameStatus::BadNetworkName;
    }
    out.Host = std::string(host);
    out.Service = std::string(service);
    return PortNameStatus::Ok;
}

bool IsNetworkPortName(const std::string& name) { return StartsWith(name, kRfc2217) || StartsWith(name, kTcp); }

std::string NetworkPortUrl(PortKind kind, const std::string& host, const std::string& service)
{
    PortName name;
    name.Kind = kind;
    name.Host = host;
    name.Service = service;
    return std::string(kind == PortKind::Tcp ? kTcp : kRfc2217) + HostAndPort(name);
}

std::string HostAndPort(const PortName& name)
{
    const bool v6 = name.Host.find(':') != std::string::npos;
    return (v6 ? "[" + name.Host + "]" : name.Host) + ":" + name.Service;
}

}  // namespace qm54
