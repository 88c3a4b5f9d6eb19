// Conversions of typed text, keystroke filters, text normalisers and the serial-number rules
// shared by the channel grid, the dialogs and the tool. None of them fails: text that is not a
// number becomes 0 or a fixed fallback. Numbers are read and written without the C locale:
// "." and "," are both taken as the decimal separator; results use the separator the caller
// passes ("." unless the front end shows another).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm54 {

// Text without the blanks and control characters (code 32 and below) at both ends.
std::string_view Trim(std::string_view text);

// ASCII letters a to z turned to upper case; every other byte unchanged.
std::string ToUpperAscii(std::string_view text);

// The number in text (trimmed; "." or "," as the separator), or 0 when text is not a finite number.
double ToFloatOrZero(std::string_view text);

// Sum over the characters from the right, weighted 1, 16, 256, ...: "0".."9" count 0..9,
// "A".."F" and "a".."f" 10..15, anything else 0. Taken modulo 2^32 for texts of more than 8 characters.
uint32_t HexToInt(std::string_view text);

// A whole number: an optional "+" or "-", then one or more digits, within the 32-bit range.
bool IsInt(std::string_view text);
// Digits only (no sign), within the 32-bit range.
bool IsNonNegativeInt(std::string_view text);
bool IsIntAtLeast(std::string_view text, int min);
// The value of a text for which IsInt holds, else fallback.
int ToIntOr(std::string_view text, int fallback);

// Keystroke filters. A refused key comes back with key == U'\0' so that it is not typed.
// Backspace (8) is always accepted.
struct KeyFilterResult {
    bool Accepted;
    char32_t Key;  // the key to type: the input, its replacement, or U'\0' when refused
};

KeyFilterResult FilterDigitKey(char32_t key);
KeyFilterResult FilterSignedDigitKey(char32_t key);
KeyFilterResult FilterDecimalKey(char32_t key);
KeyFilterResult FilterFrequencyKey(char32_t key);
KeyFilterResult FilterHexKey(char32_t key);        // a..f accepted as A..F
KeyFilterResult FilterPrintableKey(char32_t key);  // 32..126
// After upper-casing: 32..95 and not one of the characters of excluded.
KeyFilterResult FilterTagKey(char32_t key, std::string_view excluded);

// text without its control characters: bytes below 32, DEL (127) and the C1 controls U+0080 to
// U+009F (two bytes in UTF-8). The normalisers below never keep or count one.
std::string WithoutControlCharacters(std::string_view text);

// Trimmed text when every character is a digit, else empty.
std::string DigitsOnly(std::string_view text);

// Without its control characters, trimmed text when every character is a digit, "," or ".",
// with "," and "." turned into separator; "0" when that is not a number; empty when a character
// is refused.
std::string NormalizeDecimalText(std::string_view text, char separator = '.');

// Control characters are dropped; every other character (UTF-8 code point) that FilterTagKey
// refuses becomes one blank; the rest is upper-cased.
std::string NormalizeTagText(std::string_view text, std::string_view excluded);

// mhz with five decimals ("%3.5f"), written with separator.
std::string FrequencyText(double mhz, char separator = '.');

// The frequency as the grid and the report show it: snapped to the channel raster of step
// (SnapFrequency), five decimals.
std::string SnappedFrequencyText(int step, double mhz, char separator = '.');

// A frequency cell's text as the grid stores it: read (0 when it is not a number), rounded to
// whole Hz and then cut to whole kHz; the result in MHz.
double CellKhzFrequency(std::string_view text);

// A typed frequency cell: only digits, ",", "." and blanks are kept, read as a number
// (0 when they are not one), snapped to the raster of step unless 0, then held within low..high
// (MHz); the result has five decimals.
std::string NormalizeFrequencyText(std::string_view text, int step, double low, double high,
                                   char separator = '.');

inline constexpr const char* DefaultSerial = "12345678";

// text when it is a valid serial number (digit, letter B..S but not O or P, two digits not "00",
// four digits not "0000"), else the default serial.
std::string ValidateSerial(std::string_view text);

// The serial number as shown: "00000000" for the default serial; "71" (VHF) or "72" (UHF) in front
// of a serial whose second character is B, Q, R or S; otherwise the serial unchanged.
std::string SerialWithPrefix(int band, std::string_view serial);

}  // namespace qm54
