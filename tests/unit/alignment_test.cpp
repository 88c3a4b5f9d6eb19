// The alignment exchange against a scripted repeater and a fake clock: the frames of each switch,
// the encoder code, the entry and leaving handshakes, the acknowledgement and status checks, and
// every place where the exchange can break.
#include "link/alignment.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/settings/service_fields.h"

#include "clone_fakes.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

using namespace qm54;
using clonetest::Bytes;
using clonetest::FakeClock;
using clonetest::Frame;
using clonetest::Prompts;

// The cable echoes what is sent; answer(sent) says what the repeater adds. Reads fail once
// failReadsAt sends have been made.
struct ScriptedLine : SerialPort {
    FakeClock& clock;
    std::function<Bytes(const Bytes&)> answer = [](const Bytes&) { return Bytes{}; };
    std::vector<Bytes> sends;
    Bytes queued;
    bool echo = true;
    int failReadsAt = -1;
    int failSendAt = -1;
    std::string error;

    explicit ScriptedLine(FakeClock& c) : clock(c) {}
    int Send(const uint8_t* data, size_t count) override
    {
        if (static_cast<int>(sends.size()) == failSendAt) return 1;
        const Bytes s(data, data + count);
        sends.push_back(s);
        if (echo) queued.insert(queued.end(), s.begin(), s.end());
        const Bytes a = answer(s);
        queued.insert(queued.end(), a.begin(), a.end());
        return 0;
    }
    bool ReadsFail() const { return failReadsAt >= 0 && static_cast<int>(sends.size()) >= failReadsAt; }
    int InQueue() override { return ReadsFail() ? -1 : static_cast<int>(queued.size()); }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
        got = 0;
        if (ReadsFail()) return 1;
        got = std::min(max, queued.size());
        std::copy_n(queued.begin(), got, buffer);
        queued.erase(queued.begin(), queued.begin() + static_cast<long>(got));
        return 0;
    }
    void PurgeRx() override { queued.clear(); }
    void PurgeTx() override {}
    void WaitReadable(int ms) override
    {
        if (queued.empty()) clock.now += ms;
    }
    const std::string& ErrorText() const override { return error; }
    std::string SystemReason() const override { return {}; }
};

struct NoCancel : LinkObserver {
    void SetProgress(int, int) override {}
    void PumpEvents() override {}
    bool CancelRequested() const override { return false; }
};

// The repeater as the alignment mode knows it.
Bytes Repeater(const Bytes& s, Bytes ack = {0x06, 0x17}, Bytes status = Frame({0xB2, 0x00, 0x05, 0x41}, {0x0A, 0x7F, 0x00}))
{
    if (s == Bytes{0x02}) return {0x02, 0x01};
    if (s == Bytes{0x03}) return {0x03, 0x01};
    if (!s.empty() && s[0] == 0xB1) return ack;
    if (!s.empty() && s[0] == 0xB2) return status;
    return {};
}

struct AlignRig : ::testing::Test {
    FakeClock clock;
    ScriptedLine line{clock};
    NoCancel observer;
    Prompts prompts;
    LinkTiming timing;
    CloneLink link{line, observer, clock, timing};
    TCEmem emem;
    TMap54 map;

    AlignRig()
    {
        SetDefaults(emem);
        line.answer = [](const Bytes& s) { return Repeater(s); };
    }
    // An image whose byte i is i, so that a frame names the offsets it took.
    static CloneImage Numbered()
    {
        CloneImage image{};
        for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
        return image;
    }
};

