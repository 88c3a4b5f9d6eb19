// Clone read against arbitrary repeater replies. Properties: the exchange ends, and soon after the
// user cancels; the caller's image and settings change only on a complete read, and then the
// settings are the image decoded; the clone is ended with 0x28 and "Upload is completed" exactly
// when the read succeeded; a failure shows at most one message.
#include "fuzz_check.h"
#include "scripted_line.h"
#include "link/clone.h"
#include "model/image/map54.h"

#include <algorithm>
#include <set>

namespace {

using namespace qm54;
using namespace qm54fuzz;

constexpr int64_t kMaxCalls = 5'000'000;
constexpr int64_t kMaxCallsAfterCancel = 5'000;
constexpr size_t kAreasEnd = 1456;  // the four read areas fill the image up to here

const std::set<std::string> kFailureTexts{"Upload error", "Timeout", "Checksum error",
                                          "Clone Data Error: incompatible data"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    input.Byte();  // options: none for a read
    const uint16_t cancelAfter = input.Word();

    FuzzClock clock;
    ScriptedLine line(input, clock);
    FuzzUser user(cancelAfter, clock, line);
    FuzzPrompter prompter(true);
    const LinkTiming timing;
    CloneLink link{line, user, clock, timing};

    TMap54 map;
    for (size_t i = 0; i < ImageSize; ++i) map.Bytes()[i] = static_cast<uint8_t>(i * 13 + 7);
    TCEmem emem;
    emem.ModelName = "before";
    const TMap54 mapBefore = map;
    const TCEmem ememBefore = emem;

    const bool done = UploadFromRadio(link, prompter, map, emem) == CloneResult::Ok;

    FUZZ_CHECK(line.calls < kMaxCalls);
    if (user.cancelSeenAtCall >= 0) FUZZ_CHECK(line.calls - user.cancelSeenAtCall < kMaxCallsAfterCancel);
    FUZZ_CHECK(user.progressInRange);

    const bool ended = std::count(line.attempts.begin(), line.attempts.end(), Bytes{clone_byte::End}) > 0;
    if (done) {
        // A Cancel pressed during the wind-up (after the end byte) no longer undoes the read.
        FUZZ_CHECK(user.cancelSeenAtCall < 0 || user.cancelSeenAtCall > line.attemptCalls.back());
        const ImageBytes& image = map.Bytes();
        FUZZ_CHECK(image.back() == 0x5A);
        FUZZ_CHECK(std::all_of(image.begin() + kAreasEnd, image.end() - 1, [](uint8_t b) { return b == 0; }));
        TCEmem decoded;
        FUZZ_CHECK(map.Decode(decoded));
        FUZZ_CHECK(decoded == emem);
        // The end byte is the last thing sent, once; whether its send went through is not checked.
        FUZZ_CHECK(line.attempts.back() == Bytes{clone_byte::End});
        FUZZ_CHECK(std::count(line.attempts.begin(), line.attempts.end(), Bytes{clone_byte::End}) == 1);
        FUZZ_CHECK(prompter.texts == std::vector<std::string>{"Upload is completed"});
        FUZZ_CHECK(user.lastPosition == CloneProgressMax);
    } else {
        FUZZ_CHECK(map == mapBefore);
        FUZZ_CHECK(emem == ememBefore);
        FUZZ_CHECK(!ended);
        FUZZ_CHECK(prompter.texts.size() <= 1);
        for (const std::string& text : prompter.texts) FUZZ_CHECK(kFailureTexts.count(text) == 1);
    }
    return 0;
}
