// Verify: the repeater is read back with the clone read and the bytes it holds are compared,
// area by area, with the bytes a write sent (or would send). The Dealer and Manufacture modes
// compare areas 1, 2, 3 and 4; the Normal mode, which writes only the channel records, area 3.
// The read-back gives up after timing.VerifyLimitMs, so that a repeater that does not answer
// again never holds the program.
#pragma once

#include "link/clone.h"
#include "model/document/image_diff.h"

#include <string>
#include <vector>

namespace qm54 {

enum class [[nodiscard]] VerifyResult {
    Verified,   // every compared byte is as sent
    Differs,    // the repeater holds other bytes; Differences names them
    ReadFailed, // the read-back ended with a transfer failure
    TimedOut,   // no complete read-back within the limit
    Cancelled,  // the user cancelled; no message
};

struct VerifyOutcome {
    VerifyResult Result = VerifyResult::ReadFailed;
    CloneResult Read = CloneResult::Failed;  // how the read-back ended
    CloneImage ReadBack{};                   // valid when Read is Ok
    std::vector<std::string> Differences;
};

inline constexpr const char* DownloadVerifiedText = "Download is verified";

// The image bytes a write of mode sends.
std::vector<ImageRange> WrittenRanges(OperatingMode mode);

// After a download: reads the repeater back and compares it with sent (the write's
// WriteRecord::Sent), then ends the clone and tells the user: "Download is verified", or what
// differs, or why the read-back failed. Nothing on cancel.
VerifyOutcome VerifyDownload(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& sent);

// Without a write: reads the repeater and compares it with what a write of image in mode would
// leave there (SentImage with the repeater's own area 1), then tells the user as above.
VerifyOutcome VerifyImage(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& image);

}  // namespace qm54
