// LinePacer: when each byte of a queue may go out so that a pseudo-terminal carries it no faster
// than a serial line at a given rate would. The simulator paces its output with it; the times are
// the caller's, so a test can drive it with a fake clock.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace qm54 {

class LinePacer {
public:
    using Nanos = std::chrono::nanoseconds;

    // Rates above this are paced at this rate (far beyond any serial line).
    static constexpr int MaxBaud = 100'000'000;

    // baud 0 or less: no pacing, every queued byte is due at once.
    explicit LinePacer(int baud, int bitsPerByte = 11);

    // count bytes join the queue at now. Bytes queued while others wait join their burst; the
    // first byte of a new burst is due one byte time after it was queued.
    void Queued(size_t count, Nanos now);
    // How many of the waiting bytes may go at now. Byte k of a burst is due k byte times after the
    // burst's first byte went (counted exactly, so a long burst does not drift early), however late
    // the writer comes: a writer that fell behind may send the bytes that are due together, but
    // never one before its time.
    size_t Due(Nanos now) const;
    // When the next waiting byte is due; meaningful only while Pending() > 0.
    Nanos NextDue() const;
    // count bytes (at most Due) went out at now.
    void Sent(size_t count, Nanos now);
    void Clear();

    size_t Pending() const { return pending_; }
    bool Paced() const { return baud_ > 0; }

private:
    // The time from a burst's first byte to its byte k.
    Nanos Offset(uint64_t k) const;

    int64_t baud_;
    int64_t bitNanos_;        // bits per byte x 10^9: a byte time is bitNanos_ / baud_ ns
    size_t pending_ = 0;
    bool started_ = false;    // the first byte of the burst has gone
    Nanos firstDue_{};        // until then: when it may go
    Nanos burstStart_{};      // from then: when it went
    uint64_t sentInBurst_ = 0;
};

}  // namespace qm54
