#include "model/image/tables.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Tables, ToneAndCodeLookups)
{
    EXPECT_EQ(qm54::CtcssName(0), "off");
    EXPECT_EQ(qm54::CtcssName(1), "67.0");
    EXPECT_EQ(qm54::CtcssName(39), "250.3");
    EXPECT_EQ(qm54::CtcssName(40), "159.8");
    EXPECT_EQ(qm54::CtcssName(47), "254.1");
    EXPECT_EQ(qm54::CtcssName(48), "");
    EXPECT_EQ(qm54::CtcssName(-1), "");
    EXPECT_EQ(qm54::CtcssTones.front(), "67.0");
    EXPECT_EQ(qm54::CtcssTones.back(), "254.1");

    EXPECT_EQ(qm54::DcsName(0), "023");
    EXPECT_EQ(qm54::DcsName(103), "754");
    EXPECT_EQ(qm54::DcsName(104), "");
    EXPECT_EQ(qm54::DcsName(-1), "");
    EXPECT_EQ(qm54::DcsWithOff[0], "off");
    EXPECT_EQ(qm54::DcsWithOff[1], "023");
    EXPECT_EQ(qm54::DcsWithOff[104], "754");
}

TEST(Tables, ListsHoldDistinctWellFormedEntries)
{
    // A typing slip in a table shows up as a duplicate or a malformed entry.
    const std::set<std::string_view> tones(qm54::CtcssTones.begin(), qm54::CtcssTones.end());
    EXPECT_EQ(tones.size(), qm54::CtcssTones.size());
    for (int i = 2; i <= 39; ++i)
        EXPECT_LT(std::stod(qm54::CtcssName(i - 1)), std::stod(qm54::CtcssName(i))) << i;

    const std::set<std::string_view> codes(qm54::DcsCodes.begin(), qm54::DcsCodes.end());
    EXPECT_EQ(codes.size(), qm54::DcsCodes.size());
    for (size_t i = 0; i < qm54::DcsCodes.size(); ++i) {
        const auto code = qm54::DcsCodes[i];
        ASSERT_EQ(code.size(), 3u);
        for (const char c : code) EXPECT_TRUE(c >= '0' && c <= '7') << code;
        if (i > 0) {
            EXPECT_LT(qm54::DcsCodes[i - 1], code);
        }
    }
}

TEST(Tables, OptionNameAndIndex)
{
    EXPECT_EQ(qm54::OptionName(qm54::OptLockout, 1), "BCLO");
    EXPECT_EQ(qm54::OptionName(qm54::OptHangOnAudio, 0), "Noize");
    EXPECT_EQ(qm54::OptionName(qm54::OptRxTxEnable, 3), "RX/TX Enable");
    EXPECT_EQ(qm54::OptionName(qm54::OptLockout, 5), "");
    EXPECT_EQ(qm54::OptionName(qm54::OptLockout, 3), "");
    EXPECT_EQ(qm54::OptionName(qm54::OptionListCount, 0), "");
    EXPECT_EQ(qm54::OptionName(-1, 0), "");
    EXPECT_EQ(qm54::OptionName(qm54::OptEmpty, 0), "");

    EXPECT_EQ(qm54::OptionIndex(qm54::OptIdMode, "CW-ID"), 2);
    EXPECT_EQ(qm54::OptionIndex(qm54::OptIdMode, "cw-id"), 0);
    EXPECT_EQ(qm54::OptionIndex(qm54::OptAccessory, "Acc"), 1);
    EXPECT_EQ(qm54::OptionIndex(qm54::OptionListCount, "N"), 0);
    EXPECT_EQ(qm54::OptionIndex(qm54::OptEmpty, ""), 0);  // the empty list has no names, not five empty ones

    for (const auto& list : qm54::OptionLists)
        for (int v = 0; v < qm54::MaxOptionNames; ++v)
            EXPECT_EQ(list.Names[static_cast<size_t>(v)].empty(), v >= list.Count);
}

TEST(Tables, FiveToneSets)
{
    EXPECT_EQ(qm54::FiveToneSets[qm54::FiveToneEiaSet].Name, "EIA");
    for (int s = 0; s < qm54::FiveToneSetCount; ++s)
        EXPECT_EQ(qm54::MatchingFiveToneSet(qm54::FiveToneSets[static_cast<size_t>(s)].Tones), s);
    auto almostEia = qm54::FiveToneSets[qm54::FiveToneEiaSet].Tones;
    almostEia[5] += 1;
    EXPECT_EQ(qm54::MatchingFiveToneSet(almostEia), qm54::FiveToneUserSet);
}

}  // namespace
