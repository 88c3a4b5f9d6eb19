// TDecimal: an exact decimal number that keeps the digits it was given, so that a frequency such
// as 450.00625 MHz is held as (+1, 450, 625, 5) and 161.0 stays apart from 161.
#pragma once

#include <cstdint>
#include <string>

namespace qm54 {

class TDecimal {
public:
    int32_t Sign = 1;        // +1 or -1
    int32_t IntPart = 0;     // never negative
    int32_t Fraction = 0;    // the fraction's digits read as an integer
    int32_t FracDigits = 0;  // how many fraction digits (leading zeros of Fraction included)

    TDecimal() = default;
    TDecimal(int32_t sign, int32_t intPart, int32_t fraction, int32_t fracDigits)
        : Sign(sign), IntPart(intPart), Fraction(fraction), FracDigits(fracDigits) {}

    // Takes the digits of the shortest general text of x (15 significant digits). A text with an
    // exponent, a fraction of more than nine digits, or an integer part beyond 32 bits gives zero.
    void SetValue(double x);
    // The number as a double; 0 when the fields do not form a number.
    double Value() const;
    // Trunc(Value() x 10^decimals), worked out on the digits instead of the double, so that
    // 146.52 MHz gives 146520 kHz and never 146519. decimals is 0 to 9.
    int64_t ScaledTrunc(int decimals) const;

    bool operator==(const TDecimal&) const = default;

private:
    // "IntPart.Fraction" with the fraction zero-padded to FracDigits, the text Value() reads.
    std::string Text() const;
};

// The digits a TDecimal holds: 450.0125 stays 450.0125 and 161 stays 161.
std::string DecimalText(const TDecimal& d);

// Trunc of a double into 64 bits; NaN gives 0 and values beyond the range are clamped first.
int64_t TruncToInt64(double x);

}  // namespace qm54
