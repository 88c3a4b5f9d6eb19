// The alignment exchange against arbitrary repeater replies: entering, a session of switch
// commands, status requests and committed field values, and leaving. Properties: the session
// ends in bounded time; once entered, the leaving sequence starts with 0x27 and ends with the
// closing pause; a failed entry sends nothing after its handshake; the settings change only by
// the commits the session made; the status texts are three two-digit hexadecimal numbers; every
// frame sent is well formed; the only messages are the connection message and "Upload is
// completed".
//
// Input: options byte (bits 0-1 the point, 2 repeater, 3 low power, 4 narrow, 5-6 the encoder),
// step count (at most 16), the steps (low 3 bits: 0-5 a switch, 6 the status, 7 a commit of a
// field value given by the upper bits), then the transcript of scripted_line.h.
#include "fuzz_check.h"
#include "scripted_line.h"
#include "link/alignment.h"
#include "model/settings/service_fields.h"
#include "new_image.h"

#include <algorithm>

namespace {

using namespace qm54;
using namespace qm54fuzz;

constexpr int64_t kMaxCalls = 2'000'000;
constexpr size_t kMaxSteps = 16;

// Nothing cancels an alignment exchange.
struct Bench : LinkObserver {
    void SetProgress(int, int) override {}
    void PumpEvents() override {}
    bool CancelRequested() const override { return false; }
};

bool WellFormed(const Bytes& frame)
{
    if (frame.size() < 5 || frame[1] != 0x00 || frame[2] != frame.size() - 3) return false;
    return ByteSum(std::span<const uint8_t>(frame.data(), frame.size() - 1)) == frame.back();
}

bool IsHex2(const std::string& text)
{
    return text.size() == 2 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
           });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t options = input.Byte();
    const size_t count = std::min<size_t>(input.Byte(), kMaxSteps);
    std::vector<uint8_t> steps;
    for (size_t i = 0; i < count; ++i) steps.push_back(input.Byte());

    const int point = options & 0x03;
    AlignConditions conditions;
    conditions.Repeater = (options & 0x04) != 0;
    conditions.LowPower = (options & 0x08) != 0;
    conditions.Narrow = (options & 0x10) != 0;
    conditions.Encoder = static_cast<AlignEncoder>(std::min((options >> 5) & 0x03, 2));

    FuzzClock clock;
    ScriptedLine line(input, clock);
    Bench bench;
    FuzzPrompter prompter(true);
    const LinkTiming timing;
    CloneLink link{line, bench, clock, timing};

    TCEmem emem;
    TMap54 map = NewImage(BandVhf, emem);
    TCEmem expected;
    expected = emem;

    const bool entered = EnterAlignment(link, prompter);
    if (!entered) {
        FUZZ_CHECK(line.attempts.size() <= 3);  // 0x02, and a NAK or an ACK
        FUZZ_CHECK(prompter.texts == std::vector<std::string>{AlignConnectionMessage});
        return 0;
    }
    for (uint8_t step : steps) {
        const int kind = step & 0x07;
        if (kind <= 5) {
            static_cast<void>(AlignCommand(link, prompter, static_cast<AlignSwitch>(kind), point, conditions, emem, map));
        } else if (kind == 6) {
            AlignStatusTexts texts{"---", "---", "---"};
            if (AlignStatus(link, prompter, texts) == AlignOutcome::Done)
                for (const std::string& t : texts) FUZZ_CHECK(IsHex2(t));
            else
                FUZZ_CHECK(texts[0] == "---");
        } else {
            const std::string_view key = AlignmentKeys[(step >> 3) % AlignmentKeys.size()];
            const std::string typed = std::to_string(step * 7);
            StoreServiceField(emem, key, point, typed);
            StoreServiceField(expected, key, point, typed);
        }
        FUZZ_CHECK(line.calls < kMaxCalls);
    }
    FUZZ_CHECK(emem == expected);

    const size_t beforeLeaving = line.attempts.size();
    const int64_t leavingStarted = clock.now;
    LeaveAlignment(link);
    FUZZ_CHECK(line.attempts.size() > beforeLeaving && line.attempts[beforeLeaving] == Bytes{clone_byte::ChannelsDone});
    FUZZ_CHECK(line.attempts.size() - beforeLeaving <= 4);
    FUZZ_CHECK(clock.now - leavingStarted >= timing.CompletePauseMs);
    FUZZ_CHECK(line.calls < kMaxCalls);
    FUZZ_CHECK(emem == expected);

    for (const Bytes& sent : line.sends)
        if (sent.size() > 1) FUZZ_CHECK(WellFormed(sent));
    for (const std::string& text : prompter.texts)
        FUZZ_CHECK(text == AlignConnectionMessage || text == "Upload is completed");
    return 0;
}
