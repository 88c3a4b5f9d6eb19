#include "model/image/convert.h"

#include <gtest/gtest.h>

#include <string>

namespace qm54 {
namespace {

TEST(ToFloatOrZero, ReadsEitherSeparatorAndGivesZeroForAnythingElse)
{
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"450.0125", 450.0125}, {"450,0125", 450.0125}, {" 12.5 ", 12.5}, {"-0.5", -0.5},
        {"+3", 3.0},            {".5", 0.5},            {"", 0.0},        {"abc", 0.0},
        {"1.2.3", 0.0},         {"12a", 0.0},           {"4 5 0", 0.0},   {"inf", 0.0},
        {"nan", 0.0},           {"1e999", 0.0},         {"+-1", 0.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ToFloatOrZero(c.text), c.expected) << c.text;
}

TEST(HexToInt, WeighsFromTheRightAndCountsOtherCharactersAsZero)
{
    struct Case { const char* text; uint32_t expected; };
    const Case cases[] = {
        {"1a", 26}, {"1A", 26}, {"1G", 16}, {"", 0}, {"FFFF", 65535}, {"f0", 240}, {"-1", 1},
        {"FFFFFFFF", 0xFFFFFFFFu}, {"100000000", 0},  // past 8 digits the sum wraps, never overflows
    };
    for (const Case& c : cases) EXPECT_EQ(HexToInt(c.text), c.expected) << c.text;
}

TEST(IntegerTests, AcceptOnlyWholeNumbersWithinRange)
{
    struct Case { const char* text; bool isInt; bool nonNegative; int value; };
    const Case cases[] = {
        {"0", true, true, 0},          {"123", true, true, 123},     {"-5", true, false, -5},
        {"+7", true, false, 7},        {"", false, false, -1},       {"-", false, false, -1},
        {" 1", false, false, -1},      {"1.0", false, false, -1},    {"12a", false, false, -1},
        {"2147483647", true, true, 2147483647},
        {"2147483648", false, false, -1},
        {"-2147483648", true, false, -2147483647 - 1},
        {"99999999999999999999", false, false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsInt(c.text), c.isInt) << c.text;
        EXPECT_EQ(IsNonNegativeInt(c.text), c.nonNegative) << c.text;
        EXPECT_EQ(ToIntOr(c.text, -1), c.value) << c.text;
    }
    EXPECT_TRUE(IsIntAtLeast("1", 1));
    EXPECT_FALSE(IsIntAtLeast("0", 1));
    EXPECT_FALSE(IsIntAtLeast("00", 1));
    EXPECT_FALSE(IsIntAtLeast("-3", -5));  // a sign is never a non-negative whole number
}

TEST(KeyFilters, AcceptTheirCharactersAndBackspaceAndBlankTheRest)
{
    using Filter = KeyFilterResult (*)(char32_t);
    struct Case { Filter filter; const char* name; const char32_t* accepted; const char32_t* refused; };
    const Case cases[] = {
        {FilterDigitKey, "digit", U"0579\b", U"a.,+- \x7f"},
        {FilterSignedDigitKey, "signed", U"09+-\b", U"a., "},
        {FilterDecimalKey, "decimal", U"09,.\b", U"a+- "},
        {FilterFrequencyKey, "frequency", U"09,. \b", U"a+-\t"},
        {FilterHexKey, "hex", U"09AF\b", U"GgX ."},
        {FilterPrintableKey, "printable", U" ~aZ\b", U"\x1f\x7f\u00e9\n"},
    };
    for (const Case& c : cases) {
        for (const char32_t* k = c.accepted; *k; ++k) {
            const KeyFilterResult r = c.filter(*k);
            EXPECT_TRUE(r.Accepted) << c.name << " " << static_cast<uint32_t>(*k);
            EXPECT_EQ(r.Key, *k) << c.name;
        }
        for (const char32_t* k = c.refused; *k; ++k) {
            const KeyFilterResult r = c.filter(*k);
            EXPECT_FALSE(r.Accepted) << c.name << " " << static_cast<uint32_t>(*k);
            EXPECT_EQ(r.Key, U'\0') << c.name;
        }
    }
    const KeyFilterResult lower = FilterHexKey(U'c');
    EXPECT_TRUE(lower.Accepted);
    EXPECT_EQ(lower.Key, U'C');
}

TEST(FilterTagKey, UpperCasesThenKeepsCodes32To95NotExcluded)
{
    struct Case { char32_t key; const char* excluded; bool accepted; char32_t key2; };
    const Case cases[] = {
        {U'a', "", true, U'A'},   {U'Z', "", true, U'Z'},     {U' ', "", true, U' '},
        {U'_', "", true, U'_'},   {U'`', "", false, U'\0'},   {U'{', "", false, U'\0'},
        {U'%', "%", false, U'\0'}, {U'q', "Q", false, U'\0'}, {U'\b', "", true, U'\b'},
        {U'\u00e9', "", false, U'\0'}, {U'\x1f', "", false, U'\0'},
    };
    for (const Case& c : cases) {
        const KeyFilterResult r = FilterTagKey(c.key, c.excluded);
        EXPECT_EQ(r.Accepted, c.accepted) << static_cast<uint32_t>(c.key);
        EXPECT_EQ(r.Key, c.key2) << static_cast<uint32_t>(c.key);
    }
}

TEST(Normalisers, DigitsDecimalsAndTags)
{
    EXPECT_EQ(DigitsOnly("12a"), "");
    EXPECT_EQ(DigitsOnly("  12 "), "12");
    EXPECT_EQ(DigitsOnly("1 2"), "");
    EXPECT_EQ(DigitsOnly(""), "");

    struct Case { const char* text; const char* expected; };
    const Case decimals[] = {
        {"1.2.3", "0"}, {" 1,5 ", "1.5"}, {"2.25", "2.25"}, {"12a", ""}, {"-1", ""}, {"", "0"},
        {",", "0"},     {"7", "7"},
    };
    for (const Case& c : decimals) EXPECT_EQ(NormalizeDecimalText(c.text), c.expected) << c.text;
    EXPECT_EQ(NormalizeDecimalText("1.5", ','), "1,5");

    EXPECT_EQ(NormalizeTagText("abc~d", ""), "ABC D");
    EXPECT_EQ(NormalizeTagText("a%b", "%"), "A B");
    // One blank per character, however many bytes it takes in UTF-8.
    EXPECT_EQ(NormalizeTagText("caf\xc3\xa9!", ""), "CAF !");
    EXPECT_EQ(NormalizeTagText(std::string("a\0b", 3), ""), "AB");  // a control character is dropped
}

// Pasted or imported text may hold control characters (a backspace, a line end, a tab, DEL, a
// C1 control in UTF-8) wherever the key filters let them through: no normaliser keeps one, turns
// one into a blank or refuses a text for one.
TEST(Normalisers, DropControlCharacters)
{
    struct Case { std::string text; const char* frequency; const char* decimal; const char* tag; };
    const Case cases[] = {
        {"165.5\b25", "165.52500", "165.525", "165.525"},
        {"1\b61,5", "161.50000", "161.5", "161,5"},
        {std::string("16\0" "2.5", 6), "162.50000", "162.5", "162.5"},
        {"16\x7f" "3.5\r\n", "163.50000", "163.5", "163.5"},
        {"\t16\xc2\x85" "4.5", "164.50000", "164.5", "164.5"},  // U+0085, a C1 control
        {"ab\tc", "150.00000", "", "ABC"},
        {"x\xc3\xa9y", "150.00000", "", "X Y"},  // a character that is no control stays one blank
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalizeFrequencyText(c.text, 0, 150, 174), c.frequency) << c.text;
        EXPECT_EQ(NormalizeDecimalText(c.text), c.decimal) << c.text;
        EXPECT_EQ(NormalizeTagText(c.text, ""), c.tag) << c.text;
        EXPECT_EQ(WithoutControlCharacters(c.text).find_first_of("\b\t\r\n\x7f"), std::string::npos);
    }
    EXPECT_EQ(WithoutControlCharacters("a\xc2\x80\xc2\x9f\xc2\xa0z"), "a\xc2\xa0z");  // U+00A0 is no control
    EXPECT_EQ(WithoutControlCharacters("\xc2"), "\xc2");  // a cut lead byte is left to the normaliser
}

