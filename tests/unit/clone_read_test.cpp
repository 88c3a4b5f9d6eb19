// The clone read against the scripted repeater: the exact line, the start handshake, every
// failure at the first, a middle and the last block, cancel, and the reply check.
#include "clone_fakes.h"

namespace {

using namespace qm54;
using namespace clonetest;

// The exact line of a complete clone read: start, four areas, 0x27, resync, 0x28.
Bytes ExpectedReadLine()
{
    Bytes line{0x02, 0x06};
    auto add = [&](const Bytes& b) { line.insert(line.end(), b.begin(), b.end()); };
    add(ReadRequest(0x12, 0));
    add(ReadRequest(0x22, 0));
    for (uint8_t k = 0; k < 16; ++k) add(ReadRequest(0x42, k));
    add({0x27, 0x03, 0x06});
    for (uint8_t k = 1; k <= 48; ++k) add(ReadRequest(0x62, k));
    add({0x28});
    return line;
}

TEST(CloneRead, CompleteReadFillsTheImageSendsTheExactLineAndEndsTheClone)
{
    Rig rig;
    TMap54 map;
    TCEmem emem;
    map.Bytes().fill(0xEE);
    ASSERT_EQ(UploadFromRadio(rig.link, rig.prompts, map, emem), CloneResult::Ok);
    const CloneImage& image = map.Bytes();
    TCEmem decoded;
    EXPECT_TRUE(map.Decode(decoded));
    EXPECT_EQ(emem, decoded);

    EXPECT_EQ(rig.repeater.line, ExpectedReadLine());
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 1456), rig.repeater.memory);
    EXPECT_TRUE(std::all_of(image.begin() + 1456, image.end() - 1, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(image[1985], 0x5A);
    EXPECT_EQ(rig.prompts.texts, std::vector<std::string>{"Upload is completed"});
    std::vector<int> bar{8, 16, 17, 18, 19, 20};
    for (int p = 21; p <= 33; ++p) bar.push_back(p);
    EXPECT_EQ(rig.observer.positions, bar);
}

TEST(CloneRead, SilentRepeaterGetsTheStartRequestAgainUntilCancel)
{
    Rig rig;
    rig.repeater.startAnswersMissing = 1000;
    rig.repeater.onSend = [&](const Bytes&) {
        if (rig.repeater.startRequests == 4) rig.observer.cancel = true;
    };
    TMap54 map;
    TCEmem emem;
    EXPECT_EQ(UploadFromRadio(rig.link, rig.prompts, map, emem), CloneResult::Cancelled);
    EXPECT_EQ(rig.repeater.line, (Bytes{0x02, 0x02, 0x02, 0x02, 0x15})); // the cancelled wait reads as a wrong answer
    EXPECT_TRUE(rig.prompts.texts.empty());
    // Three unanswered attempts of 100 ms pause plus the 5000 ms no-data limit each.
    EXPECT_GE(rig.clock.now, 3 * 5100);
}

TEST(CloneRead, StartAnswerAfterSilenceGoesOn)
{
    Rig rig;
    rig.repeater.startAnswersMissing = 2;
    TMap54 map;
    TCEmem emem;
    EXPECT_EQ(UploadFromRadio(rig.link, rig.prompts, map, emem), CloneResult::Ok);
    EXPECT_EQ(rig.repeater.startRequests, 3);
}

// Each fault at the first block (area 1), a middle block (area 3) and the last block (area 4).
const FailureCase kReadFailures[] = {
    {"ChecksumFirst", 0x12, 0, Fault::BadChecksum, "Checksum error", true},
    {"ChecksumMiddle", 0x42, 7, Fault::BadChecksum, "Checksum error", true},
    {"ChecksumLast", 0x62, 48, Fault::BadChecksum, "Checksum error", true},
    {"HeaderFirst", 0x12, 0, Fault::WrongCommand, "Upload error", true},
    {"HeaderArea2", 0x22, 0, Fault::WrongCommand, "Upload error", true},
    {"BlockMiddle", 0x42, 7, Fault::WrongBlock, "Upload error", true},
    {"BlockLast", 0x62, 48, Fault::WrongBlock, "Upload error", true},
    {"SilenceFirst", 0x12, 0, Fault::Silence, "Timeout", false},
    {"SilenceMiddle", 0x42, 7, Fault::Silence, "Timeout", false},
    {"SilenceLast", 0x62, 48, Fault::Silence, "Timeout", false},
    {"StopsAfterEchoLast", 0x62, 48, Fault::NoReply, "Timeout", false},
    {"ReadFailureFirst", 0x12, 0, Fault::ReadFailure, "Upload error", false},
    {"ReadFailureLast", 0x62, 48, Fault::ReadFailure, "Upload error", false},
    {"SendFailureFirst", 0x12, 0, Fault::SendFailure, "Upload error", false},
    {"SendFailureMiddle", 0x42, 7, Fault::SendFailure, "Upload error", false},
    {"SendFailureLast", 0x62, 48, Fault::SendFailure, "Upload error", false},
    {"GarbageMiddle", 0x42, 7, Fault::Garbage, "Checksum error", true},
    {"Length0", 0x42, 7, Fault::Length0, "Upload error", true},
    {"Length255", 0x22, 0, Fault::Length255, "Checksum error", true},
    {"WrongStartAnswer", 0x02, 0, Fault::WrongStartAnswer, "Upload error", true},
    {"Undecodable", 0, 0, Fault::Undecodable, "Clone Data Error: incompatible data", false},
};

class CloneReadFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(CloneReadFailure, EndsWithItsMessageAndLeavesTheImageAlone)
{
    const FailureCase& c = GetParam();
    Rig rig;
    rig.repeater.target = FakeRepeater::Target{c.cmd, c.block, c.fault};
    if (c.fault == Fault::Undecodable) {
        rig.repeater.memory[0x14] = 0xFF;  // no decimal digit where the power display value lives
        rig.repeater.memory[0x15] = 0xFF;
    }
    TMap54 map;
    map.Bytes().fill(0xEE);
    TCEmem emem;
    emem.SerialNumber = "kept";
    const TMap54 mapBefore = map;
    const TCEmem ememBefore = emem;

    EXPECT_NE(UploadFromRadio(rig.link, rig.prompts, map, emem), CloneResult::Ok);
    EXPECT_EQ(rig.prompts.texts, std::vector<std::string>{c.message});
    EXPECT_TRUE(map == mapBefore);
    EXPECT_EQ(emem, ememBefore);
    EXPECT_FALSE(rig.repeater.Ended()) << "no end of clone after a failure";
    EXPECT_EQ(rig.repeater.LastSend() == Bytes{0x15}, c.nak);
}

INSTANTIATE_TEST_SUITE_P(Matrix, CloneReadFailure, testing::ValuesIn(kReadFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CloneRead, CancelMidwaySendsNakShowsNothingAndKeepsTheImage)
{
    Rig rig;
    rig.repeater.onSend = [&](const Bytes& s) {
        if (s == ReadRequest(0x42, 7)) rig.observer.cancel = true;
    };
    TMap54 map;
    TCEmem emem;
    EXPECT_EQ(UploadFromRadio(rig.link, rig.prompts, map, emem), CloneResult::Cancelled);
    EXPECT_TRUE(rig.prompts.texts.empty());
    EXPECT_TRUE(map == TMap54{});
    EXPECT_EQ(emem, TCEmem{});
    EXPECT_EQ(rig.repeater.LastSend(), Bytes{0x15});
    EXPECT_FALSE(rig.repeater.Ended());
}

// Cancel that arrives after the last block was received: the clone is not ended, and so the
// caller's image must not change either, or it would hold data that the caller was told it did
// not get.
TEST(CloneRead, CancelAfterTheLastBlockKeepsTheImage)
{
    Rig rig;
    int lastBlockPumps = 0;
    struct LateCancel : Observer {
        int* armed;
        void PumpEvents() override { if (*armed > 0) cancel = true; }
    } observer;
    observer.armed = &lastBlockPumps;
    CloneLink link{rig.repeater, observer, rig.clock, rig.timing};
    rig.repeater.onSend = [&](const Bytes& s) {
        if (s == ReadRequest(0x62, 48)) lastBlockPumps = 1;
    };
    TMap54 map;
    TCEmem emem;
    EXPECT_EQ(UploadFromRadio(link, rig.prompts, map, emem), CloneResult::Cancelled);
    EXPECT_TRUE(map == TMap54{});
    EXPECT_EQ(emem, TCEmem{});
    EXPECT_TRUE(rig.prompts.texts.empty());
    EXPECT_FALSE(rig.repeater.Ended());
}

// A cancel during the re-synchronisation ends both directions there: the handshake is still
// acknowledged, but no further request or block goes out (a write must not send area 5 after it).
TEST(CloneCancel, DuringTheResyncNothingFollowsTheAcknowledgement)
{
    for (const bool write : {false, true}) {
        SCOPED_TRACE(write ? "write" : "read");
        Rig rig;
        rig.repeater.onSend = [&](const Bytes& s) {
            if (s == Bytes{0x03}) rig.observer.cancel = true;
        };
        TMap54 map;
        TCEmem emem;
        const CloneResult result =
            write ? FinishDownload(rig.link, rig.prompts,
                                   WriteRepeaterImage(rig.link, rig.prompts, OperatingMode::Dealer,
                                                      ImageToWrite(rig.repeater)))
                  : UploadFromRadio(rig.link, rig.prompts, map, emem);
        EXPECT_EQ(result, CloneResult::Cancelled);
        const Bytes& line = rig.repeater.line;
        ASSERT_GE(line.size(), 3u);
        EXPECT_EQ(Bytes(line.end() - 3, line.end()), (Bytes{0x27, 0x03, 0x06}));
        EXPECT_EQ(rig.repeater.written.count(0x63), 0u);
        EXPECT_TRUE(rig.prompts.texts.empty());
        EXPECT_TRUE(map == TMap54{});
    }
}

TEST(CloneFrame, VerifyReplyNeverReadsPastTheReplyWhateverItsLengthByte)
{
    for (int length : {0, 1, 2, 0x0C, 254, 255}) {
        Bytes reply{0x62, 0x00, static_cast<uint8_t>(length), 0x01};
        reply.resize(15, 0x11);
        const CloneResult result = VerifyReply(reply, 0x62, 0x0C, 0x01);
        EXPECT_TRUE(result == CloneResult::BadChecksum || result == CloneResult::BadHeader) << length;
    }
    const Bytes good = Frame({0x62, 0x00, 0x0C, 0x05}, Bytes(10, 0x40));
    EXPECT_EQ(VerifyReply(good, 0x62, 0x0C, 0x05), CloneResult::Ok);
    EXPECT_EQ(BuildFrame(0x62, 0x05, Bytes(10, 0x40)), good);
    EXPECT_EQ(BuildFrame(0x12, 0x00, {}), (Bytes{0x12, 0x00, 0x02, 0x00, 0x14}));
}


}  // namespace
