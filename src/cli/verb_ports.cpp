// qm54 ports: the serial ports a repeater's cable may be on, as the configuration dialog lists them;
// with --check, why a port does or does not open.
#include "cli/verbs.h"
#include "link/port_check.h"
#include "link/port_discovery.h"

#include <cstdio>

namespace qm54::cli {

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
