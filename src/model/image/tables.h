// The fixed vocabulary of the program: tone and code lists, option names, serial-number
// prefixes, hexadecimal digits and the 5-tone sets. The image stores indices into these lists.
// The channel grid's column table is in grid_columns.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm54 {

// CTCSS tones in the image's numbering: 0 is "off", 1..47 the tones (not sorted after 39).
inline constexpr int CtcssCount = 48;
extern const std::array<std::string_view, CtcssCount> CtcssWithOff;
// The 47 tones without "off": tone index i is at position i - 1.
extern const std::array<std::string_view, CtcssCount - 1> CtcssTones;

// DCS codes, index 0..103, and the same list with "off" in front (position p > 0 is code p - 1).
inline constexpr int DcsCount = 104;
extern const std::array<std::string_view, DcsCount> DcsCodes;
extern const std::array<std::string_view, DcsCount + 1> DcsWithOff;

// Option lists: the value of a choice setting is the position of its name in its list.
inline constexpr int OptionListCount = 23;
inline constexpr int MaxOptionNames = 5;
struct OptionList {
    int Count;
    std::array<std::string_view, MaxOptionNames> Names;
};
extern const std::array<OptionList, OptionListCount> OptionLists;

enum OptionListId {
    OptBandwidth = 0, OptNoYes = 1, OptLockout = 2, OptTxPower = 3, OptOffOn = 4, OptNsqMode = 5,
    OptDcsType = 6, OptDcsDecodeType = 7, OptActionMode = 8, OptIdMode = 9, OptBand = 10,
    OptLocalOffset = 11, OptHighLowAcc = 12, OptNoiseQuiet = 13, OptChannelStep = 14,
    OptTxPowerType = 15, OptDisableEnable = 16, OptAccessory = 17, OptHangOnAudio = 18,
    OptRxTxEnable = 19, OptAniMode = 20, OptDuplexer = 21, OptEmpty = 22
};

// The name of value in list; empty when list is outside 0..22 or value outside 0..4.
std::string OptionName(int list, int value);
// The first value whose name equals name exactly (case-sensitive); 0 when none or list is bad.
int OptionIndex(int list, std::string_view name);
// "off" for 0, the tone text for 1..47, empty otherwise.
std::string CtcssName(int index);
// The code text for 0..103, empty otherwise.
std::string DcsName(int index);

// Serial-number display prefixes by band, applied only when the serial number's second character
// is one of SerialPrefixLetters.
inline constexpr std::array<std::string_view, 2> SerialPrefixes{"71", "72"};
inline constexpr std::string_view SerialPrefixLetters = "BQRS";

inline constexpr std::string_view HexDigits = "0123456789ABCDEF";

// The named 5-tone sets; "USER" is also the answer when no set matches.
struct FiveToneSet {
    std::string_view Name;
    std::array<int32_t, 16> Tones;  // Hz of the digits 0..F
};
inline constexpr int FiveToneSetCount = 9;
inline constexpr int FiveToneUserSet = 8;
inline constexpr int FiveToneEiaSet = 7;
extern const std::array<FiveToneSet, FiveToneSetCount> FiveToneSets;
// The index of the first set whose 16 tones equal tones; FiveToneUserSet when none does.
int MatchingFiveToneSet(const std::array<int32_t, 16>& tones);

}  // namespace qm54
