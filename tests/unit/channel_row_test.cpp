#include "model/channels/channel_row.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "test_support.h"

namespace qm54 {
namespace {

using GridCol::TxFreq;

// Channel 2 in use on 450.006 MHz (an image's whole kHz of 450.00625), a DCS decode code, a CTCSS
// encode tone, a few choices and the user NSQ level.
TChannel SampleChannel()
{
    TChannel ch;
    ch.InUse = 1;
    ch.RxFreq.SetValue(450.006);
    ch.TxFreq.SetValue(455.0);
    ch.SetSlotUsed(0, 1);
    ch.SetDecodeDcs(0, 1);
    ch.SetDecodeTone(0, 103);  // "754"
    ch.SetEncodeTone(0, 40);   // "159.8"
    ch.Wide = 1;
    ch.NsqMode = 1;
    ch.NsqLevel = 42;
    ch.Lockout = 2;
    ch.IdMode = 2;
    ch.MultiTone = 1;
    return ch;
}

TEST(ChannelRow, FillShowsTheChannelAsTheGridDoes)
{
    const ChannelRowTexts row = FillChannelRow(SampleChannel(), 1, {});
    const std::pair<int, const char*> expected[] = {
        {GridCol::RowNumber, "2"},  {GridCol::Channel, " 2"},     {GridCol::RxFreq, "450.00625"},
        {GridCol::RxCtcss, "off"},  {GridCol::RxDcs, "754"},       {GridCol::Wide, "W"},
        {GridCol::ClockShift, "no"}, {GridCol::NsqMode, "User"},   {GridCol::NsqLevel, "42"},
        {GridCol::MultiTone, "yes"}, {GridCol::IdMode, "CW-ID"},   {TxFreq, "455.00000"},
        {GridCol::TxCtcss, "159.8"}, {GridCol::TxDcs, "off"},      {GridCol::Lockout, "BTLO"},
        {GridCol::TxPower, "Hi"},
    };
    for (const auto& [column, text] : expected) EXPECT_EQ(row[static_cast<size_t>(column)], text) << column;

    TChannel ch = SampleChannel();
    ch.RxFreq.SetValue(450.002);
    ch.NsqMode = 0;
    ch.TxInhibit = -1;
    const ChannelRowTexts inhibited = FillChannelRow(ch, 15, {1, ','});
    EXPECT_EQ(inhibited[GridCol::Channel], "16");
    EXPECT_EQ(inhibited[GridCol::RxFreq], "450,00250");  // on the 2.5 kHz raster of step 1
    EXPECT_EQ(inhibited[GridCol::NsqLevel], "---");
    EXPECT_EQ(inhibited[TxFreq], "Tx Inh");
    for (int c = TxFreq + 1; c < GridColumnCount; ++c) EXPECT_EQ(inhibited[static_cast<size_t>(c)], "---") << c;
}

TEST(ChannelRow, ParseReadsChangedTextsByTheGridsRules)
{
    struct Case {
        const char* name;
        int column;
        const char* text;
        void (*expect)(const TChannel&);
    };
    const Case cases[] = {
        {"whole kHz", GridCol::RxFreq, "262.09000", [](const TChannel& c) { EXPECT_EQ(c.RxFreq.Value(), 262.09); }},
        {"raster to kHz", GridCol::RxFreq, "450,01875", [](const TChannel& c) { EXPECT_EQ(c.RxFreq.Value(), 450.018); }},
        {"unreadable", TxFreq, "abc", [](const TChannel& c) { EXPECT_EQ(c.TxFreq.Value(), 0.0); }},
        {"CTCSS over DCS", GridCol::RxCtcss, "67.0", [](const TChannel& c) {
             EXPECT_EQ(c.GetDecodeDcs(0), 0);
             EXPECT_EQ(c.GetDecodeTone(0), 1);
             EXPECT_EQ(c.GetSlotUsed(0), 1);
         }},
        {"DCS code", GridCol::TxDcs, "023", [](const TChannel& c) {
             EXPECT_EQ(c.GetEncodeDcs(0), 0);  // the CTCSS column still shows 159.8, which wins
             EXPECT_EQ(c.GetEncodeTone(0), 40);
         }},
        {"unknown option", GridCol::Wide, "w", [](const TChannel& c) { EXPECT_EQ(c.Wide, 0); }},
        {"option", GridCol::Lockout, "BCLO", [](const TChannel& c) { EXPECT_EQ(c.Lockout, 1); }},
        {"level", GridCol::NsqLevel, " 12 ", [](const TChannel& c) { EXPECT_EQ(c.NsqLevel, 12); }},
        {"level above range", GridCol::NsqLevel, "999", [](const TChannel& c) { EXPECT_EQ(c.NsqLevel, 255); }},
        {"level not shown", GridCol::NsqLevel, "---", [](const TChannel& c) { EXPECT_EQ(c.NsqLevel, 42); }},
        {"multi tone is not read", GridCol::MultiTone, "no", [](const TChannel& c) { EXPECT_EQ(c.MultiTone, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TChannel ch = SampleChannel();
        ChannelRowTexts row = FillChannelRow(ch, 1, {});
        row[static_cast<size_t>(c.column)] = c.text;
        ParseChannelRow(row, ch, {});
        c.expect(ch);
    }
}

TEST(ChannelRow, AnInhibitedTransmitSideIsNotRead)
{
    TChannel ch = SampleChannel();
    ch.TxInhibit = 1;
    ChannelRowTexts row = FillChannelRow(ch, 1, {});
    row[TxFreq] = "160.00000";
    row[GridCol::TxPower] = "Lo";
    ParseChannelRow(row, ch, {});
    EXPECT_EQ(ch.TxFreq.Value(), 455.0);
    EXPECT_EQ(ch.TxPower, 0);
    EXPECT_EQ(ch.GetEncodeTone(0), 40);
}

// The channels of the two hand-written default images and of random images, which hold every
// combination of tones, flags, off-raster frequencies and values outside the option lists.
std::vector<TChannel> DecodedChannels()
{
    std::vector<TMap54> images;
    for (const char* fixture : {"/default_vhf.hex", "/default_uhf.hex"}) {
        const std::vector<uint8_t> bytes = test::ReadHexFixture(std::string(QM54_FIXTURES) + fixture);
        TMap54 map;
        std::copy_n(bytes.begin(), std::min(bytes.size(), map.Bytes().size()), map.Bytes().begin());
        images.push_back(map);
    }
    std::mt19937 random(1986);
    for (int n = 0; n < 60; ++n) {
        TMap54 map;
        for (auto& byte : map.Bytes()) byte = static_cast<uint8_t>(random());
        images.push_back(map);
    }
    std::vector<TChannel> channels;
    for (const TMap54& map : images) {
        TCEmem e;
        (void)map.Decode(e);  // a random image may lack the digits of its power display; its channels decode
        for (int i = 0; i < ChannelCount; ++i) channels.push_back(e.Channels.Items(i));
    }
    return channels;
}

// Filling a row and parsing it untouched is no edit: whatever a file held, opening it and
// choosing a command must not find a change to save.
TEST(ChannelRow, FillThenParseGivesBackEveryDecodedChannel)
{
    const std::vector<TChannel> channels = DecodedChannels();
    int encodeOnly = 0;
    for (const CellFormat format : {CellFormat{0, '.'}, CellFormat{1, ','}}) {
        for (std::size_t n = 0; n < channels.size(); ++n) {
            const TChannel& original = channels[n];
            TChannel parsed = original;
            ParseChannelRow(FillChannelRow(original, static_cast<int>(n % ChannelCount), format), parsed, format);
            ASSERT_EQ(parsed, original) << "channel " << n << " step " << format.ChannelStep;
            encodeOnly += original.GetDecodeTone(0) == 0 && original.GetDecodeDcs(0) == 0 &&
                          original.GetEncodeTone(0) != 0 && original.GetSlotUsed(0) == 1;
        }
    }
    EXPECT_GT(encodeOnly, 0);  // the case that every parse used to throw away is among them
}

// Slot 0 is in use while either side holds a tone, whichever side the user changed.
TEST(ChannelRow, SlotZeroIsInUseWhileEitherSideHoldsATone)
{
    struct Case {
        const char* name;
        int decodeTone;  // CTCSS index of slot 0, before the change
        int encodeTone;
        bool inhibited;
        int column;
        const char* text;
        int slotUsed;
    };
    const Case cases[] = {
        {"encode tone added", 0, 0, false, GridCol::TxCtcss, "100.0", 1},
        {"encode code added", 0, 0, false, GridCol::TxDcs, "023", 1},
        {"decode removed, encode kept", 5, 12, false, GridCol::RxCtcss, "off", 1},
        {"encode removed, decode kept", 5, 12, false, GridCol::TxCtcss, "off", 1},
        {"last tone removed", 0, 12, false, GridCol::TxCtcss, "off", 0},
        {"decode removed, inhibit keeps the encode tone", 5, 12, true, GridCol::RxCtcss, "off", 1},
        {"decode added", 0, 0, true, GridCol::RxDcs, "754", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TChannel ch = SampleChannel();
        ch.SetDecodeDcs(0, 0);
        ch.SetDecodeTone(0, c.decodeTone);
        ch.SetEncodeTone(0, c.encodeTone);
        ch.SetSlotUsed(0, c.decodeTone != 0 || c.encodeTone != 0 ? 1 : 0);
        ch.TxInhibit = c.inhibited ? 1 : 0;
        ChannelRowTexts row = FillChannelRow(ch, 1, {});
        row[static_cast<size_t>(c.column)] = c.text;
        ParseChannelRow(row, ch, {});
        EXPECT_EQ(ch.GetSlotUsed(0), c.slotUsed);
    }
}

}  // namespace
}  // namespace qm54
