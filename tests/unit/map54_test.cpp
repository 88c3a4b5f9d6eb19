#include "model/image/map54.h"
#include "model/image/map54_layout.h"

#include <gtest/gtest.h>

#include <random>

#include "model/image/frequency.h"
#include "test_support.h"

namespace {

using qm54::ImageSize;
using qm54::TCEmem;
using qm54::TMap54;

// "New" for VHF: reset, decode the blank image, defaults, encode.
TMap54 NewImage(TCEmem& e)
{
    TMap54 map;
    EXPECT_TRUE(map.Decode(e));
    qm54::SetDefaults(e);
    EXPECT_TRUE(map.Encode(e));
    return map;
}

TEST(TMap54Golden, NewImageMatchesTheHandWrittenFixture)
{
    struct Case {
        const char* fixture;
        int band;
    };
    for (const Case& c : {Case{"/default_vhf.hex", qm54::BandVhf}, Case{"/default_uhf.hex", qm54::BandUhf}}) {
        SCOPED_TRACE(c.fixture);
        const std::vector<uint8_t> expected = qm54::test::ReadHexFixture(std::string(QM54_FIXTURES) + c.fixture);
        ASSERT_EQ(expected.size(), ImageSize);
        TCEmem e;
        TMap54 map = NewImage(e);
        if (c.band == qm54::BandUhf) {
            qm54::ApplyBandDefaults(e, c.band);
            ASSERT_TRUE(map.Encode(e));
        }
        for (size_t i = 0; i < ImageSize; ++i)
            EXPECT_EQ(map.Bytes()[i], expected[i]) << "offset 0x" << std::hex << i;
    }
}

TEST(TMap54, DecodeOfTheResetImage)
{
    const TMap54 map;
    TCEmem e;
    e.AlphaTagCode.fill(-1);
    e.SerialNumber = "old";
    ASSERT_TRUE(map.Decode(e));
    EXPECT_EQ(e.ModelName, "KTD-4150");
    EXPECT_EQ(e.FirmwareVersion, "0.00");
    EXPECT_EQ(e.SerialNumber, "");
    EXPECT_EQ(e.CwIdText, "");
    EXPECT_EQ(e.StoredFileName, "        ");
    EXPECT_EQ(e.AniCode, "0000");
    EXPECT_EQ(e.Accessory, 0);
    for (int c = 0; c < qm54::ChannelCount; ++c) {
        const qm54::TChannel& ch = e.Channels.Items(c);
        EXPECT_EQ(ch.InUse, 1);
        EXPECT_EQ(ch.Number, c + 1);
        EXPECT_TRUE(ch.RxFreq == qm54::TDecimal());
        EXPECT_TRUE(ch.TxFreq == qm54::TDecimal());
    }
    for (int t = 0; t < qm54::AlphaTagCount; ++t) {
        EXPECT_EQ(e.AlphaTagCode[static_cast<size_t>(t)], 0);
        EXPECT_EQ(e.AlphaTagText[static_cast<size_t>(t)], "        ");
    }
}

TEST(TMap54, ItemsStoreAndComeBackAsTheLayoutSays)
{
    TCEmem e;
    TMap54 map = NewImage(e);
    qm54::TChannel& ch = e.Channels.Items(2);  // record at 0x130
    ch.RxFreq.SetValue(450.00625);
    ch.TxFreq.SetValue(1234.5678);             // seven digits: only the first six are stored
    ch.TxInhibit = 1;
    ch.Lockout = 2;
    ch.IdMode = 2;
    ch.SetSlotUsed(15, 1);
    ch.SetDecodeDcs(0, 1);
    ch.SetDecodeTone(0, 103);
    ch.SetEncodeTone(15, 47);
    e.RxAdjustFreq[3].SetValue(174.0);
    e.TxAdjustFreq[0].SetValue(450.5);
    e.AniCode = "1A2F";
    e.EniCode = "1a2f";
    e.AlphaTagCode[0] = 7;
    e.AlphaTagText[0] = "LONGER THAN 8";
    e.AlphaTagCode[1] = 9999;
    e.AlphaTagText[1] = "%GATE";
    e.StoredFileName = "ABCDEFGH.Q54";
    e.TxPowerAdjust[15] = -3;
    e.Accessory = 0;
    e.AniMode = 3;
    e.SerialNumber = "87654321";
    ASSERT_TRUE(map.Encode(e));
    const auto& b = map.Bytes();

    struct Expect {
        size_t offset;
        std::vector<uint8_t> bytes;
    };
    const Expect expects[] = {
        {0x130 + 0x0A, {0x45, 0x00, 0x06}},
        {0x130 + 0x0D, {0x12, 0x34, 0x56}},
        {0x130 + 0x01, {0xC0}},              // Tx inhibit and wide
        {0x130 + 0x02, {0xD4}},              // BTLO alone
        {0x130 + 0x04, {0x40}},              // CW-ID
        {0x130 + 0x06, {0x00, 0x01}},        // slot 15 in use
        {0x130 + 0x10, {0xE7}},              // DCS 754
        {0x130 + 0x2F, {0x2F}},              // CTCSS 254.1
        {0x002, {0x17, 0x40}},
        {0x01E, {0x45, 0x05}},
        {0x0BC, {1, 10, 2, 15}},
        {0x0C4, {1, 0, 2, 0}},
        {0x3D0, {0x00, 0x07, 'L', 'O', 'N', 'G', 'E', 'R', ' ', 'T'}},
        {0x3DA, {0x99, 0x99, '%', 'G', 'A', 'T', 'E', ' ', ' ', ' '}},
        {0x3E4, {0xFF, 0xFF, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25}},
        {0x070, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'r', 'p', 't'}},
        {0x06F, {0xFD}},
        {0x050, {0x31}},                     // accessory "High/Low Pwr" stored as 1
        {0x05D, {0x18}},
    };
    for (const auto& x : expects)
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + static_cast<long>(x.offset),
                                       b.begin() + static_cast<long>(x.offset + x.bytes.size())),
                  x.bytes)
            << "offset 0x" << std::hex << x.offset;
    EXPECT_EQ(b[0x0CF], map.ByteSum(0x050, 126));
    EXPECT_EQ(b[0x5B0], map.ByteSum(0x000, 1456));

    TCEmem d;
    ASSERT_TRUE(map.Decode(d));
    const qm54::TChannel& back = d.Channels.Items(2);
    EXPECT_TRUE(back.RxFreq == qm54::TDecimal(1, 450, 6, 3));
    EXPECT_DOUBLE_EQ(qm54::SnapFrequency(0, back.RxFreq.Value()), 450.00625);
    EXPECT_EQ(back.TxInhibit, -1);
    EXPECT_EQ(back.Lockout, 2);
    EXPECT_EQ(back.IdMode, 2);
    EXPECT_EQ(back.SlotUsed, ch.SlotUsed);
    EXPECT_EQ(back.DecodeDcs, ch.DecodeDcs);
    EXPECT_EQ(back.DecodeTone, ch.DecodeTone);
    EXPECT_EQ(back.EncodeTone, ch.EncodeTone);
    EXPECT_TRUE(d.RxAdjustFreq[3] == qm54::TDecimal(1, 174, 0, 0));
    EXPECT_TRUE(d.TxAdjustFreq[0] == qm54::TDecimal(1, 450, 5, 1));
    EXPECT_EQ(d.AniCode, "1A2F");
    EXPECT_EQ(d.EniCode, "1020");
    EXPECT_EQ(d.AlphaTagCode[0], 7);
    EXPECT_EQ(d.AlphaTagText[0], "LONGER T");
    EXPECT_EQ(d.AlphaTagCode[1], 9999);
    EXPECT_EQ(d.AlphaTagText[1], "");    // a text beginning with "%" reads as empty
    EXPECT_EQ(d.AlphaTagCode[2], -1);
    EXPECT_EQ(d.StoredFileName, "ABCDEFGH");
    EXPECT_EQ(d.TxPowerAdjust[15], -3);
    EXPECT_EQ(d.Accessory, 0);
    EXPECT_EQ(d.AniMode, 3);
    EXPECT_EQ(d.SerialNumber, "87654321");
    EXPECT_EQ(d.FiveToneTable, e.FiveToneTable);
    EXPECT_EQ(d.TxPowerHigh, e.TxPowerHigh);
    EXPECT_EQ(d.DcsDevNarrow, e.DcsDevNarrow);
}