TEST_F(AlignRig, FramesCarryThePointsBytesInOrder)
{
    const CloneImage image = Numbered();
    AlignConditions narrow;
    narrow.Narrow = true;
    EXPECT_EQ(BuildAlignFrame(AlignSwitch::RxOn, 1, narrow, image),
              Frame({0xB1, 0x00, 0x0A, 0x52}, {0x42, 6, 7, 12, 14, 15, 18, 0x4E}));

    AlignConditions repeater;
    repeater.Repeater = true;
    const Bytes trx = BuildAlignFrame(AlignSwitch::TrxOn, 0, repeater, image);
    ASSERT_EQ(trx.size(), 19u);
    EXPECT_EQ(trx, Frame({0xB1, 0x00, 0x10, 0x54}, {0x52, 30, 31, 62, 66, 0, 0, 8, 9, 13, 14, 15, 19, 0x57}));

    AlignConditions lowDcs;
    lowDcs.LowPower = true;
    lowDcs.Narrow = true;
    lowDcs.Encoder = AlignEncoder::Dcs;
    EXPECT_EQ(BuildAlignFrame(AlignSwitch::TxOn, 3, lowDcs, image),
              Frame({0xB1, 0x00, 0x0A, 0x54}, {0x42, 24, 25, 33, 37, 128, 41, 0x4E}));
    AlignConditions wideCtcss;
    wideCtcss.Encoder = AlignEncoder::Ctcss;
    EXPECT_EQ(BuildAlignFrame(AlignSwitch::TxOn, 2, wideCtcss, image),
              Frame({0xB1, 0x00, 0x0A, 0x54}, {0x42, 26, 27, 42, 46, 1, 48, 0x57}));

    EXPECT_EQ(BuildAlignFrame(AlignSwitch::RxOff, 2, narrow, image), (Bytes{0xB1, 0x00, 0x02, 0x72, 0x25}));
    EXPECT_EQ(BuildAlignFrame(AlignSwitch::TxOff, 2, narrow, image), (Bytes{0xB1, 0x00, 0x02, 0x74, 0x27}));
    EXPECT_EQ(BuildAlignFrame(AlignSwitch::TrxOff, 0, narrow, image), (Bytes{0xB1, 0x00, 0x02, 0x74, 0x27}));
    EXPECT_EQ(AlignStatusRequest(), (Bytes{0xB2, 0x00, 0x02, 0x51, 0x05}));
}

TEST(AlignEncoder, CodeFromTheToneAndCodeTables)
{
    const struct {
        AlignEncoder encoder;
        const char* text;
        int code;
    } cases[] = {
        {AlignEncoder::Off, "67.0", 0},     {AlignEncoder::Ctcss, "67.0", 1},  {AlignEncoder::Ctcss, " 254.1 ", 47},
        {AlignEncoder::Ctcss, "off", 0},    {AlignEncoder::Ctcss, "67", 0},    {AlignEncoder::Dcs, "023", 128},
        {AlignEncoder::Dcs, "754", 128 + 103}, {AlignEncoder::Dcs, " 025", 129}, {AlignEncoder::Dcs, "024", 0},
    };
    for (const auto& c : cases) {
        AlignConditions conditions;
        conditions.Encoder = c.encoder;
        conditions.Tone = conditions.Code = c.text;
        EXPECT_EQ(AlignEncoderCode(conditions), c.code) << c.text;
    }
}

TEST_F(AlignRig, CommandSendsTheFreshlyEncodedValues)
{
    // A frequency typed as 1200 is stored as 999.9 and goes out as the digits 9999.
    StoreServiceField(emem, "RxAdjustFreq", 1, "1200");
    StoreServiceField(emem, "SqlThreshold", 1, "300");
    EXPECT_EQ(ServiceFieldText(emem, "RxAdjustFreq", 1), "999.9");
    EXPECT_EQ(AlignCommand(link, prompts, AlignSwitch::RxOn, 1, {}, emem, map), AlignOutcome::Done);
    ASSERT_EQ(line.sends.size(), 1u);
    const Bytes& frame = line.sends[0];
    EXPECT_EQ(frame[5], 0x99);
    EXPECT_EQ(frame[6], 0x99);
    EXPECT_EQ(frame[7], 255);
    EXPECT_EQ(map.Bytes()[12], 255);  // the main image holds the committed values
    EXPECT_TRUE(prompts.texts.empty());
    EXPECT_EQ(clock.now, timing.HandshakePauseMs);
}

