#include "link/line_pacer.h"

#include <algorithm>

namespace qm54 {

namespace {
constexpr int64_t kNanosPerSecond = 1'000'000'000;
constexpr int kMaxBitsPerByte = 16;  // with MaxBaud, k % baud x bits x 10^9 stays within 64 bits
}  // namespace

LinePacer::LinePacer(int baud, int bitsPerByte)
    : baud_(std::clamp(baud, 0, MaxBaud)),
      bitNanos_(static_cast<int64_t>(std::clamp(bitsPerByte, 1, kMaxBitsPerByte)) * kNanosPerSecond)
{
}

LinePacer::Nanos LinePacer::Offset(uint64_t k) const
{
    // k x bitNanos_ / baud_, rounded up, split so that the product cannot overflow.
    const auto baud = static_cast<uint64_t>(baud_);
    const auto bits = static_cast<uint64_t>(bitNanos_);
    const uint64_t whole = (k / baud) * bits;
    const uint64_t part = ((k % baud) * bits + baud - 1) / baud;
    return Nanos(static_cast<int64_t>(whole + part));
}

void LinePacer::Queued(size_t count, Nanos now)
{
    if (count == 0) return;
    if (pending_ == 0 && Paced()) {
        started_ = false;
        sentInBurst_ = 0;
        firstDue_ = now + Offset(1);
    }
    pending_ += count;
}

LinePacer::Nanos LinePacer::NextDue() const
{
    return started_ ? burstStart_ + Offset(sentInBurst_) : firstDue_;
}

size_t LinePacer::Due(Nanos now) const
{
    if (!Paced()) return pending_;
    if (pending_ == 0) return 0;
    if (!started_) return now >= firstDue_ ? 1 : 0;  // the others count from when this one goes
    size_t due = 0;
    while (due < pending_ && burstStart_ + Offset(sentInBurst_ + due) <= now) ++due;
    return due;
}

void LinePacer::Sent(size_t count, Nanos now)
{
    count = std::min(count, pending_);
    if (count == 0) return;
    pending_ -= count;
    if (!Paced()) return;
    if (!started_) {
        started_ = true;
        burstStart_ = now;
    }
    sentInBurst_ += count;
    if (pending_ == 0) started_ = false;
}

void LinePacer::Clear()
{
    pending_ = 0;
    started_ = false;
    sentInBurst_ = 0;
}

}  // namespace qm54
