#include "model/field_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/decimal.h"

namespace qm54 {

namespace {

constexpr double kTenKilohertzMax = 99.99;
constexpr double kHalfStepMax = 60.0;
constexpr int kGuardMax = 360;
constexpr double kPointFrequencyMax = 999.9;
constexpr size_t kSerialLength = 8;
constexpr const char* kDefaultSerialShown = "00000000";
constexpr std::string_view kHertz = " Hz";
constexpr int64_t kToneFallback = 50;
constexpr int64_t kToneMin = 625;
constexpr int64_t kToneMax = 3000;
constexpr int64_t kEiaDigit0 = 600;
constexpr int64_t kEiaDigitE = 459;
constexpr int kDigitE = 14;
constexpr int kCodeDigits = 4;

// The text up to the first occurrence of unit, or all of it.
std::string_view BeforeUnit(std::string_view text, std::string_view unit)
{
    if (unit.empty()) return text;
    const size_t at = text.find(unit);
    return at == std::string_view::npos ? text : text.substr(0, at);
}

std::string WithSeparator(std::string text, char separator)
{
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

std::string Fixed(double value, int decimals, char separator)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return WithSeparator(ec == std::errc() ? std::string(buffer, end) : std::string("0"), separator);
}

std::string Shortest(double value, char separator)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return WithSeparator(ec == std::errc() ? std::string(buffer, end) : std::string("0"), separator);
}

// A decimal text as typed ("," or "." as the separator), 0 when it is not a number.
double DecimalOf(std::string_view text)
{
    return ToFloatOrZero(NormalizeDecimalText(text));
}

// Trunc(value x 10^decimals) of a value that is not negative, worked out on its decimal digits so
// that 0.29 x 100 gives 29 and never 28.
int64_t ScaledDigits(double value, int decimals)
{
    TDecimal digits;
    digits.SetValue(value);
    return digits.ScaledTrunc(decimals);
}

double HalfStepDown(double value)
{
    const int64_t tenths = ScaledDigits(value, 1);
    return static_cast<double>(tenths / 10) + (tenths % 10 >= 5 ? 0.5 : 0.0);
}

// A whole number typed into a field, or fallback when the text is not one.
int64_t WholeOr(std::string_view text, int64_t fallback)
{
    if (!IsNonNegativeInt(text)) return fallback;
    return ToIntOr(text, static_cast<int>(fallback));
}

FieldValue Number(double value) { return {value, {}}; }

int64_t WholeNumber(const FieldRule& rule, std::string_view text)
{
    const int64_t value = std::clamp<int64_t>(WholeOr(text, rule.Fallback), rule.Min, rule.Max);
    return rule.Step > 1 ? value - value % rule.Step : value;
}

// At least four capital hexadecimal digits with leading zeros.
std::string CodeText(uint32_t value)
{
    char buffer[16];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string digits = ToUpperAscii(std::string_view(buffer, static_cast<size_t>(end - buffer)));
    if (digits.size() < kCodeDigits) digits.insert(0, kCodeDigits - digits.size(), '0');
    return digits;
}

// One decimal, the half rounded away from zero on the value's decimal digits (0.05 steps up).
std::string OneDecimal(double value, char separator)
{
    const int64_t tenths = (ScaledDigits(value, 2) + 5) / 10;
    return Fixed(static_cast<double>(tenths) / 10.0, 1, separator);
}

std::string SerialField(std::string_view text)
{
    std::string serial(Trim(text));
    if (serial.empty()) serial = DefaultSerial;
    if (serial.size() < kSerialLength) serial.resize(kSerialLength, ' ');
    return serial;
}

}  // namespace

bool IsTextRule(const FieldRule& rule)
{
    return rule.Kind == RuleKind::FreeText || rule.Kind == RuleKind::Serial || rule.Kind == RuleKind::Code;
}

FieldValue ParseField(const FieldRule& rule, std::string_view text, char)
{
    const std::string_view number = BeforeUnit(text, rule.Unit);
    switch (rule.Kind) {
    case RuleKind::TenKilohertz:
        return Number(std::clamp(text.empty() ? 0.0 : DecimalOf(number), 0.0, kTenKilohertzMax));
    case RuleKind::HalfStep:
        return Number(HalfStepDown(std::clamp(DecimalOf(number), 0.0, kHalfStepMax)));
    case RuleKind::Guard: {
        const int64_t seconds = std::clamp<int64_t>(WholeOr(number, 0), 0, kGuardMax);
        return Number(static_cast<double>(seconds - seconds % 2));
    }
    case RuleKind::Number:
        return Number(static_cast<double>(WholeNumber(rule, number)));
    case RuleKind::Tone:
        return Number(static_cast<double>(LimitedTone(ToneRawValue(text), 0, false)));
    case RuleKind::FreeText:
        return {0, std::string(text)};
    case RuleKind::Serial:
        return {0, SerialField(text)};
    case RuleKind::Code:
        return {0, CodeText(HexToInt(text))};
    case RuleKind::PointFrequency:
        return Number(std::clamp(DecimalOf(text), 0.0, kPointFrequencyMax));
    case RuleKind::Signed:
        return Number(static_cast<double>(std::clamp<int64_t>(IsInt(text) ? ToIntOr(text, 0) : 0, rule.Min, rule.Max)));
    }
    return {};
}

