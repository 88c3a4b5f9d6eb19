#include "model/image/emem.h"

#include "model/image/frequency.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

struct BandDefaults {
    int32_t AdjustMhz[AlignmentPointCount];
    PointArray RxTuning;
    int32_t SqlThreshold;
    PointArray TxPowerHigh;
    PointArray TxPowerLow;
    PointArray MaxDevWide;
    PointArray MaxDevNarrow;
    PointArray CtcssDevWide;
    PointArray CtcssDevNarrow;
    PointArray DcsDevWide;
    PointArray DcsDevNarrow;
    int32_t SqlHysteresis;
    double ChannelRxMhz;
    double ChannelTxMhz;
    int32_t ChannelNsqLevel;
};

const BandDefaults BandTable[2] = {
    {{150, 160, 170, 174}, {44, 128, 186, 218}, 48, {193, 199, 203, 204}, {73, 73, 75, 75},
     {161, 160, 159, 158}, {149, 148, 147, 146}, {184, 185, 186, 187}, {168, 169, 170, 171},
     {176, 175, 174, 174}, {164, 163, 162, 161}, 20, 161.0, 166.0, 48},
    {{450, 460, 470, 480}, {51, 102, 154, 205}, 60, {173, 175, 180, 189}, {58, 59, 60, 63},
     {163, 163, 163, 163}, {151, 151, 151, 151}, {175, 174, 174, 172}, {160, 159, 159, 158},
     {161, 161, 161, 160}, {149, 148, 148, 147}, 10, 450.0, 455.0, 60},
};

}  // namespace

void SetDefaults(TCEmem& e)
{
    e.ModelName = KtdModelName;
    e.SerialNumber = "12345678";

    e.CwIdEnable = 0;
    e.CwIdDotTime = 50;
    e.CwIdInterval = 600;
    e.CwIdToneFreq = 600;
    e.CwIdText = "0000000000000000";
    e.BaseTot = 6;
    e.BaseGuardTime = 1;
    e.RepeatTot = 6;
    e.RepeatHangTime = 4;
    e.RepeatGuardTime = 5;
    e.RxReferenceFreq = 1440;
    e.TxReferenceFreq = 1440;
    e.NsqThreshold = 110;
    e.TxPowerDisplayHigh = 80;
    e.TxPowerDisplayLow = 16;
    e.Band = BandVhf;
    e.FirstLocalOffset = 0;
    e.SecondLocalOffset = 0;
    e.Duplexer = 0;
    e.ChannelStep = 0;
    e.Beep = 1;
    e.Monitor = 1;
    e.Accessory = 1;
    e.MicMonitor = 1;
    e.FanAlert = 1;
    e.HighTempAlert = 1;
    e.TxPowerType = 1;
    e.DcTxPowerLow = 1;
    e.HangOnAudio = 1;

    e.FiveToneMarkTime = 50;
    e.FiveToneSpaceTime = 50;
    e.AniDelay = 60;
    e.EniDelay = 24;
    e.EniTxTime = 2;
    e.EniRxTime = 2;
    e.EniDeadTime = 2;
    e.EniRepeatCount = 5;
    e.FiveToneRepeatCode = 14;
    e.AniHeaderCode = 10;
    e.AniCode = "0000";
    e.EniCode = "0000";
    e.EniHeaderCode = 11;
    e.FiveToneTable = FiveToneSets[0].Tones;

    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = e.Channels.Items(i);
        ch.InUse = i == 0 ? 1 : 0;
        ch.Wide = 1;
        ch.ActionMode = 1;
        ch.UseBaseTot = 1;
        ch.UseBaseGuard = 1;
        ch.Lockout = 1;
        ch.UseRptTot = 1;
        ch.TotBeep = 1;
        ch.UseRptHangTime = 1;
        ch.UseRptGuardTime = 1;
    }

    e.AlphaTagCode.fill(-1);
    e.AlphaTagText.fill(std::string());

    e.IntermediateFreq = 2140;
    ApplyBandDefaults(e, BandVhf);
}

void ApplyBandDefaults(TCEmem& e, int band)
{
    if (band != BandVhf && band != BandUhf) return;
    const BandDefaults& d = BandTable[band];
    for (size_t k = 0; k < AlignmentPointCount; ++k) {
        e.RxAdjustFreq[k].SetValue(d.AdjustMhz[k]);
        e.TxAdjustFreq[k].SetValue(d.AdjustMhz[k]);
        e.SqlThreshold[k] = d.SqlThreshold;
    }
    e.RxTuning = d.RxTuning;
    e.TxPowerHigh = d.TxPowerHigh;
    e.TxPowerLow = d.TxPowerLow;
    e.MaxDevWide = d.MaxDevWide;
    e.MaxDevNarrow = d.MaxDevNarrow;
    e.CtcssDevWide = d.CtcssDevWide;
    e.CtcssDevNarrow = d.CtcssDevNarrow;
    e.DcsDevWide = d.DcsDevWide;
    e.DcsDevNarrow = d.DcsDevNarrow;
    e.SqlHysteresis = d.SqlHysteresis;
    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = e.Channels.Items(i);
        ch.RxFreq.SetValue(d.ChannelRxMhz);
        ch.TxFreq.SetValue(d.ChannelTxMhz);
        ch.NsqLevel = d.ChannelNsqLevel;
        // The image carries these two flags for the repeater: keep them true to the new pair.
        ch.CloseSplit = IsCloseSplit(d.ChannelTxMhz, d.ChannelRxMhz);
        ch.TxAboveRx = IsTxAboveRx(d.ChannelTxMhz, d.ChannelRxMhz);
    }
}

}  // namespace qm54
