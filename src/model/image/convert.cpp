#include "model/image/convert.h"

#include "model/image/decimal.h"
#include "model/image/frequency.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qm54 {

namespace {

constexpr char32_t kBackspace = 8;

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

char32_t UpperAscii(char32_t c) { return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c; }

KeyFilterResult Accept(char32_t key) { return {true, key}; }
KeyFilterResult Refuse() { return {false, U'\0'}; }
KeyFilterResult AcceptIf(bool ok, char32_t key) { return ok ? Accept(key) : Refuse(); }

bool IsDecimalChar(char32_t c) { return IsDigit(c) || c == U',' || c == U'.'; }

// Reads the whole of text as an int: optional sign (when allowed), then digits only.
bool ParseInt(std::string_view text, bool allowSign, int& value)
{
    if (text.empty()) return false;
    bool negative = false;
    if (allowSign && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    for (char c : text)
        if (!IsDigit(static_cast<unsigned char>(c))) return false;
    long long v = 0;
    for (char c : text) {
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return false;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return false;
    value = static_cast<int>(v);
    return true;
}

// Reads the whole of text as a finite number; "," and "." both serve as the separator.
bool ParseFloat(std::string_view text, double& value)
{
    std::string t(text);
    for (char& c : t)
        if (c == ',') c = '.';
    std::string_view s = t;
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && (s.front() == '-' || s.front() == '+')) return false;
    }
    if (s.empty()) return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

std::string ToUpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

double ToFloatOrZero(std::string_view text)
{
    double v = 0;
    return ParseFloat(Trim(text), v) ? v : 0.0;
}

uint32_t HexToInt(std::string_view text)
{
    uint32_t sum = 0;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        sum = sum * 16u + digit;
    }
    return sum;
}

bool IsInt(std::string_view text)
{
    int v = 0;
    return ParseInt(text, true, v);
}

bool IsNonNegativeInt(std::string_view text)
{
    int v = 0;
    return ParseInt(text, false, v);
}

bool IsIntAtLeast(std::string_view text, int min)
{
    int v = 0;
    return ParseInt(text, false, v) && v >= min;
}

int ToIntOr(std::string_view text, int fallback)
{
    int v = 0;
    return ParseInt(text, true, v) ? v : fallback;
}

KeyFilterResult FilterDigitKey(char32_t key)
{
    return AcceptIf(key == kBackspace || IsDigit(key), key);
}

KeyFilterResult FilterSignedDigitKey(char32_t key)
{
    return AcceptIf(key == kBackspace || IsDigit(key) || key == U'+' || key == U'-', key);
}

KeyFilterResult FilterDecimalKey(char32_t key)
{
    return AcceptIf(key == kBackspace || IsDecimalChar(key), key);
}

KeyFilterResult FilterFrequencyKey(char32_t key)
{
    return AcceptIf(key == kBackspace || IsDecimalChar(key) || key == U' ', key);
}

KeyFilterResult FilterHexKey(char32_t key)
{
    if (key >= U'a' && key <= U'f') return Accept(UpperAscii(key));
    return AcceptIf(key == kBackspace || IsDigit(key) || (key >= U'A' && key <= U'F'), key);
}

KeyFilterResult FilterPrintableKey(char32_t key)
{
    return AcceptIf(key == kBackspace || (key >= 32 && key <= 126), key);
}

KeyFilterResult FilterTagKey(char32_t key, std::string_view excluded)
{
    if (key == kBackspace) return Accept(key);
    const char32_t upper = UpperAscii(key);
    if (upper < 32 || upper > 95) return Refuse();
    for (char c : excluded)
        if (static_cast<unsigned char>(c) == upper) return Refuse();
    return Accept(upper);
}

std::string WithoutControlCharacters(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c == 127) continue;
        // A C1 control is 0xC2 followed by 0x80..0x9F. It is judged on what is kept, so that
        // a control character dropped between the two bytes cannot leave one behind.
        if (c >= 0x80 && c <= 0x9F && !out.empty() && static_cast<unsigned char>(out.back()) == 0xC2) {
            out.pop_back();
            continue;
        }
        out += ch;
    }
    return out;
}

std::string DigitsOnly(std::string_view text)
{
    const std::string_view t = Trim(text);
    for (char c : t)
        if (!IsDigit(static_cast<unsigned char>(c))) return std::string();
    return std::string(t);
}

std::string NormalizeDecimalText(std::string_view text, char separator)
{
    std::string t(Trim(WithoutControlCharacters(text)));
    for (char& c : t) {
        if (!IsDecimalChar(static_cast<unsigned char>(c))) return std::string();
        if (c == ',' || c == '.') c = separator;
    }
    double v = 0;
    return ParseFloat(t, v) ? t : std::string("0");
}

std::string NormalizeTagText(std::string_view text, std::string_view excluded)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : WithoutControlCharacters(text)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) == 0x80) continue;  // a UTF-8 continuation byte: its character is one blank
        const KeyFilterResult r = FilterTagKey(c < 0x80 ? c : 0xFFFD, excluded);
        out += r.Accepted ? static_cast<char>(r.Key) : ' ';
    }
    return out;
}

std::string FrequencyText(double mhz, char separator)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, mhz, std::chars_format::fixed, 5);
    std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("0.00000");
    for (char& c : text)
        if (c == '.') c = separator;
    return text;
}

std::string SnappedFrequencyText(int step, double mhz, char separator)
{
    return FrequencyText(SnapFrequency(step, mhz), separator);
}

// A cell holds at most five decimals, so rounding to whole Hz first is exact and keeps a binary
// fraction such as 262.09 from losing a kHz.
double CellKhzFrequency(std::string_view text)
{
    const double mhz = ToFloatOrZero(text);
    const int64_t hz = TruncToInt64(mhz * 1e6 + (mhz < 0 ? -0.5 : 0.5));
    return static_cast<double>(hz / 1000) / 1000.0;  // NOLINT(bugprone-integer-division): whole kHz
}

std::string NormalizeFrequencyText(std::string_view text, int step, double low, double high,
                                   char separator)
{
    // Only what a frequency is written with: the key filter also passes a backspace, which a
    // pasted text may hold anywhere.
    std::string kept;
    for (char c : text)
        if (IsDecimalChar(static_cast<unsigned char>(c)) || c == ' ') kept += c;
    double mhz = ToFloatOrZero(Trim(kept));
    if (mhz != 0) mhz = SnapFrequency(step, mhz);
    if (mhz > high) mhz = high;
    if (!(mhz >= low)) mhz = low;
    return FrequencyText(mhz, separator);
}

std::string ValidateSerial(std::string_view text)
{
    const bool valid = text.size() == 8 && IsDigit(static_cast<unsigned char>(text[0])) &&
                       text[1] >= 'B' && text[1] <= 'S' && text[1] != 'O' && text[1] != 'P' &&
                       IsIntAtLeast(text.substr(2, 2), 1) && IsIntAtLeast(text.substr(4, 4), 1);
    return valid ? std::string(text) : std::string(DefaultSerial);
}

std::string SerialWithPrefix(int band, std::string_view serial)
{
    if (serial == DefaultSerial) return "00000000";
    if (serial.size() >= 2) {
        const char second = serial[1];
        if (second == 'B' || second == 'Q' || second == 'R' || second == 'S')
            return std::string(band == 1 ? "72" : "71") + std::string(serial);
    }
    return std::string(serial);
}

}  // namespace qm54
