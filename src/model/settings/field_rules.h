// The parse and format rules of the settings dialogs' edit fields: how typed text becomes a value
// (unit suffix removed, number read, fallback for unreadable text, clamped, reduced to the step),
// how a value is shown (with its unit), what is shown for typing (the bare number), and how a
// value goes to and from its stored unit. The dialogs, `qm54 get`/`set` and the tests share them.
// None of them fails: unreadable text becomes the rule's fallback.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/image/convert.h"

namespace qm54 {

enum class RuleKind {
    TenKilohertz,  // MHz with two decimals, 0 to 99.99, stored in units of 10 kHz
    HalfStep,      // 0 to 60 in steps of 0.5, stored in half units
    Guard,         // whole seconds 0 to 360, rounded down to even, stored in units of 2 s
    Number,        // a whole number: unreadable text gives Fallback, clamped to Min..Max, rounded down
                   // to a multiple of Step; stored in units of Scale
    Tone,          // a 5-tone frequency in Hz: unreadable text counts 50, above 3000 is 3000, below 625
                   // is 625 (the 5-tone table's EIA exceptions are its dialog's, see ToneFieldText)
    FreeText,      // kept exactly as typed
    Serial,        // trimmed, empty gives the default serial, blank-padded to 8; stored validated
    Code,          // hexadecimal, written as at least four capital digits; a stored text is shown and
                   // stored back as it is until the field is committed
    PointFrequency,  // MHz 0.0 to 999.9 shown with one decimal, unreadable text gives 0, stored in tenths
    Signed,        // a whole number with an optional sign in Min..Max, unreadable text gives 0
};

enum class KeyFilterKind { Digit, Decimal, Hex, Printable, SignedDigit };

struct FieldRule {
    RuleKind Kind;
    std::string_view Unit;  // " MHz", " Min", " Sec", " msec", ...; empty for texts
    KeyFilterKind Filter;
    int MaxTyped;           // most characters the field takes
    int32_t Min = 0;        // Number: the range
    int32_t Max = 0;
    int32_t Fallback = 0;   // Number: the value of unreadable text
    int32_t Step = 1;       // Number: the value is a multiple of Step
    int32_t Scale = 1;      // Number: one stored unit is Scale of the field's units
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
// The stored text of what a text field shows: the serial number validated, a free text and a
// code as they are.
std::string StoredText(const FieldRule& rule, std::string_view shown, char separator = '.');

// What the field shows when its dialog opens: the stored value written as a plain number, then
// parsed and formatted, so that a stored value outside the field's range shows clamped.
std::string ShownText(const FieldRule& rule, int32_t stored, const std::string& storedText = {},
                      char separator = '.');

// A text read strictly, as a script gives a value: the field's unit may follow the number, but
// nothing is dropped, cut or replaced by a fallback. Unreadable: a character the field refuses, no
// number, an empty text where the field would take a fallback for it, a text longer than a text
// field takes, a serial number the field would replace by the default, a code with no digit.
struct StrictReading {
    bool Readable = false;
    double Number = 0;  // numeric rules: the number read, before any clamping or step
};
StrictReading ReadFieldStrictly(const FieldRule& rule, std::string_view text);

// What a field takes, for a message: "a number from 0.0 Min to 60.0 Min in steps of 0.5, \".\" or
// \",\" before the decimals".
std::string FieldForm(const FieldRule& rule);

// Why a number read strictly shows as shown once the field has committed it: "the largest", "the
// smallest", "rounded as the field rounds"; empty when shown is that number.
std::string AdjustmentOf(const FieldRule& rule, double read, std::string_view shown);

// Whether the field's filter lets key be typed (and as what).
KeyFilterResult FilterFieldKey(const FieldRule& rule, char32_t key);

// The 5-tone table's fields. The raw value is what the text says (up to " Hz"; 50 when it is not a
// whole number), before any limit; the table stores it and matches it against the tone sets.
int64_t ToneRawValue(std::string_view text);
// The value a raw value is shown as: at most 3000; below 625 raised to 625, except that with the
// EIA set showing digit 0 keeps 600 and digit E keeps 459.
int64_t LimitedTone(int64_t raw, int digit, bool eiaShowing);
// The text a tone field shows after a commit: the limited value and " Hz".
std::string ToneFieldText(std::string_view text, int digit, bool eiaShowing);

}  // namespace qm54
