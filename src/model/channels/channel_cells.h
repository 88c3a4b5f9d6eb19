// Cells of a channel row given as texts from outside the grid (a channel import): each checked
// as the grid's editors and lists would take it, then written into the channel through the
// grid's own parse and its channel rules, as if typed into the row from left to right.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/image/channel.h"
#include "model/channels/channel_row.h"
#include "model/image/emem.h"

namespace qm54 {

// The cells given for one channel; a cell not given keeps what the channel shows (after the
// rules that the given cells set off).
struct ChannelCells {
    std::array<std::optional<std::string>, GridColumnCount> Texts{};
    std::optional<bool> InUse;  // the row's "Ch" toggle
    std::optional<std::string>& operator[](int column) { return Texts[static_cast<std::size_t>(column)]; }
    const std::optional<std::string>& operator[](int column) const { return Texts[static_cast<std::size_t>(column)]; }
};

// The image's raster and band, which the frequency cells are held to.
struct CellLimits {
    CellFormat Format;  // the separator is '.'; ',' is read alike
    double RxLow = 0, RxHigh = 0, TxLow = 0, TxHigh = 0;
};
CellLimits LimitsOf(const TCEmem& emem);

// A cell's text read as a plain decimal number: digits with at most one "." or "," (blanks around
// them aside); nothing when it is not that.
std::optional<double> DecimalCellValue(std::string_view text);
// The same for a frequency in MHz, which is above zero.
std::optional<double> CellMhz(std::string_view text);
// The whole Hz a frequency read from a cell means (its few decimals are exact, the binary
// fraction is not).
int64_t CellHz(double mhz);

// Why a frequency in MHz does not fit a channel: outside low..high ("outside the band, 150.00000
// to 174.00000 MHz"); FitRefusal also when it is not a point of the channel raster of step (named
// with the nearest points on either side). Nothing when it fits.
std::optional<std::string> BandRefusal(double mhz, double low, double high);
std::optional<std::string> FitRefusal(double mhz, double low, double high, int step);

// Why the text of a cell is refused, or nothing when the cell takes it. A text that the channel
// already shows in that cell is always taken (it changes nothing).
std::optional<std::string> CellRefusal(int column, const std::string& text, const TChannel& ch,
                                       const CellLimits& limits);

// Writes cells whose texts CellRefusal took into channel index (0..15): the in-use toggle, the
// receive frequency with its rule (the transmit frequency and clock shift follow it), then every
// other given cell through the grid's parse (a CTCSS tone given alone turns the DCS beside it
// off, and the other way round), the transmit frequency's rule, and "Tx Inh" in the Tx Freq cell
// inhibits the transmit after the rest is read. An inhibited transmit is allowed again only by a
// new receive frequency or a frequency given in the Tx Freq cell; cells of the receive side alone
// leave it inhibited.
void ApplyChannelCells(const ChannelCells& cells, TChannel& ch, int index, const CellLimits& limits);

// The same rules over row, the cell texts that the channel grid shows for ch: they are compared
// with the given cells instead of the texts the channel would show, and row is left showing what
// the rules made of it. A given frequency keeps its normalised text in its cell (and, for the
// receive frequency, in Tx Freq), the tone beside a given tone becomes "off", the Lv cell follows
// a changed Mode and the transmit side follows a change of the inhibit; every other cell keeps
// its text.
void ApplyChannelCells(const ChannelCells& cells, ChannelRowTexts& row, TChannel& ch, int index,
                       const CellLimits& limits);

}  // namespace qm54
