// qm54 align: a scripted alignment session for the service bench. Enters the alignment mode of
// one frequency point, runs the steps in order (switch commands, status requests, waits and field
// values sent with the next switch command), and always leaves with the full leaving sequence,
// after a broken exchange and after Ctrl+C too. --save writes the committed values to FILE at the
// end, as the window's OK; otherwise FILE is left as it was, as Cancel.
#include "cli/cli_prompter.h"
#include "cli/link_session.h"
#include "cli/verbs.h"
#include "link/alignment.h"
#include "link/port_discovery.h"
#include "link/radio_port.h"
#include "model/storage/datafile.h"
#include "model/settings/dialog_rows.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/settings/service_fields.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <variant>

namespace qm54::cli {

namespace {

constexpr const char* kVerb = "align";
constexpr int kWaitSliceMs = 50;
constexpr int kLongestWaitMs = 3'600'000;

struct SwitchStep {
    AlignSwitch Which;
};
struct StatusStep {};
struct WaitStep {
    int Ms;
};
struct FieldStep {
    std::string_view Key;
    std::string Typed;  // as the field holds it after typing
};
using Step = std::variant<SwitchStep, StatusStep, WaitStep, FieldStep>;

const struct {
    const char* Name;
    AlignSwitch Which;
} kSwitchSteps[] = {
    {"rx-on", AlignSwitch::RxOn},   {"rx-off", AlignSwitch::RxOff},   {"tx-on", AlignSwitch::TxOn},
    {"tx-off", AlignSwitch::TxOff}, {"trx-on", AlignSwitch::TrxOn}, {"trx-off", AlignSwitch::TrxOff},
};

const char* SwitchName(AlignSwitch which)
{
    constexpr const char* kNames[] = {"RX on", "RX off", "TX on", "TX off", "TRX on", "TRX off"};
    return kNames[static_cast<int>(which)];
}

bool IsTrx(AlignSwitch which) { return which == AlignSwitch::TrxOn || which == AlignSwitch::TrxOff; }

// One step's text, or the reason it is not one.
std::optional<Step> ParseStep(const std::string& text, bool repeater, std::string& error)
{
    for (const auto& s : kSwitchSteps) {
        if (text != s.Name) continue;
        if (IsTrx(s.Which) != repeater) {
            error = text + (repeater ? " needs --station base" : " needs --station repeater");
            return std::nullopt;
        }
        return SwitchStep{s.Which};
    }
    if (text == "status") return StatusStep{};
    if (text.rfind("wait:", 0) == 0) {
        int ms = -1;
        const char* first = text.data() + 5;
        const char* last = text.data() + text.size();
        const auto [end, ec] = std::from_chars(first, last, ms);
        if (ec != std::errc() || end != last || first == last || ms < 0 || ms > kLongestWaitMs) {
            error = "bad wait \"" + text + "\" (wait:MS, 0 to 3600000)";
            return std::nullopt;
        }
        return WaitStep{ms};
    }
    const size_t equals = text.find('=');
    if (equals != std::string::npos) {
        const std::string key = text.substr(0, equals);
        const auto known = std::find(AlignmentKeys.begin(), AlignmentKeys.end(), key);
        if (known == AlignmentKeys.end()) {
            error = "\"" + key + "\" is not a field of the alignment window";
            return std::nullopt;
        }
        return FieldStep{*known, TypedIntoField(ServiceRule(*known), text.substr(equals + 1))};
    }
    error = "unknown step \"" + text + "\"";
    return std::nullopt;
}

bool ParseConditions(const ParsedArgs& parsed, AlignConditions& c, std::string& error)
{
    // The option values are words in any letter case, as --mode takes its names.
    const std::string station = ToUpperAscii(parsed.Value("--station", "base"));
    const std::string power = ToUpperAscii(parsed.Value("--power", "high"));
    const std::string width = ToUpperAscii(parsed.Value("--width", "wide"));
    const std::string encoder = parsed.Value("--encoder", "off");
    const std::string encoderKind = ToUpperAscii(encoder.substr(0, encoder.find(':') + 1));
    if (station != "BASE" && station != "REPEATER") error = "--station is base or repeater";
    if (power != "HIGH" && power != "LOW") error = "--power is high or low";
    if (width != "WIDE" && width != "NARROW") error = "--width is wide or narrow";
    c.Repeater = station == "REPEATER";
    c.LowPower = power == "LOW";
    c.Narrow = width == "NARROW";
    if (ToUpperAscii(encoder) == "OFF") {
        c.Encoder = AlignEncoder::Off;
    } else if (encoderKind == "CTCSS:") {
        c.Encoder = AlignEncoder::Ctcss;
        c.Tone = encoder.substr(6);
    } else if (encoderKind == "DCS:") {
        c.Encoder = AlignEncoder::Dcs;
        c.Code = encoder.substr(4);
    } else {
        error = "--encoder is off, ctcss:TONE or dcs:CODE";
    }
    return error.empty();
}

int PointNamed(const std::string& name)
{
    constexpr const char* kPoints[] = {"LOWEST", "LOW", "HIGH", "HIGHEST"};
    for (int p = 0; p < AlignmentPointCount; ++p)
        if (ToUpperAscii(name) == kPoints[p]) return p;
    return -1;
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char byte[4];
    for (uint8_t b : bytes) {
        std::snprintf(byte, sizeof byte, text.empty() ? "%02X" : " %02X", b);
        text += byte;
    }
    return text;
}

// Error messages as the window shows them; the status line stands for the information message.
class BenchPrompter : public Prompter {
public:
    explicit BenchPrompter(Prompter& inner) : inner_(inner) {}
    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& detail) override
    {
        if (kind == MsgKind::Information) return MsgResult::Ok;
        return inner_.Show(text, kind, buttons, detail);
    }

private:
    Prompter& inner_;
};

// Ctrl+C ends the session between steps: no exchange is cut short, so the leaving sequence
// always finds the line in order.
class BenchObserver : public LinkObserver {
public:
    void SetProgress(int, int) override {}
    void PumpEvents() override {}
    bool CancelRequested() const override { return false; }
    bool Interrupted() const { return interrupt_.CancelRequested(); }
    NetConnectOptions ConnectOptions() const { return ToolConnectOptions(interrupt_); }

private:
    TerminalLink interrupt_;  // owns the SIGINT flag
};

class Session {
public:
    Session(CloneLink& link, Prompter& prompter, BenchObserver& observer, int point, const AlignConditions& c,
            TCEmem& emem, TMap54& map)
        : link_(link), prompter_(prompter), observer_(observer), point_(point), conditions_(c), emem_(emem), map_(map)
    {
    }

