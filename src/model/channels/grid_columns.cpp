#include "model/channels/grid_columns.h"

#include <algorithm>

#include "model/image/tables.h"

namespace qm54 {

constexpr std::array<GridColumn, GridColumnCount> GridColumns{{
    {"", "", 20, ColFixed, 0},
    {"", "Ch", 30, ColFixed, 0},
    {"", "Rx Freq", 100, ColFrequency, 9},
    {"", "CTCSS", 70, ColDialog, DlgCtcss},
    {"", "DCS", 40, ColDialog, DlgDcs},
    {"", "W/N", 30, ColChoice, OptBandwidth, &TChannel::Wide},
    {"Clk", "Sft", 40, ColChoice, OptNoYes, &TChannel::ClockShift},
    {"", "Mode", 70, ColChoice, OptNsqMode, &TChannel::NsqMode},
    {"", "Lv", 40, ColNumber, 3},
    {"Court", "Blip", 40, ColChoice, OptOffOn, &TChannel::CourtesyBlip},
    {"Rev", "Bst", 40, ColChoice, OptOffOn, &TChannel::ReverseBurst},
    {"DCS", "Typ", 30, ColChoice, OptDcsType, &TChannel::DcsType},
    {"DDec", "Type", 44, ColChoice, OptDcsDecodeType, &TChannel::DcsDecodeType},
    {"Multi", "Tone", 44, ColDialog, DlgMultiTone},
    {"CWID", "ANI/ENI", 70, ColChoice, OptIdMode, &TChannel::IdMode},
    {"Action", "Mode", 70, ColChoice, OptActionMode, &TChannel::ActionMode},
    {"", "Tx Freq", 100, ColFrequency, 9},
    {"", "CTCSS", 70, ColDialog, DlgCtcss},
    {"", "DCS", 40, ColDialog, DlgDcs},
    {"Base", "TOT", 40, ColChoice, OptNoYes, &TChannel::UseBaseTot},
    {"Base", "Guard", 40, ColChoice, OptNoYes, &TChannel::UseBaseGuard},
    {"", "LOUT", 40, ColChoice, OptLockout, &TChannel::Lockout},
    {"TX", "Pwr", 40, ColChoice, OptTxPower, &TChannel::TxPower},
    {"TOT", "Mute", 40, ColChoice, OptOffOn, &TChannel::TotMute},
    {"Rpt", "Use", 40, ColChoice, OptNoYes, &TChannel::UseRptTot},
    {"TOT", "Beep", 40, ColChoice, OptNoYes, &TChannel::TotBeep},
    {"RPT", "HT", 40, ColChoice, OptNoYes, &TChannel::UseRptHangTime},
    {"RPT", "GT", 40, ColChoice, OptNoYes, &TChannel::UseRptGuardTime},
}};

constexpr std::array<ColumnGroup, ColumnGroupCount> ColumnGroups{{
    {2, 2, "Rx Freq.", nullptr},       {3, 4, "Decoders", "Decoders"},
    {5, 5, "W/N", nullptr},            {6, 6, "Clk Sft", nullptr},
    {7, 8, "NSQ", "NSQ"},              {9, 9, "Court Blip", nullptr},
    {10, 10, "Rev Bst", nullptr},      {11, 11, "DCS Typ", nullptr},
    {12, 12, "DDec Type", nullptr},    {13, 13, "Multi Tone", nullptr},
    {14, 14, "CWID ANI/ENI", nullptr}, {15, 15, "Action Mode", nullptr},
    {16, 16, "Tx Freq.", nullptr},     {17, 18, "Encoders", "Encoders"},
    {19, 19, "Base TOT", nullptr},     {20, 20, "Base Guard", nullptr},
    {21, 21, "LOUT", nullptr},         {22, 22, "Tx Pwr", nullptr},
    {23, 23, "TOT Mute", nullptr},     {24, 24, "Rpt Use", nullptr},
    {25, 25, "TOT Beep", nullptr},     {26, 26, "RPT HT", nullptr},
    {27, 27, "RPT GT", nullptr},
}};

const GridColumn& ColumnAt(int column)
{
    return GridColumns[static_cast<std::size_t>(std::clamp(column, 0, GridColumnCount - 1))];
}

const ColumnGroup& ColumnGroupAt(int group)
{
    return ColumnGroups[static_cast<std::size_t>(std::clamp(group, 0, ColumnGroupCount - 1))];
}

}  // namespace qm54
