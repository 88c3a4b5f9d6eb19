// Page 3 of the report: the two tables of the channels in use.
#include "print/report_pages.h"

#include "model/image/convert.h"
#include "model/image/emem.h"
#include "model/image/tables.h"
#include "print/report_format.h"

#include <array>

namespace qm54 {

using namespace report;

namespace {

constexpr std::array<const char*, 4> kFirstHeading{
    "CH DATA 1",
    "                  Decoders     Clk      NSQ   Court Rev DCS DDec  Multi  CWID  ",
    "  Ch  Rx Freq.   CTCSS DCS W/N Sft   Mode Lv  Blip  Bst Typ Type  Tone  ANI/ENI",
    "  --  ---.-----  ---.- ---  -  ---  ----- ---  ---  ---  -  -----  ---  -------"};
constexpr std::array<const char*, 4> kSecondHeading{
    "CH DATA 2",
    "      Action               Encoders Base Base        TX  TOT   RptTOT   RPT  RPT",
    "  Ch   Mode    Tx Freq.   CTCSS DCS TOT  Guard LOUT  Pwr Mute Use Beep  HT   GT",
    "  --  -------  ---.-----  ---.- ---  ---  ---  ----  --  ---  ---  ---  ---  ---"};

struct ToneTexts {
    std::string Ctcss = "off";
    std::string Dcs = "off";
};

ToneTexts SlotTones(int32_t isDcs, int32_t tone)
{
    ToneTexts texts;
    if (isDcs != 0) texts.Dcs = DcsName(tone);
    else texts.Ctcss = CtcssName(tone);
    return texts;
}

// Fields joined by the separators of a table row: blanks[i] go before field i.
std::string Row(const std::array<std::string, 14>& fields, const std::array<int, 14>& blanks)
{
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) text += std::string(static_cast<size_t>(blanks[i]), ' ') + fields[i];
    return text;
}

// "  %2d  %9s  %-5s %-3s  %s  %-3s  %-5s %3s  %-3s  %-3s  %s  %-5s  %-3s  %-7s"
std::string FirstTableRow(const TChannel& ch, int step)
{
    const ToneTexts decode = SlotTones(ch.GetDecodeDcs(0), ch.GetDecodeTone(0));
    return Row({PadLeft(Dec(ch.Number), 2), PadLeft(SnappedFrequencyText(step, ch.RxFreq.Value()), 9),
                PadRight(decode.Ctcss, 5), PadRight(decode.Dcs, 3), OptionName(OptBandwidth, ch.Wide),
                PadRight(OptionName(OptNoYes, ch.ClockShift), 3), PadRight(OptionName(OptNsqMode, ch.NsqMode), 5),
                PadLeft(ch.NsqMode == 1 ? Dec(ch.NsqLevel) : "---", 3),
                PadRight(OptionName(OptOffOn, ch.CourtesyBlip), 3), PadRight(OptionName(OptOffOn, ch.ReverseBurst), 3),
                OptionName(OptDcsType, ch.DcsType), PadRight(OptionName(OptDcsDecodeType, ch.DcsDecodeType), 5),
                PadRight(OptionName(OptNoYes, ch.MultiTone), 3), PadRight(OptionName(OptIdMode, ch.IdMode), 7)},
               {2, 2, 2, 1, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2});
}

// "  %2d  %-7s  %9s  %-5s %-3s  %-3s  %-3s  %4s  %2s  %-3s  %-3s  %-3s  %-3s  %-3s"
std::string SecondTableRow(const TChannel& ch, int step)
{
    const bool inhibited = ch.TxInhibit != 0;
    const ToneTexts encode = inhibited ? ToneTexts{"---", "---"} : SlotTones(ch.GetEncodeDcs(0), ch.GetEncodeTone(0));
    auto noYes = [&](int32_t value) { return PadRight(inhibited ? "---" : OptionName(OptNoYes, value), 3); };
    return Row({PadLeft(Dec(ch.Number), 2), PadRight(OptionName(OptActionMode, ch.ActionMode), 7),
                PadLeft(inhibited ? "Tx Inh" : SnappedFrequencyText(step, ch.TxFreq.Value()), 9),
                PadRight(encode.Ctcss, 5), PadRight(encode.Dcs, 3), noYes(ch.UseBaseTot), noYes(ch.UseBaseGuard),
                PadLeft(inhibited ? "----" : OptionName(OptLockout, ch.Lockout), 4),
                PadLeft(inhibited ? "--" : OptionName(OptTxPower, ch.TxPower), 2),
                PadRight(inhibited ? "---" : OptionName(OptOffOn, ch.TotMute), 3), noYes(ch.UseRptTot),
                noYes(ch.TotBeep), noYes(ch.UseRptHangTime), noYes(ch.UseRptGuardTime)},
               {2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2});
}

using TableRow = std::string (*)(const TChannel&, int step);

// One table from line first; returns the line below its last row, or first when no channel is in use.
int AddChannelTable(ReportPage& page, int first, const std::array<const char*, 4>& heading,
                    const TCEmem& emem, TableRow row)
{
    int line = first;
    for (int i = 0; i < ChannelCount; ++i) {
        const TChannel& ch = emem.Channels.Items(i);
        if (ch.InUse == 0) continue;
        if (line == first)
            for (const char* text : heading) page.push_back({line++, 2, text});
        page.push_back({line++, 2, row(ch, emem.ChannelStep)});
    }
    return line;
}

}  // namespace

void AddChannelData(ReportPage& page, int, const TCEmem& emem)
{
    page.push_back({4, 0, "***********************************    CHANNEL DATA   ***********************************"});
    constexpr int kFirstTableLine = 7;
    const int end = AddChannelTable(page, kFirstTableLine, kFirstHeading, emem, FirstTableRow);
    const int second = end == kFirstTableLine ? 11 : end + 4;
    AddChannelTable(page, second, kSecondHeading, emem, SecondTableRow);
}

}  // namespace qm54
