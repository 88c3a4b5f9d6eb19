#include "link/verify.h"

#include "model/image/map54.h"

#include <algorithm>

namespace qm54 {

namespace {

constexpr size_t kArea1Size = 80;
constexpr size_t kArea2Size = 128;  // up to ChecksumA, whose place the computed byte takes
constexpr size_t kChannelAreaSize = size_t{image::ChannelRecordSize} * ChannelCount;
constexpr size_t kAlphaTagAreaSize = size_t{image::AlphaTagRecordSize} * 48;
constexpr size_t kMostNamed = 20;  // differences listed by name; the rest are counted

// The user's cancel, or the read-back's time limit, as the read sees a cancel.
class Deadline final : public LinkObserver {
public:
    Deadline(LinkObserver& inner, Clock& clock, int limitMs)
        : inner_(inner), clock_(clock), end_(clock.NowMs() + limitMs)
    {
    }
    void SetProgress(int position, int maximum) override { inner_.SetProgress(position, maximum); }
    void PumpEvents() override { inner_.PumpEvents(); }
    bool CancelRequested() const override
    {
        if (inner_.CancelRequested()) return true;
        if (clock_.NowMs() >= end_) expired_ = true;
        return expired_;
    }
    bool Expired() const { return expired_ && !inner_.CancelRequested(); }

private:
    LinkObserver& inner_;
    Clock& clock_;
    int64_t end_;
    mutable bool expired_ = false;
};

// What the user is told: the success text, or the heading of the list of differences.
struct VerifyTexts {
    const char* Verified;
    const char* Differs;
};
constexpr VerifyTexts kAfterDownload{DownloadVerifiedText,
                                     "Download is not verified\r\nThe repeater holds other data than was sent in:"};
constexpr VerifyTexts kAgainstFile{"The repeater holds the file's data",
                                   "Verify failed\r\nThe repeater holds other data than the file in:"};

std::string DifferenceText(const char* heading, const std::vector<std::string>& names)
{
    std::string text = heading;
    for (size_t i = 0; i < names.size() && i < kMostNamed; ++i) text += "\r\n  " + names[i];
    if (names.size() > kMostNamed) text += "\r\n  and " + std::to_string(names.size() - kMostNamed) + " more";
    return text;
}

std::string ReadFailureText(CloneResult read)
{
    const char* why = "the transfer failed";
    if (read == CloneResult::Timeout) why = "Timeout";
    if (read == CloneResult::BadChecksum) why = "Checksum error";
    return std::string("Verify error: the repeater could not be read back (") + why + ")";
}

// Reads the repeater back; the expected image is made from the read-back by expectedOf.
template <typename ExpectedOf>
VerifyOutcome ReadAndCompare(CloneLink& link, Prompter& prompter, OperatingMode mode, const VerifyTexts& texts,
                             ExpectedOf expectedOf)
{
    VerifyOutcome outcome;
    Deadline deadline(link.Observer, link.Time, link.Timing.VerifyLimitMs);
    CloneLink bounded{link.Port, deadline, link.Time, link.Timing, link.Trace};
    outcome.Read = ReadRepeaterImage(bounded, outcome.ReadBack);
    if (link.Observer.CancelRequested()) {
        outcome.Result = VerifyResult::Cancelled;
        return outcome;
    }
    if (deadline.Expired()) {
        outcome.Result = VerifyResult::TimedOut;
        ShowMessageBox(prompter,
                       "Verify error: the repeater did not answer the read-back within " +
                           std::to_string(link.Timing.VerifyLimitMs / 1000) + " seconds",
                       MsgKind::Error);
        return outcome;
    }
    if (outcome.Read != CloneResult::Ok) {
        outcome.Result = VerifyResult::ReadFailed;
        ShowMessageBox(prompter, ReadFailureText(outcome.Read), MsgKind::Error);
        return outcome;
    }
    CloseClone(link);
    const std::vector<ImageRange> ranges = WrittenRanges(mode);
    outcome.Differences = ImageDifferences(expectedOf(outcome.ReadBack), outcome.ReadBack, ranges);
    outcome.Result = outcome.Differences.empty() ? VerifyResult::Verified : VerifyResult::Differs;
    if (outcome.Result == VerifyResult::Verified)
        ShowMessageBox(prompter, texts.Verified, MsgKind::Information);
    else
        ShowMessageBox(prompter, DifferenceText(texts.Differs, outcome.Differences), MsgKind::Error);
    return outcome;
}

}  // namespace

std::vector<ImageRange> WrittenRanges(OperatingMode mode)
{
    const ImageRange channels{image::ChannelArea, kChannelAreaSize};
    if (mode == OperatingMode::Normal) return {channels};
    return {{image::CommonArea, kArea1Size},
            {image::ChecksumAFirst, kArea2Size},
            channels,
            {image::AlphaTagArea, kAlphaTagAreaSize}};
}

VerifyOutcome VerifyDownload(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& sent)
{
    return ReadAndCompare(link, prompter, mode, kAfterDownload, [&](const CloneImage&) { return sent; });
}

VerifyOutcome VerifyImage(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& image)
{
    return ReadAndCompare(link, prompter, mode, kAgainstFile, [&](const CloneImage& readBack) {
        return SentImage(image, mode, std::span<const uint8_t>(readBack.data(), kArea1Size));
    });
}

}  // namespace qm54