    // Runs one step and prints its line; false when the exchange broke.
    bool Run(const Step& step)
    {
        if (const auto* s = std::get_if<SwitchStep>(&step)) return Switch(s->Which);
        if (std::holds_alternative<StatusStep>(step)) return Status();
        if (const auto* w = std::get_if<WaitStep>(&step)) {
            int waited = 0;
            while (waited < w->Ms && !observer_.Interrupted()) {
                const int slice = std::min(kWaitSliceMs, w->Ms - waited);
                link_.Time.SleepMs(slice);
                waited += slice;
            }
            if (waited < w->Ms)
                std::printf("waited %d ms of %d (interrupted)\n", waited, w->Ms);
            else
                std::printf("waited %d ms\n", waited);
            return true;
        }
        const auto& f = std::get<FieldStep>(step);
        const int index = IsPerPoint(f.Key) ? point_ : 0;
        StoreServiceField(emem_, f.Key, index, f.Typed);
        std::printf("%.*s[%d] = %s (sent with the next switch command)\n", int(f.Key.size()), f.Key.data(), index,
                    ServiceFieldText(emem_, f.Key, index).c_str());
        return true;
    }

private:
    static bool IsPerPoint(std::string_view key) { return key != "SqlNarrowOffset" && key != "SqlHysteresis"; }

    bool Switch(AlignSwitch which)
    {
        const AlignOutcome outcome = AlignCommand(link_, prompter_, which, point_, conditions_, emem_, map_);
        const std::vector<uint8_t> frame = BuildAlignFrame(which, point_, conditions_, map_.Bytes());
        const char* answer = outcome == AlignOutcome::Done      ? "acknowledged"
                             : outcome == AlignOutcome::Refused ? "not acknowledged (no 0x06 0x17)"
                                                                : "no answer";
        std::printf("%s: sent %s; %s\n", SwitchName(which), Hex(frame).c_str(), answer);
        return outcome != AlignOutcome::Broken;
    }

