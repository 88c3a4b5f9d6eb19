// qm54 upload: reads the repeater's programming into a data file.
#include "cli/cli_prompter.h"
#include "cli/link_session.h"
#include "cli/verbs.h"
#include "link/clone.h"
#include "link/port_discovery.h"
#include "link/radio_port.h"
#include "model/storage/datafile.h"
#include "model/image/emem.h"
#include "model/image/map54.h"

#include <cstdio>

namespace qm54::cli {

int RunUpload(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--port", true}, {"-o", true}, {"--trace", true}}, parsed, error))
        return UsageError("upload", error);
    const std::string port = parsed.Value("--port", "");
    const std::string output = parsed.Value("-o", "");
    if (!parsed.Positional.empty()) return UsageError("upload", "unexpected argument " + parsed.Positional[0]);
    if (port.empty()) return UsageError("upload", "--port DEV is required");
    if (output.empty()) return UsageError("upload", "-o FILE is required");

    CliPrompter terminal;
    TerminalLink observer;
    AfterProgress prompter(terminal, observer);
    TMap54 map;
    TCEmem emem;
    SetDefaults(emem);
    std::string backup;
    {
        auto driver = OpenLinkPort(port, ToolSettleMs, prompter, ToolConnectOptions(observer));
        if (!driver) return ExitFailed;
        const LinkTiming timing = ToolLinkTiming();
        CloneLink link{*driver, observer, SystemClock(), timing};
        const Safeguards guards = ToolSafeguards(port, false, parsed.Value("--trace", ""));
        const CloneResult result = GuardedUpload(link, prompter, map, emem, guards, &backup);
        driver.reset();  // the port is closed before anything else happens
        observer.EndLine();
        if (result != CloneResult::Ok) {
            if (result == CloneResult::Cancelled) std::fprintf(stderr, "qm54 upload: cancelled, nothing written\n");
            return ExitFailed;
        }
    }
    // The file is written only now, whole or not at all.
    if (SaveDataFile(FullPath(output), emem, map, prompter)) return ExitOk;
    if (!backup.empty())
        std::fprintf(stderr, "qm54 upload: %s was not written; what was read is kept in the backup %s\n",
                     output.c_str(), backup.c_str());
    else
        std::fprintf(stderr, "qm54 upload: %s was not written, and no backup of what was read was kept\n",
                     output.c_str());
    return ExitFailed;
}

}  // namespace qm54::cli
