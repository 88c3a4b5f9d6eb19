#include "model/image/frequency.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(SnapFrequency, TakesTheNearerRasterWithTiesToA)
{
    struct Case {
        int step;
        double mhz;
        double expected;
    };
    const Case cases[] = {
        {0, 450.006, 450.00625},  // a whole-kHz image value back on the 6.25 kHz raster
        {0, 450.0125, 450.0125},  // exactly on B
        {0, 450.010, 450.010},    // exactly on A
        {1, 150.0125, 150.0125},  // 2.5 kHz raster hits exactly
        {1, 150.001, 150.0},      // 2.5 kHz raster is nearer than 6.25
        {0, 161.0, 161.0},
        {0, 999.999, 999.995},    // both rounded candidates would pass 999.99999 MHz
        {0, 1500.0, 999.995},
        {0, 0.0, 0.0},
        {1, 150.0025, 150.0025},
        {7, 150.0025, 150.005},   // an unknown step is taken as step 0
        // Ties: 5625 Hz is 625 Hz from 5000 and from 6250; 150.0025 is 2500 Hz from both.
        {0, 0.005625, 0.005},
        {0, 150.0025, 150.005},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(qm54::SnapFrequency(c.step, c.mhz), c.expected) << c.step << " " << c.mhz;
}

TEST(SnapFrequency, HostileNumbersStayInRange)
{
    for (const double x : {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        const double snapped = qm54::SnapFrequency(0, x);
        EXPECT_LE(snapped, 999.99999);
        EXPECT_FALSE(snapped != snapped);
    }
}

TEST(FrequencyRules, ClockShiftCloseSplitAndTxAboveRx)
{
    EXPECT_EQ(qm54::NeedsClockShift(148.0), 1);
    EXPECT_EQ(qm54::NeedsClockShift(152.0), 1);
    EXPECT_EQ(qm54::NeedsClockShift(147.975), 1);   // 25 kHz below is included
    EXPECT_EQ(qm54::NeedsClockShift(148.024999), 1);
    EXPECT_EQ(qm54::NeedsClockShift(148.025), 0);   // 25 kHz above is not
    EXPECT_EQ(qm54::NeedsClockShift(148.03), 0);
    EXPECT_EQ(qm54::NeedsClockShift(147.97), 0);
    EXPECT_EQ(qm54::NeedsClockShift(161.0), 0);

    EXPECT_EQ(qm54::IsCloseSplit(161.049, 161.0), 1);
    EXPECT_EQ(qm54::IsCloseSplit(160.951, 161.0), 1);
    EXPECT_EQ(qm54::IsCloseSplit(161.05, 161.0), 0);
    EXPECT_EQ(qm54::IsCloseSplit(161.06, 161.0), 0);
    EXPECT_EQ(qm54::IsTxAboveRx(161.0, 161.0), 0);
    EXPECT_EQ(qm54::IsTxAboveRx(161.000001, 161.0), 1);
    EXPECT_EQ(qm54::IsTxAboveRx(160.0, 161.0), 0);
}

}  // namespace
