// qm54 ports: the serial ports a repeater's cable may be on, as the configuration dialog lists them;
// with --check, why a port does or does not open.
#include "cli/link_session.h"
#include "cli/verbs.h"
#include "link/port_check.h"
#include "link/port_discovery.h"
#include "link/port_name.h"
#include "link/radio_port.h"

#include <cstdio>

namespace qm54::cli {

namespace {

// Connects as an exchange would (the same limit, Ctrl+C ends it) and says what stands in the way.
int CheckNetworkPort(const std::string& url)
{
    std::printf("%s\n", url.c_str());
    PortName name;
    std::string why;
    if (ParsePortName(url, name, why) != PortNameStatus::Ok) {
        std::printf("  %s\n", why.c_str());
        return ExitFailed;
    }
    TCNetPort port;
    TerminalLink interrupt;
    const NetOpen result = port.Open(name, ToolConnectOptions(interrupt));
    std::printf("  %s\n", result == NetOpen::Ok ? "The port opens." : port.OpenMessage().c_str());
    return result == NetOpen::Ok ? ExitOk : ExitFailed;
}

}  // namespace

int RunPorts(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--check", false}}, parsed, error)) return UsageError("ports", error);
    const std::vector<std::string> entries = ListComPorts();
    if (!parsed.Has("--check")) {
        if (!parsed.Positional.empty()) return UsageError("ports", "takes no arguments without --check");
        for (const std::string& entry : entries) std::printf("%s\n", entry.c_str());
        return ExitOk;
    }
    if (parsed.Positional.size() > 1) return UsageError("ports", "--check takes one DEV at most");
    if (!parsed.Positional.empty() && IsNetworkPortName(parsed.Positional[0]))
        return CheckNetworkPort(parsed.Positional[0]);
    std::vector<std::string> devices;
    if (!parsed.Positional.empty()) devices.push_back(PortDevicePath(parsed.Positional[0]));
    for (const std::string& entry : entries)
        if (parsed.Positional.empty()) devices.push_back(PortDevicePath(PortNameOfEntry(entry)));
    if (devices.empty()) devices.push_back("/dev/ttyUSB0");  // the port the window opens until one is chosen
    bool allOpen = true;
    for (const std::string& device : devices) {
        const PortFacts facts = GatherPortFacts(device, 0);
        allOpen = allOpen && facts.Exists && facts.OpenError == 0 && facts.Holders.empty();
        std::printf("%s\n", device.c_str());
        for (const std::string& line : DescribePortFacts(facts)) std::printf("  %s\n", line.c_str());
    }
    return allOpen ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
