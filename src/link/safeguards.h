// The clone exchanges with what protects the user's data around them: every image read from or
// written to a repeater is kept as an automatic backup, every exchange leaves a serial trace, and
// a download may be verified by reading the repeater back. The protocols themselves are those
// of clone.h, unchanged; the window and the tool call these instead.
#pragma once

#include "link/clone.h"
#include "link/verify.h"
#include "model/storage/app_settings.h"

#include <optional>
#include <string>

namespace qm54 {

struct Safeguards {
    bool Verify = false;        // read a download back and compare
    std::string BackupRoot;     // where backups are kept; empty: none
    BackupRule Rule;
    std::string TraceRoot;      // where the last ten traces are kept; empty: none
    std::string TraceFile;      // also write the traces here (a download's, then its verify's); empty: not
    std::string PortName;       // the device path: named in the trace's heading, diagnosed when
                                // nothing answers ("Timeout" gets the diagnosis as its detail)
};

// The safeguards of a front end: backups and traces in the per-user folders.
Safeguards DefaultSafeguards(const std::string& portName, bool verify, const BackupRule& rule);

// UploadFromRadio, then a backup of what was read; backupPath, when given, gets the backup's path
// (empty when none was written).
CloneResult GuardedUpload(CloneLink& link, Prompter& prompter, TMap54& map, TCEmem& emem, const Safeguards& guards,
                          std::string* backupPath = nullptr);

struct DownloadOutcome {
    CloneResult Write = CloneResult::Failed;
    std::optional<VerifyResult> Verify;  // when a verify ran
    bool Succeeded() const { return Write == CloneResult::Ok && (!Verify || *Verify == VerifyResult::Verified); }
};

// DownloadToRadio, a backup of the image as sent, and, when guards.Verify, the read-back with its
// own backup.
DownloadOutcome GuardedDownload(CloneLink& link, Prompter& prompter, OperatingMode mode, const TCEmem& emem,
                                TMap54& map, const Safeguards& guards);

// VerifyImage of an image (a data file's), with a backup of what was read.
VerifyOutcome GuardedVerify(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& image,
                            const Safeguards& guards);

}  // namespace qm54
