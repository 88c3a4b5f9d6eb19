#include "print/report_format.h"

#include "model/image/decimal.h"

#include <cstdio>

namespace qm54::report {

std::string Hex(int64_t value, int minDigits)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%.*X", minDigits, static_cast<unsigned>(static_cast<uint32_t>(value)));
    return buffer;
}

std::string Dec(int64_t value, int minDigits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*lld", minDigits, static_cast<long long>(value));
    return buffer;
}

namespace {

// sign, whole units and the fraction digits of magnitude / scale.
std::string Fixed(bool negative, uint64_t magnitude, uint64_t scale, int digits)
{
    std::string text = negative && magnitude != 0 ? "-" : "";
    text += std::to_string(magnitude / scale);
    text += '.';
    std::string fraction = std::to_string(magnitude % scale);
    text += std::string(static_cast<size_t>(digits) - fraction.size(), '0') + fraction;
    return text;
}

uint64_t Magnitude(int64_t value)
{
    return value < 0 ? static_cast<uint64_t>(-(value + 1)) + 1 : static_cast<uint64_t>(value);
}

size_t CodePoints(std::string_view text)
{
    size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

std::string Hundredths(int64_t value) { return Fixed(value < 0, Magnitude(value), 100, 2); }

std::string Halves(int64_t value) { return Fixed(value < 0, Magnitude(value) * 5, 10, 1); }

std::string OneDecimal(const TDecimal& value)
{
    const int64_t hundredths = value.ScaledTrunc(2);
    uint64_t magnitude = Magnitude(hundredths);
    magnitude = magnitude / 10 + (magnitude % 10 >= 5 ? 1 : 0);
    return Fixed(hundredths < 0, magnitude, 10, 1);
}

std::string PadLeft(std::string_view text, int width)
{
    const size_t count = CodePoints(text);
    const size_t want = width < 0 ? 0 : static_cast<size_t>(width);
    return std::string(count < want ? want - count : 0, ' ') + std::string(text);
}

std::string PadRight(std::string_view text, int width)
{
    const size_t count = CodePoints(text);
    const size_t want = width < 0 ? 0 : static_cast<size_t>(width);
    return std::string(text) + std::string(count < want ? want - count : 0, ' ');
}

std::string Printable(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) c = ' ';
    }
    return out;
}

}  // namespace qm54::report