TEST(TMap54, CanonicalFormsOfOddStoredValues)
{
    TCEmem e;
    TMap54 map = NewImage(e);
    auto& b = map.Bytes();
    b[0x0D0 + 0x02] |= 0x30;          // channel 1 with both lockout bits
    b[0x0D0 + 0x00] = 0x7F;           // channel number digits that are not its number
    b[0x0D0 + 0x0A] = 0x1F;           // a non-digit nibble in the Rx frequency: digits "11000"
    b[0x054] = 0xA1;                  // RxReferenceFreq with a non-digit nibble: "140"
    b[0x050] = (b[0x050] & 0xFC) | 3; // accessory stored 3 reads "High/Low Pwr"
    b[0x048] = 0x01;                  // a control byte in the serial number becomes a blank
    b[0x0CD] = 0x1A;
    b[0x0CE] = 0x05;
    ASSERT_TRUE(map.Decode(e));
    EXPECT_EQ(e.Channels.Items(0).Lockout, 2);
    EXPECT_TRUE(e.Channels.Items(0).RxFreq == qm54::TDecimal(1, 11, 0, 0));  // 11000 kHz
    EXPECT_EQ(e.RxReferenceFreq, 140);
    EXPECT_EQ(e.Accessory, 0);
    EXPECT_EQ(e.SerialNumber, " 2345678");
    EXPECT_EQ(e.FirmwareVersion, "1A.05");
    ASSERT_TRUE(map.Encode(e));
    EXPECT_EQ(b[0x0D0 + 0x02] & 0x30, 0x10);
    EXPECT_EQ(b[0x0D0 + 0x00], 0x01);
    EXPECT_EQ(b[0x0D0 + 0x0A], 0x01);
    EXPECT_EQ(b[0x0D0 + 0x0B], 0x10);
    EXPECT_EQ(b[0x0D0 + 0x0C], 0x00);
    EXPECT_EQ(b[0x054], 0x01);
    EXPECT_EQ(b[0x055], 0x40);
    EXPECT_EQ(b[0x050] & 3, 1);
    EXPECT_EQ(b[0x048], ' ');
    EXPECT_EQ(b[0x0CD], 0x1A);        // firmware bytes are never written
}

