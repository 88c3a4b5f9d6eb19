// qm54 verify: reads the repeater and compares it with what a download of a data file would leave
// there, without writing anything.
#include "cli/cli_prompter.h"
#include "cli/link_session.h"
#include "cli/verbs.h"
#include "link/port_discovery.h"
#include "link/radio_port.h"
#include "model/image/emem.h"
#include "model/image/map54.h"

#include <cstdio>

namespace qm54::cli {

int RunVerify(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--port", true}, {"--mode", true}, {"--trace", true}}, parsed, error))
        return UsageError("verify", error);
    if (parsed.Positional.size() != 1) return UsageError("verify", "one data FILE is required");
    const std::string port = parsed.Value("--port", "");
    if (port.empty()) return UsageError("verify", "--port DEV is required");
    const std::optional<OperatingMode> mode = ModeNamed(parsed.Value("--mode", "normal"));
    if (!mode) return UsageError("verify", "--mode is normal, dealer or manufacture");

    TMap54 map;
    TCEmem emem;
    SetDefaults(emem);
    if (!LoadToolFile(parsed.Positional[0], emem, map)) return ExitFailed;
    map.Encode(emem);  // the image as a download would send it

    CliPrompter terminal;
    TerminalLink observer;
    AfterProgress prompter(terminal, observer);
    auto driver = OpenLinkPort(port, ToolSettleMs, prompter, ToolConnectOptions(observer));
    if (!driver) return ExitFailed;
    const LinkTiming timing = ToolLinkTiming();
    CloneLink link{*driver, observer, SystemClock(), timing};
    const Safeguards guards = ToolSafeguards(port, true, parsed.Value("--trace", ""));
    const VerifyOutcome outcome = GuardedVerify(link, prompter, *mode, map.Bytes(), guards);
    driver.reset();
    observer.EndLine();
    if (outcome.Result == VerifyResult::Cancelled) std::fprintf(stderr, "qm54 verify: cancelled\n");
    return outcome.Result == VerifyResult::Verified ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
