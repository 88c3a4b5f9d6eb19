#include "model/image/map.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qm54::FieldRef;
using qm54::TMap;

TEST(TMapField, WriteAndReadKeepTheOtherBits)
{
    struct Case {
        FieldRef ref;
        int64_t value;
        std::vector<uint8_t> before;  // bytes from ref.StartByte
        std::vector<uint8_t> after;
        uint32_t unsignedValue;
        int32_t signedValue;
    };
    const Case cases[] = {
        {{10, 6, 10, 5}, 2, {0x20}, {0x40}, 2, 2},                 // two bits at 6-5: 6 set, 5 cleared
        {{10, 6, 10, 5}, 2, {0xBF}, {0xDF}, 2, 2},                 // the neighbours stay set
        {{10, 7, 10, 7}, 1, {0x00}, {0x80}, 1, -1},                // a set bit 7 alone reads -1
        {{10, 7, 10, 0}, -16, {0x00}, {0xF0}, 0xF0, -16},          // a whole byte in two's complement
        {{10, 4, 10, 4}, 3, {0x00}, {0x10}, 1, 1},                 // masked to the field's width
        {{10, 7, 11, 0}, 600, {0xFF, 0xFF}, {0x02, 0x58}, 600, 600},
        {{10, 7, 11, 0}, -2, {0x00, 0x00}, {0xFF, 0xFE}, 0xFFFE, -2},
        {{10, 3, 11, 4}, 0xAB, {0xFF, 0xFF}, {0xFA, 0xBF}, 0xAB, 0xAB},  // across a byte, no bit 7
        {{10, 7, 13, 0}, 0x12345678, {0, 0, 0, 0}, {0x12, 0x34, 0x56, 0x78}, 0x12345678, 0x12345678},
    };
    for (const auto& c : cases) {
        TMap map;
        std::copy(c.before.begin(), c.before.end(), map.Bytes().begin() + c.ref.StartByte);
        map.WriteField(c.ref, c.value);
        const std::vector<uint8_t> got(map.Bytes().begin() + c.ref.StartByte,
                                       map.Bytes().begin() + c.ref.StartByte + c.after.size());
        EXPECT_EQ(got, c.after) << c.value;
        EXPECT_EQ(map.ReadUnsigned(c.ref), c.unsignedValue) << c.value;
        EXPECT_EQ(map.ReadSigned(c.ref), c.signedValue) << c.value;
        EXPECT_EQ(map.Bytes()[c.ref.StartByte - 1], 0);
        EXPECT_EQ(map.Bytes()[c.ref.EndByte + 1], 0);
    }
}

TEST(TMapDigits, NibblesFromTheStartBitUntilTheTextOrFieldEnds)
{
    struct Case {
        FieldRef ref;
        const char* text;
        std::vector<uint8_t> after;  // bytes 20..22, all 0xEE before
        const char* readBack;        // ReadDigits of the ref
    };
    const Case cases[] = {
        {{20, 7, 21, 0}, "1740", {0x17, 0x40, 0xEE}, "1740"},
        {{20, 3, 21, 0}, "123", {0xE1, 0x23, 0xEE}, "123"},     // start bit 3: the low nibble first
        {{20, 7, 21, 0}, "12", {0x12, 0xEE, 0xEE}, "12"},       // later nibbles keep their value
        {{20, 7, 21, 0}, "1-40", {0x1E, 0xEE, 0xEE}, "1"},      // stops at a non-digit
        {{20, 7, 20, 0}, "123456", {0x12, 0xEE, 0xEE}, "12"},   // never past the end byte
        {{20, 7, 22, 0}, "", {0xEE, 0xEE, 0xEE}, ""},
    };
    for (const auto& c : cases) {
        TMap map;
        map.Bytes().fill(0xEE);
        map.WriteDigits(c.ref, c.text);
        EXPECT_EQ(std::vector<uint8_t>(map.Bytes().begin() + 20, map.Bytes().begin() + 23), c.after)
            << c.text;
        EXPECT_EQ(map.ReadDigits(c.ref), c.readBack) << c.text;
    }
}

TEST(TMapHexDigits, OneByteADigitUpperCaseOnly)
{
    TMap map;
    const FieldRef ref{30, 7, 33, 0};
    map.WriteHexDigits(ref, "1A2F");
    EXPECT_EQ(std::vector<uint8_t>(map.Bytes().begin() + 30, map.Bytes().begin() + 34),
              (std::vector<uint8_t>{1, 10, 2, 15}));
    EXPECT_EQ(map.ReadHexDigits(ref), "1A2F");
    map.WriteHexDigits(ref, "1a2f");
    EXPECT_EQ(map.ReadHexDigits(ref), "1020");
    map.WriteHexDigits(ref, "9");
    EXPECT_EQ(map.ReadHexDigits(ref), "9000");
    map.Bytes()[31] = 0x10;
    EXPECT_EQ(map.ReadHexDigits(ref), "900");
}

TEST(TMapText, PaddedWithNulAndReadWithBlanks)
{
    TMap map;
    const FieldRef ref{40, 7, 43, 0};
    map.Bytes()[44] = 'Z';
    map.WriteText(ref, "ABCDEF");
    EXPECT_EQ(map.ReadText(ref), "ABCD");
    EXPECT_EQ(map.Bytes()[44], 'Z');
    map.WriteText(ref, "x");
    EXPECT_EQ(map.ReadText(ref), "x   ");
    map.Bytes()[41] = 0x1F;
    map.Bytes()[42] = 0x7F;
    map.Bytes()[43] = 0xC3;
    EXPECT_EQ(map.ReadText(ref), "x   ");
}

