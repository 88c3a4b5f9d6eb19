#include "model/document/narrowband.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace qm54;

TEST(NarrowbandPolicy, FollowsTheDateText)
{
    const std::pair<const char*, NarrowbandPolicy> cases[] = {
        {"20101231", NarrowbandPolicy::None},    {"20110101", NarrowbandPolicy::Caution},
        {"20121231", NarrowbandPolicy::Caution}, {"20130101", NarrowbandPolicy::Enforced},
        {"20261210", NarrowbandPolicy::Enforced},
    };
    for (const auto& [date, policy] : cases) EXPECT_EQ(NarrowbandPolicyForDate(date), policy) << date;
    EXPECT_EQ(TodayDateText().size(), 8u);
}

TChannel Wide(TDecimal rx, TDecimal tx, int wide = 1)
{
    TChannel ch;
    ch.Wide = wide;
    ch.RxFreq = rx;
    ch.TxFreq = tx;
    return ch;
}

TEST(NarrowbandPolicy, AffectedChannelsAreWideInTheTwoBandsBoundsIncluded)
{
    const TDecimal outside(1, 100, 0, 0);
    const struct {
        TChannel ch;
        bool affected;
    } cases[] = {
        {Wide(TDecimal(1, 160, 0, 0), outside), true},
        {Wide(TDecimal(1, 174, 0, 1), outside), true},      // 174.0
        {Wide(TDecimal(1, 174, 625, 5), outside), false},   // 174.00625
        {Wide(TDecimal(1, 149, 99999, 5), outside), false},
        {Wide(TDecimal(1, 150, 0, 0), outside), true},
        {Wide(outside, TDecimal(1, 421, 0, 0)), true},  // transmit side alone
        {Wide(outside, TDecimal(1, 470, 1, 9)), false}, // 470.000000001
        {Wide(TDecimal(1, 470, 0, 0), outside), true},
        {Wide(TDecimal(1, 160, 0, 0), TDecimal(1, 160, 0, 0), 0), false},  // narrow already
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(IsNarrowbandAffected(cases[i].ch), cases[i].affected) << i;
}

struct Prompts : Prompter {
    std::vector<std::string> texts;
    MsgResult answer = MsgResult::No;
    MsgResult Show(const std::string& text, MsgKind, MsgButtons, const std::string&) override
    {
        texts.push_back(text);
        return answer;
    }
};

TEST(NarrowbandCheck, AsksByPolicyAndActsOnTheAnswer)
{
    const struct {
        const char* name;
        NarrowbandPolicy policy;
        int market;
        MsgResult answer;
        bool asks;
        bool download;
        bool narrowAfter;
    } cases[] = {
        {"CautionYes", NarrowbandPolicy::Caution, MarketUsa, MsgResult::Yes, true, true, true},
        {"CautionNo", NarrowbandPolicy::Caution, MarketUsa, MsgResult::No, true, true, false},
        {"EnforcedYes", NarrowbandPolicy::Enforced, MarketUsa, MsgResult::Yes, true, true, true},
        {"EnforcedNo", NarrowbandPolicy::Enforced, MarketUsa, MsgResult::No, true, false, true},
        // Closing the box (Escape, the close box) cancels the command, as every Yes/No box does.
        {"CautionClosed", NarrowbandPolicy::Caution, MarketUsa, MsgResult::Closed, true, false, false},
        {"EnforcedClosed", NarrowbandPolicy::Enforced, MarketUsa, MsgResult::Closed, true, false, false},
        {"NoPolicy", NarrowbandPolicy::None, MarketUsa, MsgResult::Yes, false, true, false},
        {"Export", NarrowbandPolicy::Enforced, 0, MsgResult::Yes, false, true, false},
    };
    for (const auto& c : cases) {
        TCEmem emem;
        emem.MarketCode = c.market;
        emem.Channels.Items(3) = Wide(TDecimal(1, 160, 0, 0), TDecimal(1, 160, 0, 0));
        emem.Channels.Items(4) = Wide(TDecimal(1, 200, 0, 0), TDecimal(1, 200, 0, 0));  // wide, out of band
        Prompts p;
        p.answer = c.answer;
        const NarrowbandOutcome out = NarrowbandCheck(c.policy, emem, p);
        EXPECT_EQ(p.texts.size(), c.asks ? 1u : 0u) << c.name;
        EXPECT_EQ(out.Download, c.download) << c.name;
        EXPECT_EQ(out.Changed, c.narrowAfter) << c.name;
        EXPECT_EQ(emem.Channels.Items(3).Wide, c.narrowAfter ? 0 : 1) << c.name;
        EXPECT_EQ(emem.Channels.Items(4).Wide, 1) << c.name;
    }
}

TEST(NarrowbandCheck, QuestionTextsOfThePolicies)
{
    TCEmem emem;
    emem.MarketCode = MarketUsa;
    emem.Channels.Items(0) = Wide(TDecimal(1, 450, 0, 0), TDecimal(1, 455, 0, 0));
    Prompts caution, enforced;
    TCEmem copy = emem;
    NarrowbandCheck(NarrowbandPolicy::Caution, emem, caution);
    NarrowbandCheck(NarrowbandPolicy::Enforced, copy, enforced);
    ASSERT_EQ(caution.texts.size(), 1u);
    ASSERT_EQ(enforced.texts.size(), 1u);
    EXPECT_EQ(caution.texts[0].rfind("FCC Rule Caution!\r\nYour Data includes some Wide Bandwidth CHs in 150 - 174 "
                                     "or 421 - 470 MHz band.\r\n", 0), 0u);
    EXPECT_NE(caution.texts[0].find("\r\nNo : It will start downloading (w/o changing the bandwidth)\r\n"),
              std::string::npos);
    EXPECT_NE(enforced.texts[0].find("was changed to Narrow bandwidth automatically.\r\nDo you start downloading "
                                     "them?\r\n"), std::string::npos);
}

}  // namespace
