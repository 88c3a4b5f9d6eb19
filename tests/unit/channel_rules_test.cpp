#include "model/channels/channel_rules.h"

#include <gtest/gtest.h>

namespace qm54 {
namespace {

TChannel ChannelOn(double rx, double tx)
{
    TChannel ch;
    ch.InUse = 1;
    ch.RxFreq.SetValue(rx);
    ch.TxFreq.SetValue(tx);
    return ch;
}

TEST(ChannelRules, RxChangeCopiesToTxAllowsTheTransmitAndSetsClockShiftAndSplitFlags)
{
    TChannel ch = ChannelOn(152.0, 160.0);
    ch.TxInhibit = -1;  // as decoded from an image
    ch.TxPower = 1;
    ch.SetEncodeDcs(0, 1);
    ch.SetEncodeTone(0, 7);
    ch.CloseSplit = 0;
    ch.TxAboveRx = 1;
    ApplyRxFrequencyChange(ch);
    EXPECT_EQ(ch.TxInhibit, 0);
    EXPECT_EQ(ch.TxFreq, ch.RxFreq);
    EXPECT_EQ(ch.ClockShift, 1);  // 152 MHz is a multiple of 4 MHz
    EXPECT_EQ(ch.CloseSplit, 1);
    EXPECT_EQ(ch.TxAboveRx, 0);
    // What the inhibit kept comes back with the transmit.
    EXPECT_EQ(ch.TxPower, 1);
    EXPECT_EQ(ch.GetEncodeDcs(0), 1);
    EXPECT_EQ(ch.GetEncodeTone(0), 7);

    ch.RxFreq.SetValue(150.0);
    ch.ClockShift = 1;
    ApplyRxFrequencyChange(ch);
    EXPECT_EQ(ch.ClockShift, 0);
    EXPECT_EQ(ch.TxFreq.Value(), 150.0);
}

TEST(ChannelRules, TxChangeDerivesOnlyTheSplitFlags)
{
    struct Case { double rx; double tx; int closeSplit; int txAboveRx; };
    const Case cases[] = {
        {161.0, 161.049, 1, 1}, {161.0, 160.951, 1, 0}, {161.0, 161.05, 0, 1},
        {161.0, 160.95, 0, 0},  {161.0, 161.0, 1, 0},   {450.00625, 450.0125, 1, 1},
    };
    for (const Case& c : cases) {
        TChannel ch = ChannelOn(c.rx, c.tx);
        ch.ClockShift = 1;
        const TDecimal rx = ch.RxFreq;
        ApplyTxFrequencyChange(ch);
        EXPECT_EQ(ch.CloseSplit, c.closeSplit) << c.rx << " " << c.tx;
        EXPECT_EQ(ch.TxAboveRx, c.txAboveRx) << c.rx << " " << c.tx;
        EXPECT_EQ(ch.RxFreq, rx);
        EXPECT_EQ(ch.ClockShift, 1);
    }
}

TEST(ChannelRules, ChannelOneIsNeverSwitchedOff)
{
    TChannel first = ChannelOn(150.0, 150.0);
    EXPECT_FALSE(SetInUse(first, 0, false));
    EXPECT_FALSE(ToggleInUse(first, 0));
    EXPECT_EQ(first.InUse, 1);
    first.InUse = 0;  // a file may hold it blank: the toggle leaves it so, an import may switch it on
    EXPECT_FALSE(ToggleInUse(first, 0));
    EXPECT_EQ(first.InUse, 0);
    EXPECT_TRUE(SetInUse(first, 0, true));
    EXPECT_EQ(first.InUse, 1);

    TChannel other = ChannelOn(150.0, 155.0);
    other.Wide = 1;
    const TChannel before = other;
    EXPECT_TRUE(ToggleInUse(other, 15));
    EXPECT_EQ(other.InUse, 0);
    EXPECT_FALSE(SetInUse(other, 15, false));
    EXPECT_TRUE(ToggleInUse(other, 15));
    EXPECT_EQ(other, before);  // a blank channel keeps its settings
}

TEST(ChannelRules, InhibitKeepsTheTransmitSettings)
{
    TChannel ch = ChannelOn(150.0, 155.0);
    ch.TxPower = 1;
    ch.SetEncodeTone(0, 12);
    TChannel expected = ch;
    SetTxInhibit(ch, true);
    expected.TxInhibit = 1;
    EXPECT_EQ(ch, expected);
    ch.TxInhibit = -1;
    SetTxInhibit(ch, false);
    expected.TxInhibit = 0;
    EXPECT_EQ(ch, expected);
}

}  // namespace
}  // namespace qm54
