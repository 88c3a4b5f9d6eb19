// Clone write against arbitrary repeater replies. Properties: the exchange ends, and soon after the
// user cancels; the caller's settings are not changed and its image holds them encoded; the clone is ended with 0x28 and "Download is
// completed" exactly when the write succeeded; every frame sent is well formed; the Normal mode
// sends only the channel area; a refused band sends no block at all; the Dealer mode keeps the
// repeater's own factory bytes of area 1.
#include "fuzz_check.h"
#include "scripted_line.h"
#include "link/clone.h"
#include "new_image.h"

#include <algorithm>
#include <set>

namespace {

using namespace qm54;
using namespace qm54fuzz;

constexpr int64_t kMaxCalls = 5'000'000;
constexpr int64_t kMaxCallsAfterCancel = 5'000;

const std::set<std::string> kFailureTexts{
    "Download error", "Timeout", "Checksum error", "Clone Data Error: incompatible data",
    "Frequency band is different\r\nChange the frequency band?",
    "Frequency band is differrent\r\nUpload the programming data from the KTD-4150 before\r\ndownloading,"};

// Write commands of the five areas.
const std::set<uint8_t> kWriteCommands{0x11, 0x21, 0x41, 0x61, 0x63};
const std::set<uint8_t> kFullWriteCommands{0x11, 0x21, 0x61, 0x63};

OperatingMode ModeOf(uint8_t options)
{
    switch (options & 0x03) {
    case 0: return OperatingMode::Normal;
    case 1: return OperatingMode::Dealer;
    default: return OperatingMode::Manufacture;
    }
}

bool WellFormed(const Bytes& frame)
{
    if (frame.size() < 5 || frame[1] != 0x00 || frame[2] != frame.size() - 3) return false;
    return ByteSum(std::span<const uint8_t>(frame.data(), frame.size() - 1)) == frame.back();
}

// The band message of the Normal and Dealer modes, or a No to the Manufacture mode's question.
bool RefusedBand(const FuzzPrompter& prompter, OperatingMode mode)
{
    const bool bandDiffers = !prompter.texts.empty() && prompter.texts.front().rfind("Frequency band is", 0) == 0;
    return bandDiffers && (mode != OperatingMode::Manufacture || prompter.answer == MsgResult::No);
}

bool IsFactoryByte(size_t i) { return i == 22 || i == 23 || (i >= 72 && i <= 79); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t options = input.Byte();  // bits 0-1 the mode, bit 2 the band question's answer (1 Yes)
    const uint16_t cancelAfter = input.Word();
    const OperatingMode mode = ModeOf(options);

    FuzzClock clock;
    ScriptedLine line(input, clock);
    FuzzUser user(cancelAfter, clock, line);
    FuzzPrompter prompter((options & 0x04) != 0);
    const LinkTiming timing;
    CloneLink link{line, user, clock, timing};

    // The caller's image holds bytes that no setting owns; the settings are those of "New" for
    // VHF, the band the seed transcripts' repeater has.
    TCEmem emem;
    TMap54 map = NewImage(BandVhf, emem);
    for (size_t i = 1456; i < 1985; ++i) map.Bytes()[i] = static_cast<uint8_t>(i * 29 + 1);
    const TCEmem ememBefore = emem;
    TMap54 expected = map;
    expected.Encode(emem);

    const bool done = DownloadToRadio(link, prompter, mode, emem, map) == CloneResult::Ok;

    FUZZ_CHECK(line.calls < kMaxCalls);
    if (user.cancelSeenAtCall >= 0) FUZZ_CHECK(line.calls - user.cancelSeenAtCall < kMaxCallsAfterCancel);
    FUZZ_CHECK(user.progressInRange);
    FUZZ_CHECK(emem == ememBefore);
    FUZZ_CHECK(map == expected);

    const bool ended = std::count(line.attempts.begin(), line.attempts.end(), Bytes{clone_byte::End}) > 0;
    if (done) {
        // The end byte is the last thing sent, once; whether its send went through is not checked.
        FUZZ_CHECK(line.attempts.back() == Bytes{clone_byte::End});
        FUZZ_CHECK(std::count(line.attempts.begin(), line.attempts.end(), Bytes{clone_byte::End}) == 1);
        FUZZ_CHECK(prompter.texts.back() == "Download is completed");
    } else {
        FUZZ_CHECK(!ended);
        for (const std::string& text : prompter.texts) FUZZ_CHECK(kFailureTexts.count(text) == 1);
    }

    bool wroteBlock = false;
    for (const Bytes& sent : line.sends) {
        if (sent.size() <= 1) continue;
        FUZZ_CHECK(WellFormed(sent));
        const bool isWrite = kWriteCommands.count(sent[0]) == 1;
        wroteBlock = wroteBlock || isWrite;
        if (mode == OperatingMode::Normal) FUZZ_CHECK(kFullWriteCommands.count(sent[0]) == 0);
        if (mode == OperatingMode::Dealer && sent[0] == 0x11) {
            // The area 1 payload starts at frame byte 4 in the write and in the repeater's reply.
            const Bytes* reply = line.CleanAnswerTo(BuildFrame(0x12, 0, {}));
            if (reply != nullptr && reply->size() >= 4 + 80) {
                for (size_t i = 0; i < 80; ++i)
                    if (IsFactoryByte(i)) FUZZ_CHECK(sent[4 + i] == (*reply)[4 + i]);
            }
        }
    }
    if (RefusedBand(prompter, mode)) FUZZ_CHECK(!wroteBlock);
    return 0;
}
