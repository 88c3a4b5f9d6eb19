// qm54 ports: the serial ports a repeater's cable may be on, as the configuration dialog lists them.
#include "cli/verbs.h"
#include "link/port_discovery.h"

#include <cstdio>

namespace qm54::cli {

int RunPorts(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {}, parsed, error)) return UsageError("ports", error);
    if (!parsed.Positional.empty()) return UsageError("ports", "takes no arguments");
    for (const std::string& entry : ListComPorts()) std::printf("%s\n", entry.c_str());
    return ExitOk;
}

}  // namespace qm54::cli
