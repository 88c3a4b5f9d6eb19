#include "model/image/decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using qm54::TDecimal;

struct SetValueCase {
    double x;
    TDecimal expected;
};

TEST(TDecimal, SetValueKeepsTheDigitsOfTheShortestText)
{
    const SetValueCase cases[] = {
        {0.0, {1, 0, 0, 0}},
        {450.0125, {1, 450, 125, 4}},
        {450.00625, {1, 450, 625, 5}},
        {161.0, {1, 161, 0, 0}},
        {-0.5, {-1, 0, 5, 1}},
        {-450.5, {-1, 450, 5, 1}},
        {0.123456789, {1, 0, 123456789, 9}},
        // No digits survive: an exponent form, more than nine fraction digits, 32-bit overflow.
        {1e-5, {1, 0, 0, 0}},
        {1.5e20, {1, 0, 0, 0}},
        {0.1234567891, {1, 0, 0, 0}},
        {3.0e9, {1, 0, 0, 0}},
        {-2147483648.0, {1, 0, 0, 0}},
        {std::numeric_limits<double>::quiet_NaN(), {1, 0, 0, 0}},
        {std::numeric_limits<double>::infinity(), {1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        TDecimal d(-1, 7, 7, 7);
        d.SetValue(c.x);
        EXPECT_TRUE(d == c.expected) << c.x << " gave (" << d.Sign << ", " << d.IntPart
                                          << ", " << d.Fraction << ", " << d.FracDigits << ")";
    }
}

TEST(TDecimal, ValueZeroPadsTheFraction)
{
    EXPECT_DOUBLE_EQ(TDecimal(1, 450, 125, 4).Value(), 450.0125);
    EXPECT_DOUBLE_EQ(TDecimal(1, 450, 125, 5).Value(), 450.00125);
    EXPECT_DOUBLE_EQ(TDecimal(-1, 0, 5, 1).Value(), -0.5);
    EXPECT_DOUBLE_EQ(TDecimal(1, 161, 0, 0).Value(), 161.0);
    // More fraction digits than FracDigits: all of them are read, as "%*.*d" prints them.
    EXPECT_DOUBLE_EQ(TDecimal(1, 450, 125, 2).Value(), 450.125);
    // Fields that form no number give 0 instead of a part of the text.
    EXPECT_EQ(TDecimal(1, 450, -5, 1).Value(), 0.0);
    EXPECT_EQ(TDecimal(1, 450, 5, -1).Value(), 0.0);
    EXPECT_EQ(TDecimal(1, 450, 5, 2000000000).Value(), 0.0);
}

TEST(TDecimal, DigitCountMattersForEquality)
{
    TDecimal a(1, 161, 0, 1);
    TDecimal b(1, 161, 0, 0);
    EXPECT_DOUBLE_EQ(a.Value(), b.Value());
    EXPECT_FALSE(a == b);
    b = a;
    EXPECT_TRUE(a == b);
}

TEST(TDecimal, ScaledTruncWorksOnTheDigits)
{
    struct Case {
        double mhz;
        int decimals;
        int64_t expected;
    };
    const Case cases[] = {
        {450.00625, 3, 450006}, {161.0, 3, 161000}, {174.0, 1, 1740},  {512.002, 3, 512002},
        {0.29, 3, 290},         {-0.5, 3, -500},    {999.999, 3, 999999}, {1000.0, 3, 1000000},
    };
    for (const auto& c : cases) {
        TDecimal d;
        d.SetValue(c.mhz);
        EXPECT_EQ(d.ScaledTrunc(c.decimals), c.expected) << c.mhz;
    }
    // The double product loses a unit here; the digits do not.
    TDecimal d;
    d.SetValue(512.002);
    EXPECT_LT(qm54::TruncToInt64(d.Value() * 1000), 512002);
}

}  // namespace