TEST(NormalizeFrequencyText, KeepsFrequencyCharactersSnapsAndClampsToTheLimits)
{
    struct Case { const char* text; int step; double low; double high; const char* expected; };
    const Case cases[] = {
        {"450,0125", 0, 450, 480, "450.01250"},
        {"450.006", 0, 450, 480, "450.00625"},   // raster B is nearer
        {"450.010", 0, 450, 480, "450.01000"},   // raster A exact
        {"150.0125", 1, 150, 174, "150.01250"},
        {"", 0, 450, 480, "450.00000"},
        {"500", 0, 450, 480, "480.00000"},
        {"4 5 0", 0, 450, 480, "450.00000"},     // blanks inside: not a number
        {"MHz 161.5!", 0, 150, 174, "161.50000"},  // refused characters are dropped first
        {"1.2.3", 0, 150, 174, "150.00000"},
        {"0", 0, 150, 174, "150.00000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeFrequencyText(c.text, c.step, c.low, c.high), c.expected) << c.text;
    EXPECT_EQ(NormalizeFrequencyText("161,5", 0, 150, 174, ','), "161,50000");
    EXPECT_EQ(SnappedFrequencyText(0, 450.006), "450.00625");
    EXPECT_EQ(FrequencyText(0.0), "0.00000");
}

TEST(CellKhzFrequency, RoundsToTheHzThenCutsToWholeKhz)
{
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"262.09000", 262.09},    // 262.09 x 10^6 lies just below a whole Hz in binary
        {"150.00250", 150.002},   // a 2.5 kHz raster point keeps its whole kHz
        {"450.00625", 450.006},
        {"161,5", 161.5},
        {"Tx Inh", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CellKhzFrequency(c.text), c.expected) << c.text;
}

TEST(ValidateSerial, KeepsValidSerialsAndFallsBackToTheDefault)
{
    struct Case { const char* text; bool valid; };
    const Case cases[] = {
        {"5B010001", true},  {"0S990001", true},  {"9N010100", true},
        {"5O010001", false}, {"5P010001", false}, {"5A010001", false}, {"5T010001", false},
        {"5B000001", false}, {"5B010000", false}, {"5B01000", false},  {"5B0100011", false},
        {"5b010001", false}, {"XB010001", false}, {"5B+10001", false}, {"5B01-001", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidateSerial(c.text), c.valid ? std::string(c.text) : "12345678") << c.text;
}

TEST(SerialWithPrefix, PrefixesByBandOnlyForTheLetteredSerials)
{
    struct Case { int band; const char* serial; const char* shown; };
    const Case cases[] = {
        {1, "5Q123456", "725Q123456"}, {0, "5B010001", "715B010001"}, {0, "5S010001", "715S010001"},
        {0, "5C123456", "5C123456"},   {1, "12345678", "00000000"},   {0, "12345678", "00000000"},
        {0, "5", "5"},                 {0, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(SerialWithPrefix(c.band, c.serial), c.shown) << c.serial;
}

}  // namespace
}  // namespace qm54