std::string FormatField(const FieldRule& rule, const FieldValue& value, char separator)
{
    switch (rule.Kind) {
    case RuleKind::TenKilohertz:
        return Fixed(value.Number, 2, separator) + std::string(rule.Unit);
    case RuleKind::HalfStep:
        return Fixed(value.Number, 1, separator) + std::string(rule.Unit);
    case RuleKind::Guard:
    case RuleKind::Number:
    case RuleKind::Tone:
    case RuleKind::Signed:
        return Fixed(value.Number, 0, separator) + std::string(rule.Unit);
    case RuleKind::PointFrequency:
        return OneDecimal(value.Number, separator);
    case RuleKind::FreeText:
    case RuleKind::Code:
        return value.Text;
    case RuleKind::Serial:
        return SerialField(value.Text);
    }
    return {};
}

std::string BareField(const FieldRule& rule, const FieldValue& value, char separator)
{
    return IsTextRule(rule) ? value.Text : Shortest(value.Number, separator);
}

std::string CommitField(const FieldRule& rule, std::string_view text, char separator)
{
    return FormatField(rule, ParseField(rule, text, separator), separator);
}

FieldValue ValueOfStored(const FieldRule& rule, int32_t stored, const std::string& storedText)
{
    switch (rule.Kind) {
    case RuleKind::TenKilohertz:
        return Number(stored / 100.0);
    case RuleKind::HalfStep:
        return Number(stored * 0.5);
    case RuleKind::Guard:
        return Number(stored * 2.0);
    case RuleKind::Number:
        return Number(static_cast<double>(int64_t{stored} * rule.Scale));
    case RuleKind::Tone:
    case RuleKind::Signed:
        return Number(static_cast<double>(stored));
    case RuleKind::PointFrequency:
        return Number(stored / 10.0);
    case RuleKind::FreeText:
    case RuleKind::Code:
        return {0, storedText};
    case RuleKind::Serial:
        return {0, storedText == DefaultSerial ? std::string(kDefaultSerialShown) : storedText};
    }
    return {};
}

int32_t StoredNumber(const FieldRule& rule, const FieldValue& value)
{
    switch (rule.Kind) {
    case RuleKind::TenKilohertz:
        return static_cast<int32_t>(ScaledDigits(value.Number, 2));
    case RuleKind::HalfStep:
        return static_cast<int32_t>(std::trunc(value.Number / 0.5));
    case RuleKind::Guard:
        return static_cast<int32_t>(std::trunc(value.Number / 2.0));
    case RuleKind::Number:
        return static_cast<int32_t>(static_cast<int64_t>(value.Number) / std::max(rule.Scale, 1));
    case RuleKind::Tone:
    case RuleKind::Signed:
        return static_cast<int32_t>(value.Number);
    case RuleKind::PointFrequency:
        return static_cast<int32_t>(ScaledDigits(value.Number, 1));
    case RuleKind::FreeText:
    case RuleKind::Serial:
    case RuleKind::Code:
        break;
    }
    return 0;
}

std::string StoredText(const FieldRule& rule, std::string_view shown, char separator)
{
    switch (rule.Kind) {
    case RuleKind::Serial:
        return ValidateSerial(ParseField(rule, shown, separator).Text);
    case RuleKind::FreeText:
    case RuleKind::Code:
        return std::string(shown);
    default:
        return {};
    }
}

std::string ShownText(const FieldRule& rule, int32_t stored, const std::string& storedText, char separator)
{
    if (rule.Kind == RuleKind::Code) return storedText;  // formatted only once committed
    const FieldValue value = ValueOfStored(rule, stored, storedText);
    // Written as a plain number (two decimals for the frequencies), then parsed and formatted.
    const std::string plain = rule.Kind == RuleKind::TenKilohertz ? Fixed(value.Number, 2, separator)
                                                                  : BareField(rule, value, separator);
    return CommitField(rule, plain, separator);
}

KeyFilterResult FilterFieldKey(const FieldRule& rule, char32_t key)
{
    switch (rule.Filter) {
    case KeyFilterKind::Digit:
        return FilterDigitKey(key);
    case KeyFilterKind::Decimal:
        return FilterDecimalKey(key);
    case KeyFilterKind::Hex:
        return FilterHexKey(key);
    case KeyFilterKind::SignedDigit:
        return FilterSignedDigitKey(key);
    case KeyFilterKind::Printable:
        break;
    }
    return FilterPrintableKey(key);
}

int64_t ToneRawValue(std::string_view text) { return WholeOr(BeforeUnit(text, kHertz), kToneFallback); }

int64_t LimitedTone(int64_t raw, int digit, bool eiaShowing)
{
    const int64_t value = std::min(raw, kToneMax);
    if (value >= kToneMin) return value;
    if (eiaShowing && ((digit == 0 && value == kEiaDigit0) || (digit == kDigitE && value == kEiaDigitE))) return value;
    return kToneMin;
}

std::string ToneFieldText(std::string_view text, int digit, bool eiaShowing)
{
    return std::to_string(LimitedTone(ToneRawValue(text), digit, eiaShowing)) + std::string(kHertz);
}

}  // namespace qm54
