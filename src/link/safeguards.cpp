#include "link/safeguards.h"

#include "link/port_check.h"
#include "link/port_name.h"
#include "link/trace.h"
#include "model/storage/atomic_file.h"
#include "model/storage/backup_store.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/storage/user_folders.h"

#include <ctime>
#include <functional>

namespace qm54 {

namespace {

// One exchange with its trace: the link runs over a TracingPort; at the end the trace is stored,
// and added to fileText, which goes to the trace file asked for (so that a download and its
// verify are both in it).
class TracedExchange {
public:
    TracedExchange(CloneLink& link, const Safeguards& guards, const char* kind, std::string& fileText)
        : guards_(guards), kind_(kind), fileText_(fileText), started_(std::time(nullptr)),
          recorder_(link.Time, std::string(kind) + " " + guards.PortName + " " + TimeStamp(started_)),
          port_(link.Port, recorder_), link_{port_, link.Observer, link.Time, link.Timing, &recorder_}
    {
    }

    CloneLink& Link() { return link_; }

    void End(const std::string& result, Prompter& prompter)
    {
        recorder_.Result(result);
        const std::string text = recorder_.Text();
        std::string reason;
        if (!guards_.TraceRoot.empty())
            static_cast<void>(StoreTrace(guards_.TraceRoot, UtcTimeStamp(started_), kind_, text, reason));
        if (guards_.TraceFile.empty()) return;
        fileText_ += text;
        const WriteResult written = AtomicWriteFile(guards_.TraceFile, fileText_);
        if (!written.Ok)
            prompter.Show("The serial trace could not be written\r\n" + guards_.TraceFile, MsgKind::Warning,
                          MsgButtons::Ok, written.Reason);
    }

private:
    const Safeguards& guards_;
    const char* kind_;
    std::string& fileText_;
    std::time_t started_;
    TraceRecorder recorder_;
    TracingPort port_;
    CloneLink link_;
};

// The exchange's prompter, which gives a "Timeout" (nothing answered) the port's diagnosis as its
// detail line, and a failed exchange over a network port the connection's reason (the server
// closed it, or reset it).
class Diagnosing final : public Prompter {
public:
    Diagnosing(Prompter& inner, const std::string& device, const SerialPort& port)
        : inner_(inner), device_(device), port_(port)
    {
    }
    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& detail) override
    {
        if (!detail.empty() || device_.empty()) return inner_.Show(text, kind, buttons, detail);
        if (IsNetworkPortName(device_)) {
            const bool failed = text == "Timeout" || text == "Upload error" || text == "Download error";
            return inner_.Show(text, kind, buttons, failed ? NetworkDiagnosis() : detail);
        }
        if (text != "Timeout") return inner_.Show(text, kind, buttons, detail);
        return inner_.Show(text, kind, buttons, PortDiagnosis(device_, PortIsOpenHere));
    }

private:
    std::string NetworkDiagnosis() const
    {
        const std::string reason = port_.SystemReason();
        if (!reason.empty()) return "The connection to " + device_ + " failed: " + reason + ".";
        return "The connection to " + device_ +
               " is open, but the repeater did not answer: check the server's serial line, the cable and that the "
               "repeater is switched on.";
    }

    Prompter& inner_;
    std::string device_;
    const SerialPort& port_;
};

// Keeps image as a backup; a backup that cannot be written is reported and nothing else changes.
// serial names the repeater when the image may hold another's (a Normal-mode download does not
// write the serial number). Returns the backup's path, or empty when none was written.
std::string KeepBackup(const Safeguards& guards, Prompter& prompter, const CloneImage& image,
                       BackupDirection direction, const std::string& serial = "")
{
    if (guards.BackupRoot.empty()) return {};
    const BackupWriteResult result =
        WriteBackup(guards.BackupRoot, image, direction, std::time(nullptr), guards.Rule, serial);
    if (result.Ok) return result.Path;
    prompter.Show("The backup could not be written\r\n" + result.Path, MsgKind::Warning, MsgButtons::Ok,
                  result.Reason);
    return {};
}

const char* VerifyName(VerifyResult result)
{
    switch (result) {
    case VerifyResult::Verified: return "verified";
    case VerifyResult::Differs: return "differs";
    case VerifyResult::ReadFailed: return "read-back failed";
    case VerifyResult::TimedOut: return "read-back timed out";
    case VerifyResult::Cancelled: return "Cancelled";
    }
    return "?";
}

VerifyOutcome TracedVerify(CloneLink& link, Prompter& prompter, const Safeguards& guards, std::string& fileText,
                           const std::function<VerifyOutcome(CloneLink&)>& run)
{
    TracedExchange exchange(link, guards, "verify", fileText);
    VerifyOutcome outcome = run(exchange.Link());
    exchange.End(VerifyName(outcome.Result), prompter);
    if (outcome.Read == CloneResult::Ok && outcome.Result != VerifyResult::Cancelled)
        KeepBackup(guards, prompter, outcome.ReadBack, BackupDirection::Verify);
    return outcome;
}

}  // namespace

Safeguards DefaultSafeguards(const std::string& portName, bool verify, const BackupRule& rule)
{
    Safeguards guards;
    guards.Verify = verify;
    guards.BackupRoot = BackupFolder();
    guards.Rule = rule;
    guards.TraceRoot = TraceFolder();
    guards.PortName = portName;
    return guards;
}

CloneResult GuardedUpload(CloneLink& link, Prompter& prompter, TMap54& map, TCEmem& emem, const Safeguards& guards,
                          std::string* backupPath)
{
    std::string fileText;
    TracedExchange exchange(link, guards, "upload", fileText);
    Diagnosing told(prompter, guards.PortName, link.Port);
    const CloneResult result = UploadFromRadio(exchange.Link(), told, map, emem);
    exchange.End(ResultName(result), prompter);
    if (result != CloneResult::Ok) return result;
    const std::string kept = KeepBackup(guards, prompter, map.Bytes(), BackupDirection::Upload);
    if (backupPath != nullptr) *backupPath = kept;
    return result;
}

DownloadOutcome GuardedDownload(CloneLink& link, Prompter& prompter, OperatingMode mode, const TCEmem& emem,
                                TMap54& map, const Safeguards& guards)
{
    DownloadOutcome outcome;
    WriteRecord record;
    std::string fileText;
    {
        TracedExchange exchange(link, guards, "download", fileText);
        Diagnosing told(prompter, guards.PortName, link.Port);
        map.Encode(emem);
        const CloneResult written = WriteRepeaterImage(exchange.Link(), told, mode, map.Bytes(), &record);
        outcome.Write = FinishDownload(exchange.Link(), told, written);
        exchange.End(ResultName(outcome.Write), prompter);
    }
    if (outcome.Write != CloneResult::Ok) return outcome;
    // The Normal mode writes only the channels, so the repeater keeps its serial number; the other
    // modes write the one the image holds (the Dealer mode the repeater's own).
    KeepBackup(guards, prompter, record.Sent, BackupDirection::Download,
               mode == OperatingMode::Normal ? SerialFolder(record.RepeaterArea1) : std::string());
    if (!guards.Verify) return outcome;
    outcome.Verify = TracedVerify(link, prompter, guards, fileText, [&](CloneLink& traced) {
                         return VerifyDownload(traced, prompter, mode, record.Sent);
                     }).Result;
    return outcome;
}

VerifyOutcome GuardedVerify(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& image,
                            const Safeguards& guards)
{
    std::string fileText;
    return TracedVerify(link, prompter, guards, fileText,
                        [&](CloneLink& traced) { return VerifyImage(traced, prompter, mode, image); });
}

}  // namespace qm54
