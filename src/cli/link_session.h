// What the tool's link verbs (upload, download) share: the waits, a text progress bar on a
// terminal, and Ctrl+C as Cancel.
#pragma once

#include "link/net_port.h"
#include "link/safeguards.h"
#include "link/serial_port.h"
#include "model/storage/prompter.h"

#include <string>

#include <cstdio>

namespace qm54::cli {

// The pause before the port's line state is applied a second time (PortSettleWait's default).
constexpr int ToolSettleMs = 10;

// The link's fixed waits. Test hook: with QM54_FAST_WAITS=1 in the environment the fixed pauses
// are cut to a few milliseconds and the no-data limit to 1000 ms, so that end-to-end tests of
// the fault cases finish quickly. Users never set it.
LinkTiming ToolLinkTiming();

// Connecting to a network port gives up after a few seconds, or when the observer is cancelled
// (Ctrl+C).
NetConnectOptions ToolConnectOptions(const LinkObserver& observer);

// The tool's safeguards: backups and the last ten traces in the per-user folders, the backup rule
// of the settings file, and traceFile (--trace) when given.
Safeguards ToolSafeguards(const std::string& port, bool verify, const std::string& traceFile);

// The progress of a clone as a text bar on stderr, drawn only when stderr is a terminal, and
// Cancel as the flag that SIGINT sets while the observer lives (the handler does nothing else).
class TerminalLink : public LinkObserver {
public:
    explicit TerminalLink(std::FILE* out = stderr);
    ~TerminalLink() override;
    TerminalLink(const TerminalLink&) = delete;
    TerminalLink& operator=(const TerminalLink&) = delete;

    void SetProgress(int position, int maximum) override;
    void PumpEvents() override {}
    bool CancelRequested() const override;

    // Ends the bar's line, so that a message starts on a fresh one.
    void EndLine();

private:
    std::FILE* out_;
    bool drawing_;
    bool lineOpen_ = false;
};

// A prompter that ends the progress bar's line before each message.
class AfterProgress : public Prompter {
public:
    AfterProgress(Prompter& inner, TerminalLink& link) : inner_(inner), link_(link) {}
    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& detail) override
    {
        link_.EndLine();
        return inner_.Show(text, kind, buttons, detail);
    }

private:
    Prompter& inner_;
    TerminalLink& link_;
};

}  // namespace qm54::cli
