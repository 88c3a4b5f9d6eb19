#include "cli/link_session.h"

#include "link/port_discovery.h"
#include "model/storage/ini.h"
#include "model/storage/program_folder.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace qm54::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
struct sigaction gPreviousAction;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

constexpr int kBarWidth = 33;

}  // namespace

LinkTiming ToolLinkTiming()
{
    LinkTiming timing;
    const char* fast = std::getenv("QM54_FAST_WAITS");
    if (fast != nullptr && std::strcmp(fast, "1") == 0) {
        timing.HandshakePauseMs = 5;
        timing.ShortPauseMs = 5;
        timing.AlignPauseMs = 5;
        timing.EndPauseMs = 5;
        timing.CompletePauseMs = 0;
        timing.NoDataMs = 1000;
        timing.VerifyLimitMs = 5000;
    }
    return timing;
}

NetConnectOptions ToolConnectOptions(const LinkObserver& observer)
{
    NetConnectOptions options;
    options.Cancelled = [&observer] { return observer.CancelRequested(); };
    return options;
}

Safeguards ToolSafeguards(const std::string& port, bool verify, const std::string& traceFile)
{
    const std::string folder = ResolveProgramFolder(CurrentProgramFolderInputs());
    TIniData ini(folder + "QM54Win.ini");
    ini.Load();
    Safeguards guards = DefaultSafeguards(PortDevicePath(port), verify, ReadAppSettings(ini, folder).Backups);
    guards.TraceFile = traceFile;
    return guards;
}

TerminalLink::TerminalLink(std::FILE* out) : out_(out), drawing_(isatty(fileno(out)) != 0)
{
    gInterrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &gPreviousAction);
}

TerminalLink::~TerminalLink()
{
    EndLine();
    sigaction(SIGINT, &gPreviousAction, nullptr);
}

void TerminalLink::SetProgress(int position, int maximum)
{
    if (!drawing_ || maximum <= 0) return;
    const int filled = position * kBarWidth / maximum;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    std::fprintf(out_, "\rRadio Data [%s] %3d%%", bar.c_str(), position * 100 / maximum);
    std::fflush(out_);
    lineOpen_ = true;
}

bool TerminalLink::CancelRequested() const { return gInterrupted != 0; }

void TerminalLink::EndLine()
{
    if (!lineOpen_) return;
    std::fputc('\n', out_);
    lineOpen_ = false;
}

}  // namespace qm54::cli
