// The table of the common settings: one row for every setting of TCEmem, in the order TCEmem
// declares them. A row names the setting (its key, as `qm54 show` prints it), says what kind of
// value it holds and in what stored range, and reads and writes it on a TCEmem. `qm54 show`, the
// settings dialogs, `qm54 get`/`set`, the printed report, the JSON apply, the compare and the
// verify's list of differences walk this one table; a new setting is added here (see
// docs/adding-a-setting.md).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "model/image/decimal.h"
#include "model/image/emem.h"

namespace qm54 {

enum class SettingKind {
    Number,              // a whole number in Min..Max
    Choice,              // the position of a name in option list OptionList, 0..count-1
    HexDigit,            // one hexadecimal digit, 0..15
    Text,                // up to MaxLength bytes
    HexCode,             // MaxLength hexadecimal digits
    AlignmentFrequency,  // MHz with one decimal, stored in tenths of MHz (0.0..999.9)
    ToneSetName,         // the name of the 5-tone set that FiveToneTable matches ("USER" when none)
};

// The TCEmem member a row reads and writes. Arrays give one value per index.
using IntMember = int32_t TCEmem::*;
using TextMember = std::string TCEmem::*;
using PointIntMember = PointArray TCEmem::*;
using PointFreqMember = PointFreqArray TCEmem::*;
using SixteenIntMember = std::array<int32_t, 16> TCEmem::*;
using TagCodeMember = std::array<int32_t, AlphaTagCount> TCEmem::*;
using TagTextMember = std::array<std::string, AlphaTagCount> TCEmem::*;
struct FiveToneSetOfTable {  // derived from FiveToneTable
    bool operator==(const FiveToneSetOfTable&) const = default;
};
using SettingMember = std::variant<IntMember, TextMember, PointIntMember, PointFreqMember, SixteenIntMember,
                                   TagCodeMember, TagTextMember, FiveToneSetOfTable>;

// A setting's value: a whole number (Number, Choice, HexDigit), a decimal (AlignmentFrequency) or a
// text (Text, HexCode, ToneSetName).
using SettingValue = std::variant<int32_t, TDecimal, std::string>;

struct SettingRow {
    std::string_view Key;
    SettingKind Kind;
    SettingMember Member;
    int32_t Min = 0;        // stored range of Number, Choice and HexDigit
    int32_t Max = 0;
    int OptionList = -1;    // Choice: the option list of its names
    int MaxLength = 0;      // Text: most bytes; HexCode: the number of digits
    bool ReadOnly = false;  // shown, never written (model name, firmware version)
    bool Utf8 = false;      // Text: whole UTF-8 characters survive the image, not only printable ASCII

    // Values the row holds: 1 for a scalar, 4 for an alignment-point array, 16 or 48 for the others.
    int Count() const;
    bool IsArray() const;
};

// Every row, in TCEmem's declaration order (the order `qm54 show` prints).
std::span<const SettingRow> SettingsTable();
// The row of key (exact spelling), or nullptr.
const SettingRow* FindSetting(std::string_view key);
// The row that reads and writes member, or nullptr.
const SettingRow* FindSettingOf(const SettingMember& member);

// The value at index (0 for a scalar); an index outside 0..Count()-1 gives the first value's type
// with a zero value.
SettingValue GetSetting(const TCEmem& emem, const SettingRow& row, int index = 0);

enum class SetOutcome {
    Stored,
    ReadOnly,    // the row is read only
    WrongType,   // a number for a text row, a text for a number row, ...
    OutOfRange,  // outside the stored range, too long, not hexadecimal digits, no such index
    NotATable,   // ToneSetName: no 5-tone set of that name (the user set cannot be chosen by name)
};

// Checks value against the row's kind and stored range and stores it; on any other outcome than
// Stored the TCEmem is left as it was.
[[nodiscard]] SetOutcome SetSetting(TCEmem& emem, const SettingRow& row, int index, const SettingValue& value);

// "0 to 255", "one of VHF, UHF", "up to 8 characters", ...: what a row accepts, for messages.
std::string AllowedValues(const SettingRow& row);

}  // namespace qm54