TEST(TMap54, DecodeFailsWhenTxPowerDisplayHoldsNoDigit)
{
    for (const size_t offset : {size_t{0x014}, size_t{0x015}}) {
        TCEmem e;
        TMap54 map = NewImage(e);
        map.Bytes()[offset] = 0xAF;
        TCEmem d;
        EXPECT_FALSE(map.Decode(d)) << offset;
        EXPECT_EQ(d.NsqThreshold, 110);  // the rest is still read
        map.Bytes()[offset] = 0xA7;      // one digit is enough
        EXPECT_TRUE(map.Decode(d));
        EXPECT_EQ(offset == 0x014 ? d.TxPowerDisplayHigh : d.TxPowerDisplayLow, 7);
    }
}

TCEmem RichSettings()
{
    TCEmem e;
    TMap54 blank;
    blank.Decode(e);
    qm54::SetDefaults(e);
    qm54::ApplyBandDefaults(e, qm54::BandUhf);
    e.Band = 1;
    e.Duplexer = 1;
    e.ChannelStep = 1;
    e.MarketCode = 85;
    e.DtmfRx = 1;
    e.FiveToneTx = 1;
    e.AniMode = 2;
    e.CwIdEnable = 1;
    e.TxPowerAdjust = {-128, 127, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -12};
    e.StoredFileName = "RPTNAME8.Q54";
    e.CwIdText = "CALLSIGN";
    e.AniCode = "12AB";
    e.EniCode = "FEDC";
    e.AlphaTagCode[5] = 1234;
    e.AlphaTagText[5] = "TAG 5";
    for (int c = 0; c < qm54::ChannelCount; ++c) {
        qm54::TChannel& ch = e.Channels.Items(c);
        ch.InUse = c % 2;
        ch.NsqMode = 1;
        ch.NsqLevel = 200 + c;
        ch.IdMode = c % 3;
        ch.TxPower = 1;
        ch.RxFreq.SetValue(450.0 + c * 0.025);  // whole kHz, which the image keeps
        ch.SetDecodeTone(c, c + 1);
        ch.SetEncodeDcs(c, 1);
        ch.SetEncodeTone(c, 100 - c);
        ch.SetSlotUsed(c, 1);
    }
    return e;
}

TEST(TMap54RoundTrip, UnmappedBitsSurviveAndMappedBitsAreAllWritten)
{
    const TCEmem e = RichSettings();
    const auto unmapped = qm54::layout::KeptBitMask();
    TMap54 a;
    TMap54 b;
    a.Bytes().fill(0xA5);
    b.Bytes().fill(0x5A);
    ASSERT_TRUE(a.Encode(e));
    ASSERT_TRUE(b.Encode(e));
    for (size_t i = 0; i < ImageSize; ++i) {
        const uint8_t m = unmapped[i];
        EXPECT_EQ(a.Bytes()[i] & m, 0xA5 & m) << "unmapped bits written at 0x" << std::hex << i;
        if (i == 0x0CF || i == 0x5B0) continue;  // checksums of differing images
        EXPECT_EQ(a.Bytes()[i] & ~m, b.Bytes()[i] & ~m) << "mapped bits left over at 0x" << std::hex << i;
    }

    // Load then save: the same bytes, the patterns included.
    TCEmem loaded;
    ASSERT_TRUE(a.Decode(loaded));
    TMap54 saved = a;
    ASSERT_TRUE(saved.Encode(loaded));
    EXPECT_TRUE(saved == a);

    // The settings survive the trip, up to the forms the image keeps.
    TCEmem expected = e;
    expected.StoredFileName = "RPTNAME8";
    expected.FirmwareVersion = "A5.A5";
    expected.AlphaTagText[5] = "TAG 5   ";
    EXPECT_TRUE(loaded == expected);
}

