// qm54 download: writes a data file into the repeater, after the narrow-banding check.
#include "cli/cli_prompter.h"
#include "cli/link_session.h"
#include "cli/verbs.h"
#include "link/clone.h"
#include "link/port_discovery.h"
#include "link/radio_port.h"
#include "model/storage/datafile.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/document/narrowband.h"

#include <cstdio>

namespace qm54::cli {

namespace {

bool IsDateText(const std::string& text)
{
    if (text.size() != 8) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

int RunDownload(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args,
                   {{"--port", true},
                    {"--mode", true},
                    {"--yes", false},
                    {"--date", true},
                    {"--factory-code", true},
                    {"--verify", false},
                    {"--trace", true}},
                   parsed, error))
        return UsageError("download", error);
    if (parsed.Positional.size() != 1) return UsageError("download", "one data FILE is required");
    const std::string file = parsed.Positional[0];
    const std::string port = parsed.Value("--port", "");
    if (port.empty()) return UsageError("download", "--port DEV is required");
    const std::optional<OperatingMode> mode = ModeNamed(parsed.Value("--mode", "normal"));
    if (!mode) return UsageError("download", "--mode is normal, dealer or manufacture");
    const std::string date = parsed.Value("--date", TodayDateText());
    if (!IsDateText(date)) return UsageError("download", "--date is YYYYMMDD");

    if (*mode == OperatingMode::Manufacture) {
        if (!FactoryCodeAccepted(parsed)) {
            std::fprintf(stderr, "qm54 download: the factory code is not right; nothing was sent\n");
            return ExitFailed;
        }
    }

    CliPrompter terminal(parsed.Has("--yes"));
    TerminalLink observer;
    AfterProgress prompter(terminal, observer);
    TMap54 map;
    TCEmem emem;
    SetDefaults(emem);
    bool saveAllowed = true;
    if (!LoadDataFile(FullPath(file), emem, map, prompter, saveAllowed)) return ExitFailed;

    const NarrowbandOutcome narrowband = NarrowbandCheck(NarrowbandPolicyForDate(date), emem, prompter);
    if (!narrowband.Download) {
        std::fprintf(stderr, "qm54 download: not downloaded; %s is unchanged\n", file.c_str());
        return ExitFailed;
    }

    auto driver = OpenLinkPort(port, ToolSettleMs, prompter, ToolConnectOptions(observer));
    if (!driver) return ExitFailed;
    const LinkTiming timing = ToolLinkTiming();
    CloneLink link{*driver, observer, SystemClock(), timing};
    const Safeguards guards = ToolSafeguards(port, parsed.Has("--verify"), parsed.Value("--trace", ""));
    const DownloadOutcome outcome = GuardedDownload(link, prompter, *mode, emem, map, guards);
    driver.reset();
    observer.EndLine();
    if (outcome.Write == CloneResult::Cancelled || outcome.Verify == VerifyResult::Cancelled)
        std::fprintf(stderr, "qm54 download: cancelled\n");
    return outcome.Succeeded() ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
