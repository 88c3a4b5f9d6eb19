// The number and text formats of the report's lines. Numbers never go through the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm54 {

class TDecimal;

namespace report {

// "%x" and "%2.2x": upper-case hexadecimal digits, at least minDigits; a negative value prints as
// its 32-bit two's complement (eight digits).
std::string Hex(int64_t value, int minDigits = 1);
// "%d"; with minDigits, "%N.Nd" (zero-padded after the sign).
std::string Dec(int64_t value, int minDigits = 1);
// value / 100 as "0.00".
std::string Hundredths(int64_t value);
// value x 0.5 as "0.0".
std::string Halves(int64_t value);
// The decimal number as "0.0", rounded half away from zero on its digits.
std::string OneDecimal(const TDecimal& value);

// "%Ns" and "%-Ns", counting characters (UTF-8 code points), never cutting.
std::string PadLeft(std::string_view text, int width);
std::string PadRight(std::string_view text, int width);

// text with every control byte (below 32, and 127) turned into a blank, so that a text from the
// image can never end or break a report line.
std::string Printable(std::string_view text);

}  // namespace report
}  // namespace qm54
