// One channel as a row of the channel grid's cell texts, and such a row read back into the
// channel. The grid fills and parses its rows through these; anything else that reads or writes
// the grid's cell texts (a channel export or import) goes through the same rules.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/image/channel.h"
#include "model/channels/grid_columns.h"

namespace qm54 {

using ChannelRowTexts = std::array<std::string, GridColumnCount>;

// How the frequency cells are written: snapped to the raster of the image's channel step, with
// five decimals and the decimal separator the front end shows ("." and "," are read alike).
struct CellFormat {
    int ChannelStep = 0;
    char Separator = '.';
};

inline constexpr std::string_view OffText = "off";               // no CTCSS tone or DCS code
inline constexpr std::string_view NotShownText = "---";          // a value the row does not show
inline constexpr std::string_view TxInhibitedText = "Tx Inh";    // the Tx Freq of an inhibited channel
inline constexpr int MaxNsqLevel = 255;

// The texts of every column for the channel of index 0..15: the row number, "%2d" of the
// channel number, the frequencies through CellFormat, slot 0's decode and encode tone as a CTCSS
// or a DCS name with "off" in the other column, the option names of the choices, "yes"/"no" for
// the multi-tone flag, the NSQ level only for the "User" mode, and, while the transmit is
// inhibited, "Tx Inh" and "---" over the transmit side.
ChannelRowTexts FillChannelRow(const TChannel& ch, int index, const CellFormat& format);

// Reads a row of cell texts back into ch. A cell whose text is still what FillChannelRow shows
// for ch (with the same format) leaves its field as it is, so a row filled and parsed untouched
// gives back the channel, whatever it holds (an off-raster frequency, a value outside an option
// list, a slot flag). A changed cell is read by the grid's rules: a frequency in whole kHz
// (unreadable text counts as 0), slot 0's tones from the CTCSS and DCS columns, an option by name
// (a name not in the column's list gives 0), the NSQ level unless the cell shows "---". When a
// tone cell changed, slot 0 is in use while either side holds a tone. The transmit side is read
// only while the transmit is not inhibited; the channel number and the multi-tone column are
// never read. Frequencies are kept to the image's whole kHz either way.
void ParseChannelRow(const ChannelRowTexts& texts, TChannel& ch, const CellFormat& format);

}  // namespace qm54
