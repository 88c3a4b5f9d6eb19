#include "link/serial_port.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

using qm54::RecvResult;
using qm54::RecvWait;
using qm54test::CountingObserver;
using qm54test::FakeClock;

// Bytes that become readable at given instants of the fake clock. Waiting advances the clock
// to the next arrival or by the poll interval, whichever comes first.
struct TimedPort : qm54::SerialPort {
    struct Arrival {
        int64_t at;
        std::vector<uint8_t> bytes;
    };
    FakeClock& clock;
    std::deque<Arrival> pending;
    std::vector<uint8_t> queued;
    int failAtRead = -1;  // the read (counted from 0) that fails
    int reads = 0;
    std::vector<size_t> asked;
    std::string error;

    explicit TimedPort(FakeClock& c) : clock(c) {}
    void Arrive(int64_t at, std::vector<uint8_t> bytes) { pending.push_back({at, std::move(bytes)}); }

    void Deliver()
    {
        while (!pending.empty() && pending.front().at <= clock.now) {
            queued.insert(queued.end(), pending.front().bytes.begin(), pending.front().bytes.end());
            pending.pop_front();
        }
    }
    int Send(const uint8_t*, size_t) override { return 0; }
    int InQueue() override
    {
        Deliver();
        return static_cast<int>(queued.size());
    }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
        got = 0;
        if (reads++ == failAtRead) return 1;
        asked.push_back(max);
        Deliver();
        got = std::min(max, queued.size());
        std::copy_n(queued.begin(), got, buffer);
        queued.erase(queued.begin(), queued.begin() + static_cast<long>(got));
        return 0;
    }
    void PurgeRx() override { queued.clear(); }
    void PurgeTx() override {}
    void WaitReadable(int ms) override
    {
        Deliver();
        if (!queued.empty()) return;
        int64_t until = clock.now + ms;
        if (!pending.empty()) until = std::min(until, pending.front().at);
        clock.now = until;
    }
    const std::string& ErrorText() const override { return error; }
    std::string SystemReason() const override { return {}; }
};

struct RecvWaitTest : ::testing::Test {
    FakeClock clock;
    TimedPort port{clock};
    CountingObserver observer;
    qm54::LinkTiming timing;
    std::vector<uint8_t> dest = std::vector<uint8_t>(8, 0xEE);

    RecvResult Recv(size_t want) { return RecvWait(port, dest.data(), want, observer, clock, timing); }
};

TEST_F(RecvWaitTest, GapShorterThanTheLimitIsBridgedBecauseEveryByteRestartsIt)
{
    // 2 bytes after 3 s, then 3 more 4 s later: 7 s in all, but never 5 s without a byte.
    port.Arrive(clock.now + 3000, {1, 2});
    port.Arrive(clock.now + 7000, {3, 4, 5});
    ASSERT_EQ(Recv(5), RecvResult::Received);
    EXPECT_EQ(std::vector<uint8_t>(dest.begin(), dest.begin() + 5), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(dest[5], 0xEE);
    // the second read still asks for the whole count; the surplus would be dropped
    EXPECT_EQ(port.asked.back(), 5u);
}

TEST_F(RecvWaitTest, SurplusOfTheLastReadIsDropped)
{
    port.Arrive(clock.now, {1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(Recv(5), RecvResult::Received);
    EXPECT_EQ(std::vector<uint8_t>(dest.begin(), dest.begin() + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 0xEE}));

    // staged 3, then a read of up to 5 brings 4 more: the first 5 of the 7 are kept
    port.queued.clear();
    std::fill(dest.begin(), dest.end(), 0xEE);
    port.Arrive(clock.now + 10, {10, 11, 12});
    port.Arrive(clock.now + 20, {13, 14, 15, 16});
    ASSERT_EQ(Recv(5), RecvResult::Received);
    EXPECT_EQ(std::vector<uint8_t>(dest.begin(), dest.begin() + 6), (std::vector<uint8_t>{10, 11, 12, 13, 14, 0xEE}));
}

TEST_F(RecvWaitTest, SilenceEndsWithTimeoutCountedFromTheLastByte)
{
    int64_t start = clock.now;
    EXPECT_EQ(Recv(3), RecvResult::NoData);
    EXPECT_GE(clock.now - start, 5000);
    EXPECT_LT(clock.now - start, 5000 + 2 * timing.PollMs);

    port.Arrive(clock.now + 4000, {1, 2});  // then the repeater stops mid-reply
    start = clock.now;
    EXPECT_EQ(Recv(3), RecvResult::NoData);
    EXPECT_GE(clock.now - start, 9000);
    EXPECT_LT(clock.now - start, 9000 + 2 * timing.PollMs);
    EXPECT_EQ(dest[0], 0xEE);

    // a reply that completes in the very poll in which the limit runs out is taken, not dropped
    std::fill(dest.begin(), dest.end(), 0xEE);
    port.Arrive(clock.now + timing.NoDataMs, {7, 8, 9});
    EXPECT_EQ(Recv(3), RecvResult::Received);
    EXPECT_EQ(dest[2], 9);

    timing.NoDataMs = 50;
    start = clock.now;
    EXPECT_EQ(Recv(1), RecvResult::NoData);
    EXPECT_LT(clock.now - start, 50 + 2 * timing.PollMs);
}

TEST_F(RecvWaitTest, CancelEndsAsCancelledAndLeavesTheDestinationUntouched)
{
    port.Arrive(clock.now, {1, 2});
    port.Arrive(clock.now + 100, {3, 4, 5});
    observer.cancelAfterPumps = 3;  // after the first 2 bytes and two empty polls
    EXPECT_EQ(Recv(5), RecvResult::Cancelled);
    EXPECT_EQ(dest, std::vector<uint8_t>(8, 0xEE));

    observer.cancelAfterPumps = 0;  // cancelled before the call: nothing is read at all
    port.reads = 0;
    EXPECT_EQ(Recv(1), RecvResult::Cancelled);
    EXPECT_EQ(port.reads, 0);
    EXPECT_EQ(dest, std::vector<uint8_t>(8, 0xEE));
}

TEST_F(RecvWaitTest, DriverFailureAndRefusedCountsGiveDriverFailure)
{
    port.Arrive(clock.now, {1, 2});
    port.failAtRead = 1;  // after the first 2 bytes were staged
    EXPECT_EQ(Recv(5), RecvResult::DriverFailure);
    EXPECT_EQ(dest, std::vector<uint8_t>(8, 0xEE));

    // 0 and anything over 1024 are refused before any read or write of memory
    port.reads = 0;
    port.failAtRead = -1;
    EXPECT_EQ(RecvWait(port, nullptr, 0, observer, clock, timing), RecvResult::DriverFailure);
    EXPECT_EQ(RecvWait(port, dest.data(), 1025, observer, clock, timing), RecvResult::DriverFailure);
    EXPECT_EQ(port.reads, 0);

    std::vector<uint8_t> big(1024);
    port.Arrive(clock.now, std::vector<uint8_t>(1500, 0x5A));
    EXPECT_EQ(RecvWait(port, big.data(), big.size(), observer, clock, timing), RecvResult::Received);
    EXPECT_EQ(big, std::vector<uint8_t>(1024, 0x5A));
}

}  // namespace
