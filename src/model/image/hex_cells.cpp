#include "model/image/hex_cells.h"

#include "model/image/convert.h"

namespace qm54 {

namespace {

constexpr std::string_view kLowerHexDigits = "0123456789abcdef";

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string HexByteText(uint8_t byte)
{
    return {kLowerHexDigits[byte >> 4], kLowerHexDigits[byte & 15]};
}

std::string HexRowAddressText(std::size_t row)
{
    // At least four digits of the row number, then the "0h" of the row's first byte.
    std::string digits;
    do {
        digits.insert(digits.begin(), kLowerHexDigits[row & 15]);
        row >>= 4;
    } while (row != 0);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return digits + "0h";
}

std::optional<uint8_t> ReadHexByte(std::string_view text)
{
    const std::string_view digits = Trim(text);
    if (digits.empty() || digits.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<uint8_t>(value);
}

}  // namespace qm54
