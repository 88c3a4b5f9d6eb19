// The parse and format rules of the settings dialogs' edit fields: how typed text becomes a value
// (unit suffix removed, number read, fallback for unreadable text, clamped, reduced to the step),
// how a value is shown (with its unit), what is shown for typing (the bare number), and how a
// value goes to and from its stored unit. The dialogs, `qm54 get`/`set` and the tests share them.
// None of them fails: unreadable text becomes the rule's fallback.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/convert.h"

namespace qm54 {

enum class RuleKind {
    TenKilohertz,  // MHz with two decimals, 0 to 99.99, stored in units of 10 kHz
    HalfStep,      // 0 to 60 in steps of 0.5, stored in half units
    Guard,         // whole seconds 0 to 360, rounded down to even, stored in units of 2 s
    Number,        // a whole number in Min..Max, unreadable text gives Min, stored as it is
    FreeText,      // kept exactly as typed
    Serial,        // trimmed, empty gives the default serial, blank-padded to 8; stored validated
    PointFrequency,  // MHz 0.0 to 999.9 shown with one decimal, unreadable text gives 0, stored in tenths
    Signed,        // a whole number with an optional sign in Min..Max, unreadable text gives 0
};

enum class KeyFilterKind { Digit, Decimal, Printable, SignedDigit };

struct FieldRule {
    RuleKind Kind;
    std::string_view Unit;  // " MHz", " Min", " Sec", " msec", ...; empty for texts
    KeyFilterKind Filter;
    int MaxTyped;           // most characters the field takes
    int32_t Min = 0;        // Number: the range
    int32_t Max = 0;
};

// What a field holds between parse and format: a number in the field's own unit (MHz, minutes,
// seconds, ...) or, for the text rules, the text.
struct FieldValue {
    double Number = 0;
    std::string Text;
    bool operator==(const FieldValue&) const = default;
};

bool IsTextRule(const FieldRule& rule);

// Text to value: the parse rule of the field.
FieldValue ParseField(const FieldRule& rule, std::string_view text, char separator = '.');
// Value to the text the field shows outside typing, with its unit.
std::string FormatField(const FieldRule& rule, const FieldValue& value, char separator = '.');
// Value to the text that typing starts from: the number in its shortest form, without unit.
std::string BareField(const FieldRule& rule, const FieldValue& value, char separator = '.');
// A commit or leaving the field: the format of the parse of what it holds.
std::string CommitField(const FieldRule& rule, std::string_view text, char separator = '.');

// The value a stored number or text stands for, before the field's own clamping.
FieldValue ValueOfStored(const FieldRule& rule, int32_t stored, const std::string& storedText = {});
// The stored number of a value (numeric rules).
int32_t StoredNumber(const FieldRule& rule, const FieldValue& value);
// The stored text of a value (text rules): the serial number validated, a free text as it is.
std::string StoredText(const FieldRule& rule, const FieldValue& value);

// What the field shows when its dialog opens: the stored value written as a plain number, then
// parsed and formatted, so that a stored value outside the field's range shows clamped.
std::string ShownText(const FieldRule& rule, int32_t stored, const std::string& storedText = {},
                      char separator = '.');

// Whether the field's filter lets key be typed (and as what).
KeyFilterResult FilterFieldKey(const FieldRule& rule, char32_t key);

}  // namespace qm54