    bool Status()
    {
        AlignStatusTexts texts;
        const AlignOutcome outcome = AlignStatus(link_, prompter_, texts);
        if (outcome == AlignOutcome::Done)
            std::printf("VR %s NSQ %s RSSI %s\n", texts[0].c_str(), texts[1].c_str(), texts[2].c_str());
        else if (outcome == AlignOutcome::Refused)
            std::printf("status: reply rejected (NAK sent)\n");
        else
            std::printf("status: no answer\n");
        return outcome != AlignOutcome::Broken;
    }

    CloneLink& link_;
    Prompter& prompter_;
    BenchObserver& observer_;
    int point_;
    AlignConditions conditions_;
    TCEmem& emem_;
    TMap54& map_;
};

}  // namespace

int RunAlign(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args,
                   {{"--point", true}, {"--port", true}, {"--mode", true}, {"--factory-code", true},
                    {"--station", true}, {"--power", true}, {"--width", true}, {"--encoder", true}, {"--save", false},
                    {"--output", true}},
                   parsed, error))
        return UsageError(kVerb, error);
    if (parsed.Positional.empty()) return UsageError(kVerb, "a data FILE is required");
    const std::string file = parsed.Positional[0];
    const int point = PointNamed(parsed.Value("--point", ""));
    if (point < 0) return UsageError(kVerb, "--point is lowest, low, high or highest");
    const std::string port = parsed.Value("--port", "");
    if (port.empty()) return UsageError(kVerb, "--port DEV is required");
    if (ModeNamed(parsed.Value("--mode", "")) != OperatingMode::Manufacture)
        return UsageError(kVerb, "the alignment mode needs --mode manufacture");
    AlignConditions conditions;
    if (!ParseConditions(parsed, conditions, error)) return UsageError(kVerb, error);
    std::vector<Step> steps;
    for (size_t i = 1; i < parsed.Positional.size(); ++i) {
        std::optional<Step> step = ParseStep(parsed.Positional[i], conditions.Repeater, error);
        if (!step) return UsageError(kVerb, error);
        // A field the window greys out under these conditions is neither typed nor sent there.
        if (const auto* field = std::get_if<FieldStep>(&*step))
            if (const std::string greyed = AlignFieldGreyedBecause(field->Key, conditions); !greyed.empty()) {
                std::fprintf(stderr, "qm54 align: %s cannot be set while %s; nothing was sent\n",
                             parsed.Positional[i].c_str(), greyed.c_str());
                return ExitFailed;
            }
        steps.push_back(std::move(*step));
    }
    const bool save = parsed.Has("--save");
    if (parsed.Values.count("--output") && !save) return UsageError(kVerb, "--output goes with --save");
    const std::optional<std::string> target = save ? ResultFile(kVerb, file, parsed) : file;
    if (!target) return ExitFailed;
    if (!FactoryCodeAccepted(parsed)) {
        std::fprintf(stderr, "qm54 align: the factory code is not right; nothing was sent\n");
        return ExitFailed;
    }

    CliPrompter terminal;
    BenchPrompter prompter(terminal);
    TMap54 map;
    TCEmem emem;
    SetDefaults(emem);
    if (!LoadToolFile(file, emem, map)) return ExitFailed;

    BenchObserver observer;
    bool broken = false;
    {
        auto driver = OpenLinkPort(port, ToolSettleMs, prompter, observer.ConnectOptions());
        if (!driver) return ExitFailed;
        const LinkTiming timing = ToolLinkTiming();
        CloneLink link{*driver, observer, SystemClock(), timing};
        if (!EnterAlignment(link, prompter)) return ExitFailed;  // the port closes with the driver
        std::printf("alignment mode (%.*s): entered\n", int(PointNames[size_t(point)].size()),
                    PointNames[size_t(point)].data());
        std::fflush(stdout);
        Session session(link, prompter, observer, point, conditions, emem, map);
        for (const Step& step : steps) {
            if (observer.Interrupted()) break;
            broken = !session.Run(step);
            std::fflush(stdout);
            if (broken) break;
        }
        LeaveAlignment(link);
        std::printf(observer.Interrupted() ? "alignment mode: left (interrupted)\n" : "alignment mode: left\n");
    }
    if (broken || observer.Interrupted()) return ExitFailed;
    if (!save) return ExitOk;
    return SaveDataFile(FullPath(*target), emem, map, terminal) ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
