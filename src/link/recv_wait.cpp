#include "link/serial_port.h"

#include <algorithm>
#include <array>

namespace qm54 {

namespace {
constexpr size_t kMaxWant = 1024;
constexpr size_t kStagingSize = 2048;
}  // namespace

RecvResult RecvWait(SerialPort& port, uint8_t* dest, size_t want, LinkObserver& observer, Clock& clock,
                    const LinkTiming& timing)
{
    // Every read asks for up to `want` more bytes, so the staging buffer must hold two requests'
    // worth: offset stays below want before a read, and a read adds at most want.
    if (want == 0 || want > kMaxWant || dest == nullptr) return RecvResult::DriverFailure;

    std::array<uint8_t, kStagingSize> staging{};
    size_t total = 0;
    int64_t lastByteAt = clock.NowMs();

    while (!observer.CancelRequested()) {
        size_t got = 0;
        if (port.ReadAvail(want, staging.data() + total, got) != 0) return RecvResult::DriverFailure;
        got = std::min(got, want);  // never trust the driver's count beyond what was asked

        if (got > 0) {
            total += got;
            if (total >= want) {
                std::copy_n(staging.begin(), want, dest);
                return RecvResult::Received;
            }
            lastByteAt = clock.NowMs();  // the no-data limit restarts from this byte
        } else {
            if (clock.NowMs() - lastByteAt >= timing.NoDataMs) return RecvResult::NoData;
            port.WaitReadable(timing.PollMs);
        }
        observer.PumpEvents();
    }
    return RecvResult::Cancelled;
}

}  // namespace qm54