TEST_F(AlignRig, CommandOutcomes)
{
    const struct {
        const char* name;
        std::function<void(ScriptedLine&)> spoil;
        AlignOutcome outcome;
        bool message;
    } cases[] = {
        {"acknowledged", [](ScriptedLine&) {}, AlignOutcome::Done, false},
        {"0x06 0x06", [](ScriptedLine& l) { l.answer = [](const Bytes& s) { return Repeater(s, {0x06, 0x06}); }; },
         AlignOutcome::Refused, false},
        {"no acknowledgement", [](ScriptedLine& l) { l.answer = [](const Bytes&) { return Bytes{}; }; },
         AlignOutcome::Broken, true},
        {"half an acknowledgement", [](ScriptedLine& l) { l.answer = [](const Bytes&) { return Bytes{0x06}; }; },
         AlignOutcome::Broken, true},
        {"driver failure", [](ScriptedLine& l) { l.failReadsAt = 0; }, AlignOutcome::Broken, true},
        // The echo is missing but the acknowledgement comes: the frame-sized wait takes it and
        // the second wait runs dry.
        {"no echo", [](ScriptedLine& l) { l.echo = false; }, AlignOutcome::Broken, true},
        {"send failure", [](ScriptedLine& l) { l.failSendAt = 0; }, AlignOutcome::Broken, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock localClock;
        ScriptedLine port{localClock};
        port.answer = [](const Bytes& s) { return Repeater(s); };
        c.spoil(port);
        Prompts shown;
        CloneLink l{port, observer, localClock, timing};
        EXPECT_EQ(AlignCommand(l, shown, AlignSwitch::TxOn, 0, {}, emem, map), c.outcome);
        EXPECT_EQ(shown.texts, c.message ? std::vector<std::string>{AlignConnectionMessage} : std::vector<std::string>{});
        EXPECT_LE(localClock.now, timing.HandshakePauseMs + 2 * timing.NoDataMs);
    }
}

TEST_F(AlignRig, StatusShowsTheThreeValuesInHex)
{
    AlignStatusTexts texts{"---", "---", "---"};
    EXPECT_EQ(AlignStatus(link, prompts, texts), AlignOutcome::Done);
    EXPECT_EQ(texts, (AlignStatusTexts{"0A", "7F", "00"}));
    EXPECT_EQ(prompts.texts, std::vector<std::string>{"Upload is completed"});
    line.answer = [](const Bytes& s) { return Repeater(s, {}, Frame({0xB2, 0x00, 0x05, 0x41}, {0xFF, 0x00, 0xC3})); };
    EXPECT_EQ(AlignStatus(link, prompts, texts), AlignOutcome::Done);
    EXPECT_EQ(texts, (AlignStatusTexts{"FF", "00", "C3"}));
}

TEST_F(AlignRig, RejectedStatusRepliesAreAnsweredNakAndChangeNothing)
{
    Bytes badSum = Frame({0xB2, 0x00, 0x05, 0x41}, {1, 2, 3});
    ++badSum.back();
    Bytes notA = Frame({0xB2, 0x00, 0x05, 0x42}, {1, 2, 3});
    // A length byte of 255 claims bytes far past the reply; they count as zero, never as memory.
    Bytes longClaim = Frame({0xB2, 0x00, 0xFF, 0x41}, {1, 2, 3});
    for (const Bytes& reply : {badSum, notA, longClaim}) {
        line.sends.clear();
        line.answer = [reply](const Bytes& s) { return Repeater(s, {}, reply); };
        AlignStatusTexts texts{"---", "---", "---"};
        Prompts shown;
        EXPECT_EQ(AlignStatus(link, shown, texts), AlignOutcome::Refused);
        EXPECT_EQ(texts, (AlignStatusTexts{"---", "---", "---"}));
        EXPECT_TRUE(shown.texts.empty());
        EXPECT_EQ(line.sends.back(), Bytes{0x15});
    }
}

TEST_F(AlignRig, BrokenStatusExchangesShowTheMessage)
{
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        FakeClock localClock;
        ScriptedLine port{localClock};
        port.answer = [variant](const Bytes& s) {
            return variant == 0 ? Bytes{} : Repeater(s, {}, Bytes{0xB2, 0x00, 0x05});
        };
        if (variant == 2) port.failSendAt = 0;
        CloneLink l{port, observer, localClock, timing};
        AlignStatusTexts texts{"---", "---", "---"};
        Prompts shown;
        EXPECT_EQ(AlignStatus(l, shown, texts), AlignOutcome::Broken);
        EXPECT_EQ(shown.texts, std::vector<std::string>{AlignConnectionMessage});
        EXPECT_EQ(texts[0], "---");
    }
}

