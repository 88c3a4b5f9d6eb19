// The simulator's pacing schedule, driven with made-up times: no test here waits.
#include "link/line_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qm54::LinePacer;
using Nanos = std::chrono::nanoseconds;
using std::chrono::milliseconds;

// The exact earliest time of byte k after the first, at 9600 baud and 11 bits a byte.
Nanos LineTime(int64_t k) { return Nanos((k * 11'000'000'000 + 9599) / 9600); }

// A writer that looks at the pacer only at the given times and sends whatever is due then.
// Returns the send time of every byte.
std::vector<Nanos> SendAt(LinePacer& pacer, const std::vector<Nanos>& wakeUps)
{
    std::vector<Nanos> sent;
    for (Nanos now : wakeUps) {
        const size_t due = pacer.Due(now);
        sent.insert(sent.end(), due, now);
        pacer.Sent(due, now);
    }
    return sent;
}

// Wake-ups that run late, stall and then catch up: the cases that let a schedule counted from when
// a byte was due, rather than from when the burst's first byte went, send bytes too close together.
std::vector<Nanos> UnevenWakeUps()
{
    std::vector<Nanos> times;
    Nanos t = milliseconds(0);
    for (int i = 0; i < 400; ++i) {
        t += Nanos(i % 7 == 0 ? 9'000'000 : i % 3 == 0 ? 50'000 : 700'000);  // stalls of 9 ms
        times.push_back(t);
    }
    return times;
}

TEST(LinePacer, NoByteOfABurstGoesSoonerThanTheLineAllowsAfterTheFirst)
{
    for (const Nanos firstLate : {Nanos(0), Nanos(3'000'000), Nanos(20'000'000)}) {
        SCOPED_TRACE(firstLate.count());
        LinePacer pacer(9600);
        const Nanos queued = milliseconds(1);
        pacer.Queued(90, queued);
        EXPECT_EQ(pacer.Due(queued + LineTime(1) - Nanos(1)), 0u);  // not even the first yet

        std::vector<Nanos> wakeUps{queued + LineTime(1) + firstLate};
        for (Nanos t : UnevenWakeUps()) wakeUps.push_back(wakeUps.front() + t);
        const std::vector<Nanos> sent = SendAt(pacer, wakeUps);
        ASSERT_EQ(sent.size(), 90u);
        EXPECT_EQ(sent.front(), wakeUps.front());
        for (size_t k = 1; k < sent.size(); ++k)
            ASSERT_GE(sent[k] - sent.front(), LineTime(static_cast<int64_t>(k))) << "byte " << k;
        EXPECT_EQ(pacer.Pending(), 0u);
    }
}

TEST(LinePacer, AWriterOnTimeSendsEveryByteAtItsExactLineTime)
{
    // 3 x 9600 bytes: a byte time truncated to whole nanoseconds would have them drift early.
    const int64_t count = 3 * 9600;
    LinePacer pacer(9600);
    pacer.Queued(static_cast<size_t>(count), Nanos(0));
    const Nanos first = pacer.NextDue();
    EXPECT_EQ(first, LineTime(1));
    for (int64_t k = 0; k < count; ++k) {
        const Nanos now = pacer.NextDue();
        ASSERT_EQ(now - first, LineTime(k)) << "byte " << k;
        ASSERT_EQ(pacer.Due(now), 1u);
        pacer.Sent(1, now);
    }
    EXPECT_EQ(pacer.Pending(), 0u);
    EXPECT_EQ(LineTime(count), Nanos(33'000'000'000));
}

TEST(LinePacer, BurstsJoinWhileBytesWaitAndANewOneStartsAByteTimeAfterItIsQueued)
{
    LinePacer pacer(9600);
    pacer.Queued(5, Nanos(0));
    const Nanos first = LineTime(1);
    pacer.Sent(pacer.Due(first), first);
    pacer.Queued(3, first + Nanos(10));  // joins: counted from the same first byte
    EXPECT_EQ(pacer.NextDue(), first + LineTime(1));
    EXPECT_EQ(pacer.Due(first + LineTime(7)), 7u);
    pacer.Sent(7, first + LineTime(7));
    EXPECT_EQ(pacer.Pending(), 0u);

    // The line was idle for a while: the next burst owes nothing to the last one.
    const Nanos later = first + milliseconds(500);
    pacer.Queued(2, later);
    EXPECT_EQ(pacer.Due(later), 0u);
    EXPECT_EQ(pacer.NextDue(), later + LineTime(1));

    pacer.Clear();
    EXPECT_EQ(pacer.Pending(), 0u);
    EXPECT_EQ(pacer.Due(later + milliseconds(10)), 0u);
}

TEST(LinePacer, WithoutARateEverythingIsDueAtOnce)
{
    LinePacer pacer(0);
    EXPECT_FALSE(pacer.Paced());
    pacer.Queued(300, Nanos(5));
    EXPECT_EQ(pacer.Due(Nanos(5)), 300u);
    pacer.Sent(120, Nanos(5));  // a short write
    EXPECT_EQ(pacer.Due(Nanos(5)), 180u);
}

}  // namespace
