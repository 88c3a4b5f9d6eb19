#include "model/image/emem.h"

#include <gtest/gtest.h>

#include "model/image/tables.h"

namespace {

using qm54::TCEmem;
using qm54::TDecimal;

TDecimal Mhz(double x)
{
    TDecimal d;
    d.SetValue(x);
    return d;
}

TEST(SetDefaults, GivesTheNewProgramming)
{
    TCEmem e;
    e.MarketCode = 85;  // not named by the defaults: kept
    qm54::SetDefaults(e);
    EXPECT_EQ(e.ModelName, "KTD-4150");
    EXPECT_EQ(e.SerialNumber, "12345678");
    EXPECT_EQ(e.MarketCode, 85);
    EXPECT_EQ(e.IntermediateFreq, 2140);
    EXPECT_EQ(e.NsqThreshold, 110);
    EXPECT_EQ(e.SqlHysteresis, 20);
    EXPECT_EQ(e.CwIdText, "0000000000000000");
    EXPECT_EQ(e.FiveToneTable, qm54::FiveToneSets[0].Tones);
    EXPECT_EQ(e.FiveToneRepeatCode, 14);
    EXPECT_EQ(e.AniHeaderCode, 10);
    EXPECT_EQ(e.EniHeaderCode, 11);
    EXPECT_TRUE(e.RxAdjustFreq[3] == TDecimal(1, 174, 0, 0));
    EXPECT_EQ(e.TxPowerHigh, (qm54::PointArray{193, 199, 203, 204}));
    for (int t = 0; t < qm54::AlphaTagCount; ++t) {
        EXPECT_EQ(e.GetAlphaTagCode(t), -1);
        EXPECT_EQ(e.GetAlphaTagText(t), "");
    }
    for (int i = 0; i < qm54::ChannelCount; ++i) {
        const qm54::TChannel& ch = e.Channels.Items(i);
        EXPECT_EQ(ch.InUse, i == 0 ? 1 : 0) << i;
        EXPECT_EQ(ch.Number, i + 1);
        EXPECT_TRUE(ch.RxFreq == Mhz(161.0));
        EXPECT_TRUE(ch.TxFreq == Mhz(166.0));
        EXPECT_EQ(ch.NsqLevel, 48);
        EXPECT_EQ(ch.Wide, 1);
        EXPECT_EQ(ch.ActionMode, 1);
        EXPECT_EQ(ch.Lockout, 1);
        EXPECT_EQ(ch.TxAboveRx, 1);
        EXPECT_EQ(ch.CloseSplit, 0);
        EXPECT_EQ(ch.ClockShift, 0);
        EXPECT_EQ(ch.TxPower, 0);
    }
}

TEST(ApplyBandDefaults, SwitchesTheBandTablesOnly)
{
    TCEmem e;
    qm54::SetDefaults(e);
    e.Channels.Items(3).Wide = 0;
    e.ChannelStep = 1;
    qm54::ApplyBandDefaults(e, qm54::BandUhf);
    EXPECT_EQ(e.IntermediateFreq, 2140);  // the hardware dialog changes the IF itself
    EXPECT_EQ(e.Band, 0);
    EXPECT_EQ(e.ChannelStep, 1);
    EXPECT_EQ(e.Channels.Items(3).Wide, 0);
    EXPECT_EQ(e.SqlHysteresis, 10);
    EXPECT_EQ(e.SqlThreshold, (qm54::PointArray{60, 60, 60, 60}));
    EXPECT_EQ(e.DcsDevNarrow, (qm54::PointArray{149, 148, 148, 147}));
    EXPECT_TRUE(e.TxAdjustFreq[0] == TDecimal(1, 450, 0, 0));
    for (int i = 0; i < qm54::ChannelCount; ++i) {
        EXPECT_TRUE(e.Channels.Items(i).RxFreq == Mhz(450.0));
        EXPECT_TRUE(e.Channels.Items(i).TxFreq == Mhz(455.0));
        EXPECT_EQ(e.Channels.Items(i).NsqLevel, 60);
    }

    const TCEmem before = e;
    qm54::ApplyBandDefaults(e, 2);
    EXPECT_TRUE(e == before);
}

TEST(TCEmem, AccessorsOutsideTheirRangeTouchNothing)
{
    TCEmem e;
    qm54::SetDefaults(e);
    const TCEmem before = e;
    e.SetRxAdjustFreq(4, Mhz(1.0));
    e.SetDcsDevNarrow(4, 9);
    e.SetTxPowerAdjust(16, 9);
    e.SetFiveToneTable(16, 9);
    e.Channels.Items(0).SetSlotUsed(16, 1);
    e.SetAlphaTagCode(48, 9);
    e.SetAlphaTagText(48, "x");
    for (const int bad : {-1, 48, 1 << 30}) {
        e.SetRxAdjustFreq(bad, Mhz(1.0));
        e.SetSqlThreshold(bad, 9);
        e.SetDcsDevNarrow(bad, 9);
        e.SetTxPowerAdjust(bad, 9);
        e.SetFiveToneTable(bad, 9);
        e.SetAlphaTagCode(bad, 9);
        e.SetAlphaTagText(bad, "x");
        e.Channels.Items(0).SetEncodeTone(bad, 9);
        EXPECT_EQ(e.GetTxPowerAdjust(bad), 0);
        EXPECT_EQ(e.GetAlphaTagText(bad), "");
        EXPECT_TRUE(e.GetTxAdjustFreq(bad) == TDecimal());
    }
    EXPECT_TRUE(e == before);
    e.SetAlphaTagText(47, "LAST");
    e.SetTxPowerAdjust(15, -128);
    EXPECT_EQ(e.GetAlphaTagText(47), "LAST");
    EXPECT_EQ(e.GetTxPowerAdjust(15), -128);
}

TEST(TCEmem, AssignCopiesDeeplyAndEqualsSeesEveryPart)
{
    TCEmem a;
    qm54::SetDefaults(a);
    TCEmem b;
    b = a;
    EXPECT_TRUE(b == a);

    // Changes in a nested decimal, a channel array and a text each break equality.
    b.Channels.Items(15).TxFreq = TDecimal(1, 166, 0, 1);  // same value, another digit count
    EXPECT_FALSE(b == a);
    EXPECT_FALSE(b.Channels == a.Channels);
    EXPECT_FALSE(b.Channels.Items(15) == a.Channels.Items(15));
    b = a;
    b.Channels.Items(7).SetDecodeDcs(15, 1);
    EXPECT_FALSE(b == a);
    b = a;
    b.AlphaTagText[0] = "A";
    EXPECT_FALSE(b == a);
    EXPECT_EQ(a.AlphaTagText[0], "");
}

TEST(TChannels, AlwaysSixteenNumberedChannels)
{
    qm54::TChannels list;
    EXPECT_EQ(list.Count(), 16);
    EXPECT_EQ(list.Items(0).Number, 1);
    EXPECT_EQ(list.Items(15).Number, 16);
    EXPECT_EQ(&list.Items(99), &list.Items(15));
    EXPECT_EQ(&list.Items(-3), &list.Items(0));
}

}  // namespace
