// Page 1 of the report: the common data, one row of the table below per line.
#include "print/report_pages.h"

#include "model/image/emem.h"
#include "model/image/tables.h"
#include "print/report_format.h"


namespace qm54 {

using namespace report;

namespace {

// "%s %s" of a value and its unit; the units carry their own leading blank.
std::string WithUnit(const std::string& value, const char* unit) { return value + " " + unit; }

// The DTMF and 5-tone setting: none, Rx only, Tx only or both.
std::string RxTxText(int32_t tx, int32_t rx)
{
    const int value = tx == 0 && rx == 0 ? 0 : tx == 0 && rx == 1 ? 1 : tx == 1 && rx == 0 ? 2 : 3;
    return OptionName(OptRxTxEnable, value);
}

struct CommonRow {
    int Offset;                               // lines below the body's start
    const char* Label;                        // the whole text of a title
    std::string (*Value)(const TCEmem& e);    // nullptr for a title
};

const CommonRow kCommonRows[] = {
    {4, "Marketing", nullptr},
    {5, "Serial Number:          ", [](const TCEmem& e) { return Printable(e.SerialNumber); }},
    {6, "Marketing:              ", [](const TCEmem& e) { return std::string(e.MarketCode == MarketUsa ? "USA" : "EXP"); }},
    {9, "Hardware", nullptr},
    {10, "Band Select:            ", [](const TCEmem& e) { return OptionName(OptBand, e.Band); }},
    {11, "I. F:                   ", [](const TCEmem& e) { return Hundredths(e.IntermediateFreq) + " MHz"; }},
    {12, "TX Reference Frequency: ", [](const TCEmem& e) { return Hundredths(e.TxReferenceFreq) + " MHz"; }},
    {13, "RX Reference Frequency: ", [](const TCEmem& e) { return Hundredths(e.RxReferenceFreq) + " MHz"; }},
    {14, "1st Local Offset:       ", [](const TCEmem& e) { return OptionName(OptLocalOffset, e.FirstLocalOffset); }},
    {15, "2nd Local Offset:       ", [](const TCEmem& e) { return OptionName(OptLocalOffset, e.SecondLocalOffset); }},
    {16, "CH Step:                ", [](const TCEmem& e) { return OptionName(OptChannelStep, e.ChannelStep); }},
    {17, "Duplexer:               ", [](const TCEmem& e) { return OptionName(OptDuplexer, e.Duplexer); }},
    {18, "TX Power Type:          ", [](const TCEmem& e) { return OptionName(OptTxPowerType, e.TxPowerType); }},
    {20, "Radio Status", nullptr},
    {21, "Beep:                   ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.Beep); }},
    {22, "Monitor:                ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.Monitor); }},
    {23, "Accessory:              ", [](const TCEmem& e) { return OptionName(OptAccessory, e.Accessory); }},
    {24, "MIC Moni:               ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.MicMonitor); }},
    {25, "Fan Alert:              ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.FanAlert); }},
    {26, "High Temp Alert:        ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.HighTempAlert); }},
    {27, "High Temp Tx Power Low: ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.TxPowerType); }},
    {28, "DC TX Power Low:        ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.DcTxPowerLow); }},
    {29, "Hang On Audio:          ", [](const TCEmem& e) { return OptionName(OptHangOnAudio, e.HangOnAudio); }},
    {31, "Timer", nullptr},
    {32, "Base TOT:               ", [](const TCEmem& e) { return WithUnit(Halves(e.BaseTot), " Min"); }},
    {33, "Base Guard Time:        ", [](const TCEmem& e) { return WithUnit(Dec(int64_t{e.BaseGuardTime} * 2), " Sec"); }},
    {34, "Repeat TOT:             ", [](const TCEmem& e) { return WithUnit(Halves(e.RepeatTot), " Min"); }},
    {35, "Repeat Guard Time:      ", [](const TCEmem& e) { return WithUnit(Dec(int64_t{e.RepeatGuardTime} * 2), " Sec"); }},
    {36, "Repeat Hang On Time:    ", [](const TCEmem& e) { return WithUnit(Halves(e.RepeatHangTime), " Sec"); }},
    {38, "CW ID", nullptr},
    {39, "CW ID:                  ", [](const TCEmem& e) { return OptionName(OptDisableEnable, e.CwIdEnable); }},
    {40, "Dot Time:               ", [](const TCEmem& e) { return WithUnit(Dec(e.CwIdDotTime), " msec"); }},
    {41, "Interval Timer:         ", [](const TCEmem& e) { return WithUnit(Dec(e.CwIdInterval), " sec"); }},
    {42, "Tone Freq:              ", [](const TCEmem& e) { return WithUnit(Dec(e.CwIdToneFreq), " Hz"); }},
    {43, "CW ID:                  ", [](const TCEmem& e) { return Printable(e.CwIdText); }},
    {45, "Signaling Type", nullptr},
    {46, "DTMF:                   ", [](const TCEmem& e) { return RxTxText(e.DtmfTx, e.DtmfRx); }},
    {47, "5-Tone:                 ", [](const TCEmem& e) { return RxTxText(e.FiveToneTx, e.FiveToneRx); }},
    {48, "Mark Time:              ", [](const TCEmem& e) { return WithUnit(Dec(e.FiveToneMarkTime), " ms"); }},
    {49, "Space Time:             ", [](const TCEmem& e) { return WithUnit(Dec(e.FiveToneSpaceTime), " ms"); }},
    {50, "5-Tone Repeat Code:     ", [](const TCEmem& e) { return Hex(e.FiveToneRepeatCode); }},
    {52, "ANI Parameters", nullptr},
    {53, "ANI On:                 ", [](const TCEmem& e) { return OptionName(OptAniMode, e.AniMode); }},
    {54, "ANI Delay Time:         ", [](const TCEmem& e) { return WithUnit(Dec(int64_t{e.AniDelay} * 5), " ms"); }},
    {55, "ANI Header Code:        ", [](const TCEmem& e) { return Hex(e.AniHeaderCode); }},
    {56, "ANI Code:               ", [](const TCEmem& e) { return Printable(e.AniCode) + " "; }},
    {58, "ENI Parameters", nullptr},
    {59, "ENI Delay Time:         ", [](const TCEmem& e) { return WithUnit(Dec(int64_t{e.EniDelay} * 50), " ms"); }},
    {60, "ENI TX Time:            ", [](const TCEmem& e) { return WithUnit(Dec(e.EniTxTime), " sec"); }},
    {61, "ENI RX Time:            ", [](const TCEmem& e) { return WithUnit(Dec(e.EniRxTime), " sec"); }},
    {62, "ENI Dead Time:          ", [](const TCEmem& e) { return WithUnit(Dec(e.EniDeadTime), " sec"); }},
    {63, "ENI Repeat Count:       ", [](const TCEmem& e) { return Dec(e.EniRepeatCount) + " "; }},
    {64, "ENI Header Code:        ", [](const TCEmem& e) { return Hex(e.EniHeaderCode); }},
    {65, "ENI Code:               ", [](const TCEmem& e) { return Printable(e.EniCode) + " "; }},
};

}  // namespace

void AddCommonData(ReportPage& page, int body, const TCEmem& emem)
{
    page.push_back({body + 2, 0,
                    "***********************************    COMMON DATA    ***********************************"});
    for (const CommonRow& row : kCommonRows) {
        const bool title = row.Value == nullptr;
        page.push_back({body + row.Offset, title ? 2 : 4, title ? row.Label : row.Label + row.Value(emem)});
    }
}

}  // namespace qm54