void ExpectWithinFieldRanges(const TCEmem& e)
{
    auto inRange = [](int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; };
    EXPECT_TRUE(inRange(e.TxPowerDisplayHigh, 0, 99));
    EXPECT_TRUE(inRange(e.TxPowerDisplayLow, 0, 99));
    EXPECT_TRUE(inRange(e.IntermediateFreq, 0, 9999));
    EXPECT_TRUE(inRange(e.RxReferenceFreq, 0, 9999));
    EXPECT_TRUE(inRange(e.AniMode, 0, 3));
    EXPECT_TRUE(inRange(e.Accessory, 0, 1));
    EXPECT_TRUE(inRange(e.CwIdInterval, 0, 65535));
    EXPECT_LE(e.SerialNumber.size(), 8u);
    EXPECT_LE(e.CwIdText.size(), 16u);
    EXPECT_LE(e.StoredFileName.size(), 8u);
    EXPECT_LE(e.AniCode.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(inRange(e.RxAdjustFreq[static_cast<size_t>(k)].ScaledTrunc(1), 0, 9999));
        EXPECT_TRUE(inRange(e.TxPowerHigh[static_cast<size_t>(k)], 0, 255));
    }
    for (const int32_t v : e.TxPowerAdjust) EXPECT_TRUE(inRange(v, -128, 127));
    for (const int32_t v : e.FiveToneTable) EXPECT_TRUE(inRange(v, 0, 65535));
    for (size_t t = 0; t < qm54::AlphaTagCount; ++t) {
        EXPECT_TRUE(inRange(e.AlphaTagCode[t], -1, 9999));
        EXPECT_LE(e.AlphaTagText[t].size(), 8u);
    }
    for (int c = 0; c < qm54::ChannelCount; ++c) {
        const qm54::TChannel& ch = e.Channels.Items(c);
        EXPECT_EQ(ch.Number, c + 1);
        EXPECT_TRUE(inRange(ch.TxInhibit, -1, 0));
        EXPECT_TRUE(inRange(ch.Lockout, 0, 2));
        EXPECT_TRUE(inRange(ch.IdMode, 0, 3));
        EXPECT_TRUE(inRange(ch.NsqLevel, 0, 255));
        EXPECT_TRUE(inRange(ch.RxFreq.ScaledTrunc(3), 0, 999999));
        EXPECT_TRUE(inRange(ch.TxFreq.ScaledTrunc(3), 0, 999999));
        for (int s = 0; s < qm54::SlotCount; ++s) {
            EXPECT_TRUE(inRange(ch.GetDecodeTone(s), 0, 127));
            EXPECT_TRUE(inRange(ch.GetEncodeDcs(s), 0, 1));
            EXPECT_TRUE(inRange(ch.GetSlotUsed(s), 0, 1));
        }
    }
}

TEST(TMap54Hostile, AnyImageDecodesIntoRangeAndEncodesBack)
{
    std::vector<TMap54> images(2);
    images[0].Bytes().fill(0xFF);
    images[1].Bytes().fill(0x99);
    std::mt19937 random(54);
    for (int n = 0; n < 50; ++n) {
        TMap54 map;
        for (auto& byte : map.Bytes()) byte = static_cast<uint8_t>(random());
        images.push_back(map);
    }
    for (size_t n = 0; n < images.size(); ++n) {
        SCOPED_TRACE(n);
        TMap54& map = images[n];
        TCEmem e;
        map.Decode(e);
        ExpectWithinFieldRanges(e);
        TMap54 once = map;
        ASSERT_TRUE(once.Encode(e));
        // After one save the image is canonical: loading and saving it again changes nothing,
        // except in the stored name, whose save cuts at the last dot of the name as read.
        TCEmem loaded;
        once.Decode(loaded);
        ExpectWithinFieldRanges(loaded);
        TMap54 twice = once;
        ASSERT_TRUE(twice.Encode(loaded));
        for (size_t i = 0; i < ImageSize; ++i) {
            if ((i >= 0x070 && i <= 0x077) || i == 0x0CF || i == 0x5B0) continue;
            EXPECT_EQ(twice.Bytes()[i], once.Bytes()[i]) << "offset 0x" << std::hex << i;
        }
    }
    TCEmem e;
    EXPECT_FALSE(images[0].Decode(e));  // 0xFF holds no digit at 0x014
}

}  // namespace
