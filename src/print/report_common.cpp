// Page 1 of the report: the common data, one row of the table below per line.
#include "print/report_pages.h"

#include "model/image/emem.h"
#include "model/settings/dialog_rows.h"
#include "model/settings/shown_values.h"
#include "print/report_format.h"


namespace qm54 {

using namespace report;

namespace {

// How a value joins its label's line: as its dialog row writes it, with a second blank before
// its unit ("30.0  Min"), or with a blank after it.
enum class Join { AsShown, UnitApart, BlankAfter };

struct CommonRow {
    int Offset;          // lines below the body's start
    const char* Label;   // the whole text of a title
    DialogId Dialog = DialogId::Hardware;
    std::string_view Name = {};  // the dialog row's name (its key, or "DTMF"); empty for a title
    Join How = Join::AsShown;
};

constexpr auto Hardware = DialogId::Hardware, RadioStatus = DialogId::RadioStatus, Timer = DialogId::Timer,
               CwId = DialogId::CwId, Market = DialogId::Market, Signalling = DialogId::Signalling,
               Ani = DialogId::Ani, Eni = DialogId::Eni;
constexpr auto UnitApart = Join::UnitApart, BlankAfter = Join::BlankAfter;

const CommonRow kCommonRows[] = {
    {4, "Marketing"},
    {5, "Serial Number:          ", Market, "SerialNumber"},
    {6, "Marketing:              ", Market, "MarketCode"},
    {9, "Hardware"},
    {10, "Band Select:            ", Hardware, "Band"},
    {11, "I. F:                   ", Hardware, "IntermediateFreq"},
    {12, "TX Reference Frequency: ", Hardware, "TxReferenceFreq"},
    {13, "RX Reference Frequency: ", Hardware, "RxReferenceFreq"},
    {14, "1st Local Offset:       ", Hardware, "FirstLocalOffset"},
    {15, "2nd Local Offset:       ", Hardware, "SecondLocalOffset"},
    {16, "CH Step:                ", Hardware, "ChannelStep"},
    {17, "Duplexer:               ", Hardware, "Duplexer"},
    {18, "TX Power Type:          ", Hardware, "TxPowerType"},
    {20, "Radio Status"},
    {21, "Beep:                   ", RadioStatus, "Beep"},
    {22, "Monitor:                ", RadioStatus, "Monitor"},
    {23, "Accessory:              ", RadioStatus, "Accessory"},
    {24, "MIC Moni:               ", RadioStatus, "MicMonitor"},
    {25, "Fan Alert:              ", RadioStatus, "FanAlert"},
    {26, "High Temp Alert:        ", RadioStatus, "HighTempAlert"},
    {27, "High Temp Tx Power Low: ", RadioStatus, "TxPowerType"},
    {28, "DC TX Power Low:        ", RadioStatus, "DcTxPowerLow"},
    {29, "Hang On Audio:          ", RadioStatus, "HangOnAudio"},
    {31, "Timer"},
    {32, "Base TOT:               ", Timer, "BaseTot", UnitApart},
    {33, "Base Guard Time:        ", Timer, "BaseGuardTime", UnitApart},
    {34, "Repeat TOT:             ", Timer, "RepeatTot", UnitApart},
    {35, "Repeat Guard Time:      ", Timer, "RepeatGuardTime", UnitApart},
    {36, "Repeat Hang On Time:    ", Timer, "RepeatHangTime", UnitApart},
    {38, "CW ID"},
    {39, "CW ID:                  ", CwId, "CwIdEnable"},
    {40, "Dot Time:               ", CwId, "CwIdDotTime", UnitApart},
    {41, "Interval Timer:         ", CwId, "CwIdInterval", UnitApart},
    {42, "Tone Freq:              ", CwId, "CwIdToneFreq", UnitApart},
    {43, "CW ID:                  ", CwId, "CwIdText"},
    {45, "Signaling Type"},
    {46, "DTMF:                   ", Signalling, "DTMF"},
    {47, "5-Tone:                 ", Signalling, "FiveTone"},
    {48, "Mark Time:              ", Signalling, "FiveToneMarkTime", UnitApart},
    {49, "Space Time:             ", Signalling, "FiveToneSpaceTime", UnitApart},
    {50, "5-Tone Repeat Code:     ", Signalling, "FiveToneRepeatCode"},
    {52, "ANI Parameters"},
    {53, "ANI On:                 ", Ani, "AniMode"},
    {54, "ANI Delay Time:         ", Ani, "AniDelay", UnitApart},
    {55, "ANI Header Code:        ", Ani, "AniHeaderCode"},
    {56, "ANI Code:               ", Ani, "AniCode", BlankAfter},
    {58, "ENI Parameters"},
    {59, "ENI Delay Time:         ", Eni, "EniDelay", UnitApart},
    {60, "ENI TX Time:            ", Eni, "EniTxTime", UnitApart},
    {61, "ENI RX Time:            ", Eni, "EniRxTime", UnitApart},
    {62, "ENI Dead Time:          ", Eni, "EniDeadTime", UnitApart},
    {63, "ENI Repeat Count:       ", Eni, "EniRepeatCount", BlankAfter},
    {64, "ENI Header Code:        ", Eni, "EniHeaderCode"},
    {65, "ENI Code:               ", Eni, "EniCode", BlankAfter},
};

const DialogRow* RowNamed(const DialogTable& dialog, std::string_view name)
{
    for (const DialogRow& row : dialog.Rows)
        if (row.RowName() == name) return &row;
    return nullptr;
}

// The value of a line: its dialog row's stored text, joined as the line wants it.
std::string ValueText(const CommonRow& line, const TCEmem& emem)
{
    const DialogRow* row = RowNamed(Dialog(line.Dialog), line.Name);
    if (row == nullptr) return {};  // every line names a row: the recorded report pages would show the gap
    std::string text = Printable(StoredRowText(emem, *row));
    if (line.How == Join::BlankAfter) return text + " ";
    if (line.How == Join::UnitApart && row->Rule != nullptr) {
        const std::string_view unit = row->Rule->Unit;
        if (!unit.empty() && text.ends_with(unit)) text.insert(text.size() - unit.size(), " ");
    }
    return text;
}

}  // namespace

void AddCommonData(ReportPage& page, int body, const TCEmem& emem)
{
    page.push_back({body + 2, 0,
                    "***********************************    COMMON DATA    ***********************************"});
    for (const CommonRow& row : kCommonRows) {
        const bool title = row.Name.empty();
        page.push_back({body + row.Offset, title ? 2 : 4, title ? row.Label : row.Label + ValueText(row, emem)});
    }
}

}  // namespace qm54