TEST(TMapText, DbcsReadKeepsWholeUtf8CharactersOnly)
{
    struct Case {
        std::vector<uint8_t> bytes;  // a 4-byte field
        std::string expected;
    };
    const Case cases[] = {
        {{'a', 0xC3, 0xA9, 'b'}, "a\xC3\xA9" "b"},            // é kept whole
        {{0xE2, 0x82, 0xAC, 0}, "\xE2\x82\xAC "},             // € kept whole
        {{'a', 'b', 'c', 0xC3}, "abc "},                      // a lead byte cut off by the field end
        {{0xC3, 'a', 0x80, 0xFF}, " a  "},                    // no continuation, stray bytes
        {{0xC0, 0xAF, 0xED, 0xA0}, "    "},                   // overlong form, surrogate start
        {{0xF0, 0x9F, 0x98, 0x80}, "\xF0\x9F\x98\x80"},       // a four-byte character
    };
    for (const auto& c : cases) {
        TMap map;
        std::copy(c.bytes.begin(), c.bytes.end(), map.Bytes().begin() + 100);
        EXPECT_EQ(map.ReadTextDbcs({100, 7, 103, 0}), c.expected);
    }
}

TEST(TMapFlagsAndRepeated, WalkTheBitsAndEntries)
{
    TMap map;
    const FieldRef flagsRef{6, 7, 7, 0};
    std::vector<int32_t> flags(16, 0);
    flags[0] = 1;
    flags[7] = -1;
    flags[8] = 5;
    flags[15] = 1;
    map.Bytes()[8] = 0xFF;
    map.WriteFlags(flagsRef, flags, 16);
    EXPECT_EQ(map.Bytes()[6], 0x81);
    EXPECT_EQ(map.Bytes()[7], 0x81);
    EXPECT_EQ(map.Bytes()[8], 0xFF);
    EXPECT_EQ(map.ReadFlags(flagsRef, 16),
              (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1}));
    map.WriteFlags(flagsRef, std::vector<int32_t>(20, 1), 20);  // never past the end byte
    EXPECT_EQ(map.Bytes()[8], 0xFF);
    EXPECT_EQ(map.ReadFlags({6, 7, 6, 0}, 10)[9], 0);

    const std::vector<int32_t> words{2400, 1060, 680};
    map.WriteRepeated({0x90, 7, 0x91, 0}, words, 3);
    EXPECT_EQ(map.Bytes()[0x94], 0x02);
    EXPECT_EQ(map.Bytes()[0x95], 0xA8);
    EXPECT_EQ(map.ReadRepeated({0x90, 7, 0x91, 0}, 3, false), words);
    const std::vector<int32_t> trims{-128, 127, -1};
    map.WriteRepeated({0x60, 7, 0x60, 0}, trims, 3);
    EXPECT_EQ(map.ReadRepeated({0x60, 7, 0x60, 0}, 3, true), trims);
    EXPECT_EQ(map.ReadRepeated({0x60, 7, 0x60, 0}, 3, false), (std::vector<int32_t>{128, 127, 255}));
    // Entries that would run past the image are left out and read 0.
    map.WriteRepeated({1984, 7, 1984, 0}, std::vector<int32_t>{1, 2, 3}, 3);
    EXPECT_EQ(map.Bytes()[1985], 2);
    EXPECT_EQ(map.ReadRepeated({1984, 7, 1984, 0}, 3, false), (std::vector<int32_t>{1, 2, 0}));
}

TEST(TMapBounds, RefsOutsideTheImageWriteNothingAndReadNothing)
{
    const FieldRef bad[] = {
        {1986, 7, 1986, 0},  // past the end
        {1985, 7, 1986, 0},  // runs past the end
        {10, 7, 9, 0},       // end before start
        {10, 8, 10, 0},      // no bit 8
        {10, 7, 10, 9},
        {65535, 7, 65535, 0},
        {65535, 7, 0, 0},
    };
    const FieldRef badNumber[] = {{10, 0, 10, 7}, {10, 7, 14, 0}};  // bits reversed, 5 bytes
    TMap map;
    map.Bytes().fill(0x3C);
    const TMap before = map;
    const std::vector<int32_t> ones(64, 1);
    auto tryAll = [&](FieldRef ref, bool numericOnly) {
        map.WriteField(ref, 0x7FFFFFFF);
        EXPECT_EQ(map.ReadUnsigned(ref), 0u);
        EXPECT_EQ(map.ReadSigned(ref), 0);
        if (numericOnly) return;
        map.WriteDigits(ref, "123456");
        map.WriteHexDigits(ref, "ABC");
        map.WriteText(ref, "text");
        map.FillBytes(ref, 0);
        map.WriteFlags(ref, ones, 64);
        map.WriteRepeated(ref, ones, 64);
        EXPECT_EQ(map.ReadDigits(ref), "");
        EXPECT_EQ(map.ReadHexDigits(ref), "");
        EXPECT_EQ(map.ReadText(ref), "");
        EXPECT_EQ(map.ReadTextDbcs(ref), "");
        EXPECT_EQ(map.ReadFlags(ref, 3), (std::vector<int32_t>{0, 0, 0}));
        EXPECT_EQ(map.ReadRepeated(ref, 2, true), (std::vector<int32_t>{0, 0}));
    };
    for (const FieldRef& ref : bad) tryAll(ref, false);
    for (const FieldRef& ref : badNumber) tryAll(ref, true);
    EXPECT_TRUE(map == before);
    EXPECT_FALSE(map.ByteEquals(1986, 0x3C));
    EXPECT_TRUE(map.ByteEquals(1985, 0x3C));
    EXPECT_EQ(map.ByteSum(1985, 100), 0x3C);
    EXPECT_EQ(map.ByteSum(1986, 1), 0);
    EXPECT_TRUE(map.ReadFlags(bad[0], -5).empty());
}

}  // namespace
