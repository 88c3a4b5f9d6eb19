// The alignment values as the service dialogs edit them: the rules of their edit fields (the
// alignment frequencies with one decimal, the 0..255 levels, the 0..99 power display values and
// the signed per-channel power trims), reading a field's text from and storing it into TCEmem by
// the setting's key, the order the four frequency points must keep, and the comparison with the
// backup at OK. The Rx, Tx and Tx power dialogs, the alignment window and `qm54 align` share them.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "model/image/emem.h"
#include "model/settings/field_rules.h"

namespace qm54 {

extern const FieldRule PointFrequencyRule;  // 0.0..999.9 MHz, "." and "," typed, 5 characters
extern const FieldRule LevelRule;           // 0..255, digits, 3 characters
extern const FieldRule PowerDisplayRule;    // 0..99, digits, 3 characters
extern const FieldRule PowerTrimRule;       // -128..127, digits and signs, 4 characters

// The rule of the field that edits setting key (LevelRule for a key it does not know).
const FieldRule& ServiceRule(std::string_view key);

// The text a field shows for the setting's value at index: written as a plain number, then
// normalised, so that a value outside the field's range shows clamped.
std::string ServiceFieldText(const TCEmem& emem, std::string_view key, int index, char separator = '.');
// Stores a field's text, normalised by the field's rule, into the setting at index.
void StoreServiceField(TCEmem& emem, std::string_view key, int index, std::string_view text, char separator = '.');

// Whether value may stand at point (0..3) among points: strictly above the point before it and
// strictly below the point after it (the first and last point have one neighbour).
bool FitsPointOrder(const std::array<double, AlignmentPointCount>& points, int point, double value);

// The frequency of a point field's text, normalised (what the order rule compares).
double PointFrequencyOf(std::string_view text, char separator = '.');

// Whether any of the settings keys (every index of each) differs between a and b.
bool ServiceValuesDiffer(const TCEmem& a, const TCEmem& b, std::span<const std::string_view> keys);

// The settings of each dialog, in the order their OK stores and compares them.
extern const std::array<std::string_view, 6> RxAdjustKeys;
extern const std::array<std::string_view, 11> TxAdjustKeys;
extern const std::array<std::string_view, 1> TxPowerKeys;
// The settings the alignment window commits: per point, then the two shared squelch values.
extern const std::array<std::string_view, 14> AlignmentKeys;

// The frequency point names, "Lowest" to "Highest".
extern const std::array<std::string_view, AlignmentPointCount> PointNames;

}  // namespace qm54
