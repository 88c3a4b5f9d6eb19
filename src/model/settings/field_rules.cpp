#include "model/settings/field_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "model/image/decimal.h"

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

// The range and step of a numeric rule, in the field's own unit.
struct NumberRange {
    double Min = 0;
    double Max = 0;
    double Step = 1;
};

NumberRange RangeOf(const FieldRule& rule)
{
    switch (rule.Kind) {
    case RuleKind::TenKilohertz: return {0, kTenKilohertzMax, 0.01};
    case RuleKind::HalfStep: return {0, kHalfStepMax, 0.5};
    case RuleKind::Guard: return {0, kGuardMax, 2};
    case RuleKind::Number: return {double(rule.Min), double(rule.Max), double(std::max(rule.Step, 1))};
    case RuleKind::Tone: return {double(kToneMin), double(kToneMax), 1};
    case RuleKind::PointFrequency: return {0, kPointFrequencyMax, 0.1};
    case RuleKind::Signed: return {double(rule.Min), double(rule.Max), 1};
    case RuleKind::FreeText:
    case RuleKind::Serial:
    case RuleKind::Code:
        break;
    }
    return {};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of a text written in the characters of filter, and nothing else: digits; for
// SignedDigit a sign before them; for Decimal at most one "." or "," among them.
std::optional<double> StrictNumber(std::string_view text, KeyFilterKind filter)
{
    std::string plain(text);
    const bool signedText = filter == KeyFilterKind::SignedDigit && !plain.empty() && (plain[0] == '+' || plain[0] == '-');
    if (signedText && plain[0] == '+') plain.erase(0, 1);
    const size_t first = signedText && plain[0] == '-' ? 1 : 0;
    int digits = 0;
    int separators = 0;
    for (size_t i = first; i < plain.size(); ++i) {
        char& c = plain[i];
        if (IsDigit(c)) {
            ++digits;
        } else if (filter == KeyFilterKind::Decimal && (c == '.' || c == ',')) {
            c = '.';
            ++separators;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || separators > 1) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return value;
}

bool IsStrictText(const FieldRule& rule, std::string_view text)
{
    switch (rule.Kind) {
    case RuleKind::Serial:
        return ValidateSerial(text) == text || text == kDefaultSerialShown;
    case RuleKind::FreeText:
    case RuleKind::Code:
        if (text.size() > static_cast<size_t>(rule.MaxTyped) || (rule.Kind == RuleKind::Code && text.empty()))
            return false;
        for (const char c : text) {
            const KeyFilterResult key = FilterFieldKey(rule, static_cast<unsigned char>(c));
            if (!key.Accepted || key.Key == U'\b') return false;
        }
        return true;
    default:
        return false;
    }
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

StrictReading ReadFieldStrictly(const FieldRule& rule, std::string_view text)
{
    if (IsTextRule(rule)) return {IsStrictText(rule, text), 0};
    if (!rule.Unit.empty() && text.size() >= rule.Unit.size() && text.substr(text.size() - rule.Unit.size()) == rule.Unit)
        text.remove_suffix(rule.Unit.size());
    const std::optional<double> number = StrictNumber(text, rule.Filter);
    return {number.has_value(), number.value_or(0)};
}

std::string FieldForm(const FieldRule& rule)
{
    switch (rule.Kind) {
    case RuleKind::FreeText:
        return "at most " + std::to_string(rule.MaxTyped) + " characters from the space to \"~\"";
    case RuleKind::Serial:
        return "a serial number of 8 characters: a digit, a capital letter from B to S but not O or P, then 2 "
               "digits and 4 digits, neither all 0";
    case RuleKind::Code:
        return "1 to " + std::to_string(rule.MaxTyped) + " hexadecimal digits";
    default:
        break;
    }
    const NumberRange range = RangeOf(rule);
    const bool decimal = rule.Filter == KeyFilterKind::Decimal;
    std::string form = std::string(decimal ? "a number" : "a whole number") + " from " +
                       FormatField(rule, Number(range.Min)) + " to " + FormatField(rule, Number(range.Max));
    if (rule.Kind == RuleKind::HalfStep || rule.Kind == RuleKind::Guard || (rule.Kind == RuleKind::Number && rule.Step > 1))
        form += " in steps of " + Shortest(range.Step, '.');
    if (decimal) form += ", \".\" or \",\" before the decimals";
    return form;
}

std::string AdjustmentOf(const FieldRule& rule, double read, std::string_view shown)
{
    if (IsTextRule(rule)) return {};
    const StrictReading now = ReadFieldStrictly(rule, shown);
    if (!now.Readable || std::abs(now.Number - read) < 1e-9) return {};
    const NumberRange range = RangeOf(rule);
    if (read > range.Max) return "the largest";
    if (read < range.Min) return "the smallest";
    return "rounded as the field rounds";
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