TEST_F(AlignRig, EnteringIsTheStartHandshakeWithoutRetry)
{
    EXPECT_TRUE(EnterAlignment(link, prompts));
    EXPECT_EQ(line.sends, (std::vector<Bytes>{{0x02}, {0x06}}));
    EXPECT_EQ(clock.now, timing.HandshakePauseMs + timing.AlignPauseMs);
    EXPECT_TRUE(prompts.texts.empty());

    const struct {
        const char* name;
        std::function<void(ScriptedLine&)> spoil;
        CloneResult result;
        std::vector<Bytes> sends;
    } cases[] = {
        {"wrong answer", [](ScriptedLine& l) { l.answer = [](const Bytes& s) { return s == Bytes{0x02} ? Bytes{0x02, 0x02} : Bytes{}; }; },
         CloneResult::Failed, {{0x02}, {0x15}}},
        {"silence", [](ScriptedLine& l) { l.answer = [](const Bytes&) { return Bytes{}; }; }, CloneResult::Timeout, {{0x02}}},
        {"no echo", [](ScriptedLine& l) { l.echo = false; l.answer = [](const Bytes&) { return Bytes{}; }; },
         CloneResult::Timeout, {{0x02}}},
        {"driver failure", [](ScriptedLine& l) { l.failReadsAt = 0; }, CloneResult::Failed, {{0x02}}},
        {"send failure", [](ScriptedLine& l) { l.failSendAt = 0; }, CloneResult::Failed, {}},
        {"ACK not sent", [](ScriptedLine& l) { l.failSendAt = 1; }, CloneResult::Failed, {{0x02}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock localClock;
        ScriptedLine port{localClock};
        port.answer = [](const Bytes& s) { return Repeater(s); };
        c.spoil(port);
        CloneLink l{port, observer, localClock, timing};
        EXPECT_EQ(AlignStart(l), c.result);
        EXPECT_EQ(port.sends, c.sends);
        Prompts shown;
        FakeClock again;
        ScriptedLine port2{again};
        port2.answer = port.answer;
        port2.echo = port.echo;
        port2.failReadsAt = port.failReadsAt;
        port2.failSendAt = port.failSendAt;
        CloneLink l2{port2, observer, again, timing};
        EXPECT_FALSE(EnterAlignment(l2, shown));
        EXPECT_EQ(shown.texts, std::vector<std::string>{AlignConnectionMessage});
    }
}

TEST_F(AlignRig, LeavingRunsTheWholeSequenceAndStopsAtTheFirstFailure)
{
    LeaveAlignment(link);
    EXPECT_EQ(line.sends, (std::vector<Bytes>{{0x27}, {0x03}, {0x06}, {0x28}}));
    EXPECT_EQ(clock.now, timing.HandshakePauseMs + timing.ShortPauseMs + timing.AlignPauseMs + timing.CompletePauseMs);

    const struct {
        const char* name;
        std::function<void(ScriptedLine&)> spoil;
        std::vector<Bytes> sends;
    } cases[] = {
        {"dead line", [](ScriptedLine& l) { l.echo = false; }, {{0x27}}},
        {"no resync answer", [](ScriptedLine& l) { l.answer = [](const Bytes&) { return Bytes{}; }; }, {{0x27}, {0x03}}},
        {"driver failure", [](ScriptedLine& l) { l.failReadsAt = 0; }, {{0x27}}},
        {"0x27 not sent", [](ScriptedLine& l) { l.failSendAt = 0; }, {}},
        {"ACK not sent", [](ScriptedLine& l) { l.failSendAt = 2; }, {{0x27}, {0x03}}},
        {"garbage answers", [](ScriptedLine& l) { l.answer = [](const Bytes&) { return Bytes{0x55, 0xAA, 0x13}; }; },
         {{0x27}, {0x03}, {0x06}, {0x28}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock localClock;
        ScriptedLine port{localClock};
        port.answer = [](const Bytes& s) { return Repeater(s); };
        c.spoil(port);
        CloneLink l{port, observer, localClock, timing};
        LeaveAlignment(l);
        EXPECT_EQ(port.sends, c.sends);
        EXPECT_GE(localClock.now, timing.CompletePauseMs);  // the closing pause in every case
    }
}

}  // namespace
