#include "link/trace.h"

#include "link_fakes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace qm54;
using qm54::test::TempFolder;

TEST(TraceRecorder, FramesSentReceivedBytesJoinedAndMarksInTimeOrder)
{
    qm54test::FakeClock clock;
    TraceRecorder trace(clock, "upload /dev/ttyUSB0");
    const uint8_t start[] = {0x02};
    const uint8_t echo[] = {0x02}, answer[] = {0x02, 0x01};
    trace.Sent(start);
    clock.now += 12;
    trace.Received(echo);
    clock.now += 3;
    trace.Received(answer);
    clock.now += 5000;
    trace.Mark(TraceMark::Timeout);
    trace.Mark(TraceMark::Nak);
    trace.Result("Timeout");
    EXPECT_EQ(trace.Text(),
              "# upload /dev/ttyUSB0\n"
              "       0 tx 02\n"
              "      12 rx 02 02 01\n"
              "    5015 -- timeout\n"
              "    5015 -- NAK\n"
              "    5015 == result: Timeout\n");
}

TEST(StoreTrace, KeepsTheLastTenAndNeverTheOneJustWritten)
{
    TempFolder dir;
    const std::string folder = dir.File("traces");
    std::string reason;
    for (int i = 0; i < 12; ++i)
        ASSERT_FALSE(StoreTrace(folder, "20261210-120000", "upload", std::to_string(i), reason).empty()) << reason;
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) count += entry.is_regular_file();
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(qm54::test::ReadAll(NewestTrace(folder)), "11");
    // A clock set back gives a name that sorts first: the new trace stays, the oldest goes.
    const std::string back = StoreTrace(folder, "20261210-110000", "../x y", "back", reason);
    EXPECT_EQ(std::filesystem::path(back).filename().string(), "trace-20261210-110000-001-xy.txt");
    EXPECT_EQ(qm54::test::ReadAll(back), "back");
    EXPECT_FALSE(std::filesystem::exists(folder + "/trace-20261210-120000-003-upload.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/trace-20261210-120000-004-upload.txt"));
}

}  // namespace
