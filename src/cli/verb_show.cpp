// qm54 show FILE: the decoded programming of a data file as JSON, keys named after the fields of
// TCEmem and TChannel, in their declaration order.
#include "cli/verbs.h"
#include "model/convert.h"
#include "model/emem.h"
#include "model/map54.h"
#include "model/tables.h"


namespace qm54::cli {

namespace {

// The digits a TDecimal holds, as a JSON number: 450.0125 stays 450.0125 and 161 stays 161.
Json DecimalJson(const TDecimal& d)
{
    std::string text = d.Sign < 0 ? "-" : "";
    text += std::to_string(d.IntPart);
    if (d.FracDigits > 0) {
        std::string fraction = std::to_string(d.Fraction);
        if (fraction.size() < static_cast<size_t>(d.FracDigits))
            fraction.insert(0, static_cast<size_t>(d.FracDigits) - fraction.size(), '0');
        text += "." + fraction;
    }
    return Json::Number(text);
}

// A channel frequency as the grid shows it (snapped to the channel raster, five decimals) and
// as the image stores it (whole kHz).
Json FrequencyJson(const TDecimal& f, int channelStep)
{
    return Json::Object()
        .Set("MHz", SnappedFrequencyText(channelStep, f.Value()))
        .Set("kHz", f.ScaledTrunc(3));
}

template <class Array>
Json IntArray(const Array& values)
{
    Json a = Json::Array();
    for (const auto v : values) a.Push(Json::Int(v));
    return a;
}

template <class Array>
Json DecimalArray(const Array& values)
{
    Json a = Json::Array();
    for (const TDecimal& v : values) a.Push(DecimalJson(v));
    return a;
}

Json ChannelJson(const TChannel& c, int channelStep)
{
    return Json::Object()
        .Set("InUse", c.InUse)
        .Set("Number", c.Number)
        .Set("TxInhibit", c.TxInhibit)
        .Set("Wide", c.Wide)
        .Set("ClockShift", c.ClockShift)
        .Set("NsqMode", c.NsqMode)
        .Set("CourtesyBlip", c.CourtesyBlip)
        .Set("ReverseBurst", c.ReverseBurst)
        .Set("DcsType", c.DcsType)
        .Set("DcsDecodeType", c.DcsDecodeType)
        .Set("UseBaseTot", c.UseBaseTot)
        .Set("UseBaseGuard", c.UseBaseGuard)
        .Set("Lockout", c.Lockout)
        .Set("CloseSplit", c.CloseSplit)
        .Set("TxAboveRx", c.TxAboveRx)
        .Set("TxPower", c.TxPower)
        .Set("MultiTone", c.MultiTone)
        .Set("UseRptTot", c.UseRptTot)
        .Set("UseRptHangTime", c.UseRptHangTime)
        .Set("UseRptGuardTime", c.UseRptGuardTime)
        .Set("TotBeep", c.TotBeep)
        .Set("ActionMode", c.ActionMode)
        .Set("TotMute", c.TotMute)
        .Set("IdMode", c.IdMode)
        .Set("NsqLevel", c.NsqLevel)
        .Set("SlotUsed", IntArray(c.SlotUsed))
        .Set("DecodeDcs", IntArray(c.DecodeDcs))
        .Set("DecodeTone", IntArray(c.DecodeTone))
        .Set("EncodeDcs", IntArray(c.EncodeDcs))
        .Set("EncodeTone", IntArray(c.EncodeTone))
        .Set("RxFreq", FrequencyJson(c.RxFreq, channelStep))
        .Set("TxFreq", FrequencyJson(c.TxFreq, channelStep));
}

Json ChecksumJson(int stored, int computed)
{
    return Json::Object().Set("Stored", stored).Set("Computed", computed).Set("Match", Json::Bool(stored == computed));
}

}  // namespace

Json ShowJson(const TCEmem& e, const TMap54& map)
{
    Json channels = Json::Array();
    for (int i = 0; i < TChannels::Count(); ++i) channels.Push(ChannelJson(e.Channels.Items(i), e.ChannelStep));
    Json tagTexts = Json::Array();
    for (const std::string& t : e.AlphaTagText) tagTexts.Push(Json::Text(t));

    Json doc = Json::Object();
    doc.Set("ModelName", e.ModelName)
        .Set("SerialNumber", e.SerialNumber)
        .Set("FirmwareVersion", e.FirmwareVersion)
        .Set("MarketCode", e.MarketCode)
        .Set("NsqThreshold", e.NsqThreshold)
        .Set("SqlNarrowOffset", e.SqlNarrowOffset)
        .Set("SqlHysteresis", e.SqlHysteresis)
        .Set("TxPowerDisplayHigh", e.TxPowerDisplayHigh)
        .Set("TxPowerDisplayLow", e.TxPowerDisplayLow)
        .Set("RxAdjustFreq", DecimalArray(e.RxAdjustFreq))
        .Set("SqlThreshold", IntArray(e.SqlThreshold))
        .Set("RxTuning", IntArray(e.RxTuning))
        .Set("TxAdjustFreq", DecimalArray(e.TxAdjustFreq))
        .Set("TxPowerHigh", IntArray(e.TxPowerHigh))
        .Set("TxPowerLow", IntArray(e.TxPowerLow))
        .Set("MaxDevWide", IntArray(e.MaxDevWide))
        .Set("MaxDevNarrow", IntArray(e.MaxDevNarrow))
        .Set("CtcssDevWide", IntArray(e.CtcssDevWide))
        .Set("CtcssDevNarrow", IntArray(e.CtcssDevNarrow))
        .Set("DcsDevWide", IntArray(e.DcsDevWide))
        .Set("DcsDevNarrow", IntArray(e.DcsDevNarrow))
        .Set("Band", e.Band)
        .Set("Duplexer", e.Duplexer)
        .Set("Beep", e.Beep)
        .Set("Monitor", e.Monitor)
        .Set("FirstLocalOffset", e.FirstLocalOffset)
        .Set("SecondLocalOffset", e.SecondLocalOffset)
        .Set("Accessory", e.Accessory)
        .Set("MicMonitor", e.MicMonitor)
        .Set("FanAlert", e.FanAlert)
        .Set("HighTempAlert", e.HighTempAlert)
        .Set("DcTxPowerLow", e.DcTxPowerLow)
        .Set("TxPowerType", e.TxPowerType)
        .Set("HangOnAudio", e.HangOnAudio)
        .Set("ChannelStep", e.ChannelStep)
        .Set("IntermediateFreq", e.IntermediateFreq)
        .Set("RxReferenceFreq", e.RxReferenceFreq)
        .Set("TxReferenceFreq", e.TxReferenceFreq)
        .Set("BaseTot", e.BaseTot)
        .Set("BaseGuardTime", e.BaseGuardTime)
        .Set("RepeatTot", e.RepeatTot)
        .Set("RepeatHangTime", e.RepeatHangTime)
        .Set("RepeatGuardTime", e.RepeatGuardTime)
        .Set("CwIdEnable", e.CwIdEnable)
        .Set("DtmfTx", e.DtmfTx)
        .Set("DtmfRx", e.DtmfRx)
        .Set("FiveToneTx", e.FiveToneTx)
        .Set("FiveToneRx", e.FiveToneRx)
        .Set("AniMode", e.AniMode)
        .Set("TxPowerAdjust", IntArray(e.TxPowerAdjust))
        .Set("StoredFileName", e.StoredFileName)
        .Set("CwIdDotTime", e.CwIdDotTime)
        .Set("CwIdInterval", e.CwIdInterval)
        .Set("CwIdToneFreq", e.CwIdToneFreq)
        .Set("CwIdText", e.CwIdText)
        .Set("FiveToneTable", IntArray(e.FiveToneTable))
        .Set("FiveToneSet", std::string(FiveToneSets[MatchingFiveToneSet(e.FiveToneTable)].Name))
        .Set("FiveToneMarkTime", e.FiveToneMarkTime)
        .Set("FiveToneSpaceTime", e.FiveToneSpaceTime)
        .Set("AniDelay", e.AniDelay)
        .Set("EniDelay", e.EniDelay)
        .Set("EniTxTime", e.EniTxTime)
        .Set("EniRxTime", e.EniRxTime)
        .Set("EniDeadTime", e.EniDeadTime)
        .Set("EniRepeatCount", e.EniRepeatCount)
        .Set("FiveToneRepeatCode", e.FiveToneRepeatCode)
        .Set("AniHeaderCode", e.AniHeaderCode)
        .Set("AniCode", e.AniCode)
        .Set("EniCode", e.EniCode)
        .Set("EniHeaderCode", e.EniHeaderCode)
        .Set("Channels", std::move(channels))
        .Set("AlphaTagCode", IntArray(e.AlphaTagCode))
        .Set("AlphaTagText", std::move(tagTexts))
        .Set("ChecksumA", ChecksumJson(map.Bytes()[image::ChecksumA],
                                       map.ByteSum(image::ChecksumAFirst, image::ChecksumACount)))
        .Set("ChecksumB", ChecksumJson(map.Bytes()[image::ChecksumB], map.ByteSum(0, image::ChecksumBCount)));
    return doc;
}

int RunShow(const Args& args)
{
    return PrintLoadedFile("show", args, [](const TCEmem& emem, const TMap54& map) {
        return ShowJson(emem, map).Dump();
    });
}

}  // namespace qm54::cli
