#include <gtest/gtest.h>

#include "model/image/hex_cells.h"

namespace qm54 {
namespace {

TEST(HexCells, ByteAndRowAddressTexts)
{
    EXPECT_EQ(HexByteText(0x00), "00");
    EXPECT_EQ(HexByteText(0x5A), "5a");
    EXPECT_EQ(HexByteText(0xFF), "ff");
    EXPECT_EQ(HexRowAddressText(0), "00000h");
    EXPECT_EQ(HexRowAddressText(1), "00010h");
    EXPECT_EQ(HexRowAddressText(124), "007c0h");  // the last row of the image
    EXPECT_EQ(HexRowAddressText(0x12345), "123450h");
}

TEST(HexCells, ReadHexByte)
{
    EXPECT_EQ(ReadHexByte("5a"), 0x5A);
    EXPECT_EQ(ReadHexByte("FF"), 0xFF);
    EXPECT_EQ(ReadHexByte(" 7 "), 7);
    for (const char* bad : {"", "  ", "5g", "100", "-1", "0x"})
        EXPECT_FALSE(ReadHexByte(bad).has_value()) << bad;
}

}  // namespace
}  // namespace qm54
