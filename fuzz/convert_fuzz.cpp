// The parse rules of typed text shared by the grid, the dialogs and the tool. Properties: every
// normaliser gives a text that it leaves as it is when given again, and the same text whether or
// not the input holds control characters; a normalised frequency is a five-decimal number within
// the band's limits; IsInt and ToIntOr agree and a whole number survives being written out and
// read again; a tag text holds only characters a tag may hold.
//
// Input: options byte (bits 0-1 the band limits, bit 2 the channel step, bit 3 "," as the
// separator), then the typed text.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "model/image/convert.h"
#include "model/image/decimal.h"

#include <array>
#include <cmath>
#include <string>

namespace {

using namespace qm54;

struct Limits {
    double low;
    double high;
};
// Limits on the channel raster of both steps, as the band tables give them, and the widest.
constexpr std::array<Limits, 4> kLimits{{{136.0, 174.0}, {400.0, 470.0}, {450.0, 512.0}, {0.0, 999.99}}};

size_t Decimals(const std::string& text, char separator)
{
    const auto at = text.find(separator);
    return at == std::string::npos ? 0 : text.size() - at - 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qm54fuzz::FuzzInput input(data, size);
    const uint8_t options = input.Byte();
    const auto rest = input.Take(size);
    const std::string text(rest.begin(), rest.end());
    const Limits limits = kLimits[options & 3];
    const int step = (options >> 2) & 1;
    const char separator = (options & 8) ? ',' : '.';

    const std::string freq = NormalizeFrequencyText(text, step, limits.low, limits.high, separator);
    FUZZ_CHECK(Decimals(freq, separator) == 5);
    const double mhz = ToFloatOrZero(freq);
    FUZZ_CHECK(mhz >= limits.low && mhz <= limits.high);
    FUZZ_CHECK(NormalizeFrequencyText(freq, step, limits.low, limits.high, separator) == freq);
    const std::string withoutControls = WithoutControlCharacters(text);
    FUZZ_CHECK(WithoutControlCharacters(withoutControls) == withoutControls);
    FUZZ_CHECK(NormalizeFrequencyText(withoutControls, step, limits.low, limits.high, separator) == freq);

    const std::string dec = NormalizeDecimalText(text, separator);  // empty: the text was refused
    if (!dec.empty()) FUZZ_CHECK(NormalizeDecimalText(dec, separator) == dec);
    FUZZ_CHECK(NormalizeDecimalText(withoutControls, separator) == dec);

    const std::string tag = NormalizeTagText(text, "\"");
    for (char c : tag) FUZZ_CHECK(c >= ' ' && c <= '_' && c != '"');
    FUZZ_CHECK(NormalizeTagText(tag, "\"") == tag);
    FUZZ_CHECK(NormalizeTagText(withoutControls, "\"") == tag);

    const bool isInt = IsInt(text);
    FUZZ_CHECK(isInt == (ToIntOr(text, 0) == ToIntOr(text, 1)));
    if (isInt) FUZZ_CHECK(ToIntOr(std::to_string(ToIntOr(text, 0)), 1) == ToIntOr(text, 0));
    if (IsNonNegativeInt(text)) FUZZ_CHECK(isInt && ToIntOr(text, -1) >= 0);

    const std::string serial = ValidateSerial(text);
    FUZZ_CHECK(serial.size() == 8 && ValidateSerial(serial) == serial);

    TDecimal value;
    value.SetValue(ToFloatOrZero(text));
    FUZZ_CHECK(std::isfinite(value.Value()));
    value.ScaledTrunc(5);
    HexToInt(text);
    return 0;
}
