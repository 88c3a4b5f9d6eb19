// Serial traces: arbitrary events (bytes sent, bytes received, marks, results) are recorded, and
// the trace is stored under arbitrary stamps and kinds many times in one folder. Properties: every
// event is in the text in order, one line each; a stored trace lands in the folder under a name of
// safe characters and holds the text whole; at most ten traces stay, and the last one stored is
// among them.
//
// Input: a sequence of records: kind byte (low 2 bits: 0 sent, 1 received, 2 mark, 3 store),
// length byte, that many bytes.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "temp_folder.h"
#include "link/trace.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

using namespace qm54;
namespace fs = std::filesystem;

struct StepClock : Clock {
    int64_t now = 0;
    int64_t NowMs() override { return now += 3; }
    void SleepMs(int ms) override { now += ms; }
};

bool SafeName(const std::string& name)
{
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qm54fuzz::TempFolder folder;
    FUZZ_CHECK(!folder.path.empty());
    const std::string traces = (folder.path / "traces").string();
    StepClock clock;
    TraceRecorder recorder(clock, "fuzz");
    qm54fuzz::FuzzInput input(data, size);
    size_t events = 0;
    std::string lastStored;
    while (!input.Empty()) {
        const uint8_t kind = input.Byte();
        const auto bytes = input.Take(input.Byte());
        const std::string text(bytes.begin(), bytes.end());
        switch (kind & 3) {
        case 0: recorder.Sent(bytes); ++events; break;
        case 1: recorder.Received(bytes); break;
        case 2: recorder.Mark(static_cast<TraceMark>((kind >> 2) % 3)); ++events; break;
        case 3: {
            const std::string trace = recorder.Text();
            std::string reason;
            const std::string path = StoreTrace(traces, text.substr(0, text.size() / 2), text.substr(text.size() / 2),
                                                trace, reason);
            FUZZ_CHECK(!path.empty());
            FUZZ_CHECK(fs::path(path).parent_path() == fs::path(traces));
            FUZZ_CHECK(SafeName(fs::path(path).filename().string()));
            FUZZ_CHECK(qm54fuzz::ReadAll(path) == trace);
            lastStored = path;
            break;
        }
        }
    }
    const std::string text = recorder.Text();
    FUZZ_CHECK(text.rfind("# fuzz\n", 0) == 0);
    FUZZ_CHECK(!text.empty() && text.back() == '\n');
    // Received bytes join into one line until the next event, so there are at least as many lines
    // as sends and marks, plus the heading.
    FUZZ_CHECK(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= events + 1);
    if (!lastStored.empty()) {
        size_t stored = 0;
        std::error_code ec;
        for (fs::directory_iterator it(traces, ec), end; !ec && it != end; it.increment(ec)) ++stored;
        FUZZ_CHECK(stored <= 10);
        FUZZ_CHECK(fs::exists(lastStored));  // the trace just stored is never pruned
        FUZZ_CHECK(!NewestTrace(traces).empty());
    }
    return 0;
}
