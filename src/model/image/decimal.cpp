#include "model/image/decimal.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace qm54 {

namespace {

constexpr int MaxFractionDigits = 9;
// Value() builds a text; a digit count beyond this cannot come from SetValue and is refused
// rather than padded into a huge string.
constexpr int MaxPaddedDigits = 64;

template <class T>
bool ParseWhole(std::string_view text, T& out)
{
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last;
}

}  // namespace

void TDecimal::SetValue(double x)
{
    *this = TDecimal();
    if (x == 0) return;
    const int32_t sign = x < 0 ? -1 : 1;

    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x,
                                         std::chars_format::general, 15);
    if (ec != std::errc()) return;
    const std::string_view text(buffer, static_cast<size_t>(end - buffer));

    int32_t intPart = 0;
    int32_t fraction = 0;
    int32_t fracDigits = 0;
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        if (!ParseWhole(text, intPart)) return;
    } else {
        const std::string_view fracText = text.substr(dot + 1);
        if (fracText.size() > MaxFractionDigits) return;
        // Only plain digits: from_chars would also take a sign, which "1.-5" must not pass.
        for (const char c : fracText)
            if (c < '0' || c > '9') return;
        if (!ParseWhole(text.substr(0, dot), intPart) || !ParseWhole(fracText, fraction)) return;
        fracDigits = static_cast<int32_t>(fracText.size());
    }
    if (intPart == std::numeric_limits<int32_t>::min()) return;
    Sign = sign;
    IntPart = intPart < 0 ? -intPart : intPart;
    Fraction = fraction;
    FracDigits = fracDigits;
}

std::string TDecimal::Text() const
{
    if (FracDigits < 0 || FracDigits > MaxPaddedDigits) return std::string();
    std::string text = std::to_string(IntPart) + '.';
    // "%*.*d": a zero fraction with no digits prints nothing; otherwise zero-padded on the left.
    if (Fraction != 0 || FracDigits > 0) {
        std::string digits = std::to_string(Fraction);
        const bool negative = Fraction < 0;
        if (negative) digits.erase(0, 1);
        if (digits.size() < static_cast<size_t>(FracDigits))
            digits.insert(0, static_cast<size_t>(FracDigits) - digits.size(), '0');
        if (negative) digits.insert(0, 1, '-');
        text += digits;
    }
    return text;
}

double TDecimal::Value() const
{
    std::string text = Text();
    if (!text.empty() && text.back() == '.') text.pop_back();
    double value = 0;
    if (!ParseWhole(text, value)) return 0;
    return value * Sign;
}

int64_t TDecimal::ScaledTrunc(int decimals) const
{
    if (decimals < 0 || decimals > MaxFractionDigits) return 0;
    const std::string text = Text();
    const auto dot = text.find('.');
    if (dot == std::string::npos) return 0;
    std::string fraction = text.substr(dot + 1);
    if (fraction.find('-') != std::string::npos) return TruncToInt64(Value() * std::pow(10.0, decimals));
    fraction.resize(static_cast<size_t>(decimals), '0');
    int64_t whole = 0;
    if (!ParseWhole(text.substr(0, dot) + fraction, whole)) return 0;
    return whole * Sign;
}

int64_t TruncToInt64(double x)
{
    if (std::isnan(x)) return 0;
    constexpr double limit = 9.0e18;
    if (x >= limit) return static_cast<int64_t>(limit);
    if (x <= -limit) return -static_cast<int64_t>(limit);
    return static_cast<int64_t>(x);
}

std::string DecimalText(const TDecimal& d)
{
    std::string text = d.Sign < 0 ? "-" : "";
    text += std::to_string(d.IntPart);
    if (d.FracDigits > 0) {
        std::string fraction = std::to_string(d.Fraction);
        if (fraction.size() < static_cast<size_t>(d.FracDigits))
            fraction.insert(0, static_cast<size_t>(d.FracDigits) - fraction.size(), '0');
        text += "." + fraction;
    }
    return text;
}

}  // namespace qm54
