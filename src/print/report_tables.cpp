// Page 2 of the report: the 5-tone table, the Rx and Tx alignment values, the power display, the
// Tx power trims and the alpha tags.
#include "print/report_pages.h"

#include "model/image/emem.h"
#include "print/report_format.h"

namespace qm54 {

using namespace report;

namespace {

constexpr const char* kPointHeading = "                         Lowest  Low     High    Highest";

using PointGetter = int32_t (TCEmem::*)(int) const;

// label, then the four alignment points, each "%2.2x" left-aligned in five columns.
std::string PointRow(const char* label, const TCEmem& e, PointGetter get)
{
    std::string text = label;
    for (int k = 0; k < AlignmentPointCount; ++k)
        text += (k > 0 ? "   " : "") + PadRight(Hex((e.*get)(k), 2), 5);
    return text;
}

std::string FrequencyRow(const char* label, const PointFreqArray& freqs)
{
    std::string text = label;
    for (int k = 0; k < AlignmentPointCount; ++k)
        text += (k > 0 ? "   " : "") + PadLeft(OneDecimal(freqs[static_cast<size_t>(k)]), 5);
    return text;
}

struct PointRowSpec {
    const char* Label;
    PointGetter Get;
};

const PointRowSpec kTxPointRows[] = {
    {"Tx Power High:           ", &TCEmem::GetTxPowerHigh},
    {"Tx Power Low:            ", &TCEmem::GetTxPowerLow},
    {"Max Deviation Wide:      ", &TCEmem::GetMaxDevWide},
    {"Max Deviation Narrow:    ", &TCEmem::GetMaxDevNarrow},
    {"CTCSS Deviation Wide:    ", &TCEmem::GetCtcssDevWide},
    {"CTCSS Deviation Narrow:  ", &TCEmem::GetCtcssDevNarrow},
    {"DCSS Deviation Wide:     ", &TCEmem::GetDcsDevWide},
    {"DCSS Deviation Narrow:   ", &TCEmem::GetDcsDevNarrow},
};

std::string FiveToneRow(const TCEmem& e, int i)
{
    auto piece = [&](int digit) { return Hex(digit) + ": " + PadLeft(Dec(e.GetFiveToneTable(digit)), 4) + " " + " Hz"; };
    return piece(i) + "       " + piece(i + 8);
}

std::string TxPowerAdjustRow(const TCEmem& e, int i)
{
    auto piece = [&](int index) { return "Channel " + Dec(index + 1, 2) + ": " + Hex(e.GetTxPowerAdjust(index), 2); };
    return piece(i) + "     " + piece(i + 8);
}

constexpr int kAlphaTagRows = AlphaTagCount / 4;

std::string AlphaTagRow(const TCEmem& e, int row)
{
    std::string text;
    for (int k = 0; k < 4; ++k) {
        const int tag = row + kAlphaTagRows * k;
        const int32_t code = e.GetAlphaTagCode(tag);
        const std::string name = Printable(e.GetAlphaTagText(tag));
        text += (code == -1 ? std::string("----") : Dec(code, 4)) + ": " +
                PadRight(name.empty() ? "--------" : name, 8) + "    ";
    }
    return text;
}

}  // namespace

void AddTables(ReportPage& page, int, const TCEmem& e)
{
    page.push_back({4, 2, "5-Tone Table"});
    for (int i = 0; i < 8; ++i) page.push_back({5 + i, 4, FiveToneRow(e, i)});

    page.push_back({15, 2, "Rx Adjustment"});
    page.push_back({16, 4, kPointHeading});
    page.push_back({17, 4, FrequencyRow("Rx Frequency (MHz):      ", e.RxAdjustFreq)});
    page.push_back({18, 4, PointRow("Tuning:                  ", e, &TCEmem::GetRxTuning)});
    page.push_back({19, 4, PointRow("SQL Threshold Level:     ", e, &TCEmem::GetSqlThreshold)});
    page.push_back({21, 4, "NSQ Threshold Level:    " + Hex(e.NsqThreshold, 2) + " "});
    page.push_back({22, 4, "SQL Hysteresis:         " + Hex(e.SqlHysteresis, 2) + " "});
    page.push_back({23, 4, "SQL Narrow Offset:      " + Hex(e.SqlNarrowOffset, 2) + " "});

    page.push_back({26, 2, "Tx Adjustment"});
    page.push_back({27, 4, kPointHeading});
    page.push_back({28, 4, FrequencyRow("Tx Frequency (MHz):      ", e.TxAdjustFreq)});
    int line = 29;
    for (const PointRowSpec& row : kTxPointRows) page.push_back({line++, 4, PointRow(row.Label, e, row.Get)});
    page.push_back({38, 4, "Tx Power Display High:  " + Hex(e.TxPowerDisplayHigh, 2) + " "});
    page.push_back({39, 4, "Tx Power Display Low:   " + Hex(e.TxPowerDisplayLow, 2) + " "});

    page.push_back({41, 2, "Tx Power Adjust"});
    for (int i = 0; i < 8; ++i) page.push_back({42 + i, 4, TxPowerAdjustRow(e, i)});

    page.push_back({51, 2, "Alpha Tag"});
    for (int r = 0; r < kAlphaTagRows; ++r) page.push_back({52 + r, 4, AlphaTagRow(e, r)});
}

}  // namespace qm54
