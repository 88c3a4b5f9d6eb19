// The channel grid's columns as data: the two header lines, width and kind of every column, the
// channel field a choice column shows, the names by which code refers to a column, and the
// column groups that are shown or hidden as a whole, some with a caption panel over their
// headers. The grid, its tests and the row texts of a channel (channel_row.h) all read these.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/image/channel.h"

namespace qm54 {

// How a cell is changed: not at all, by cycling through option list Parameter, through dialog
// Parameter, or by typing at most Parameter characters (a number or a frequency).
enum ColumnKind { ColFixed = 0, ColChoice = 2, ColDialog = 3, ColNumber = 13, ColFrequency = 52 };
// The dialog a ColDialog column opens (its parameter).
enum ColumnDialog { DlgCtcss = 101, DlgDcs = 102, DlgMultiTone = 103 };

using ChannelField = int32_t TChannel::*;

struct GridColumn {
    std::string_view Header1;
    std::string_view Header2;
    int Width;      // pixels
    int Kind;       // ColumnKind
    int Parameter;  // option list (ColChoice), ColumnDialog (ColDialog), or most characters typed
    ChannelField Field = nullptr;  // the value a ColChoice column shows
};

inline constexpr int GridColumnCount = 28;
extern const std::array<GridColumn, GridColumnCount> GridColumns;

// The grid's columns by name, in display order. RowNumber is the row header.
namespace GridCol {
inline constexpr int RowNumber = 0;
inline constexpr int Channel = 1;
inline constexpr int RxFreq = 2;
inline constexpr int RxCtcss = 3;
inline constexpr int RxDcs = 4;
inline constexpr int Wide = 5;
inline constexpr int ClockShift = 6;
inline constexpr int NsqMode = 7;
inline constexpr int NsqLevel = 8;
inline constexpr int CourtesyBlip = 9;
inline constexpr int ReverseBurst = 10;
inline constexpr int DcsType = 11;
inline constexpr int DcsDecodeType = 12;
inline constexpr int MultiTone = 13;
inline constexpr int IdMode = 14;
inline constexpr int ActionMode = 15;
inline constexpr int TxFreq = 16;
inline constexpr int TxCtcss = 17;
inline constexpr int TxDcs = 18;
inline constexpr int BaseTot = 19;
inline constexpr int BaseGuard = 20;
inline constexpr int Lockout = 21;
inline constexpr int TxPower = 22;
inline constexpr int TotMute = 23;
inline constexpr int RptTot = 24;
inline constexpr int TotBeep = 25;
inline constexpr int RptHangTime = 26;
inline constexpr int RptGuardTime = 27;
// Columns RxFreq..ActionMode show the receive side of a channel, TxFreq..RptGuardTime the
// transmit side.
inline constexpr int FirstRx = RxFreq;
inline constexpr int FirstTx = TxFreq;
}  // namespace GridCol

// The column of a valid index; an index outside 0..27 is clamped to that range.
const GridColumn& ColumnAt(int column);

// Whether the cells of a column take typed text (a frequency or a number).
inline bool TakesTypedText(const GridColumn& col) { return col.Kind == ColFrequency || col.Kind == ColNumber; }

// The groups of columns that the View > Items entries show and hide; index = group number - 1.
struct ColumnGroup {
    int FirstColumn;
    int LastColumn;
    const char* ItemName;  // the View > Items entry
    const char* Caption;   // the caption panel over header row 0, or nullptr
};
inline constexpr int ColumnGroupCount = 23;
extern const std::array<ColumnGroup, ColumnGroupCount> ColumnGroups;

// The group of a valid index; an index outside 0..22 is clamped to that range.
const ColumnGroup& ColumnGroupAt(int group);

}  // namespace qm54
