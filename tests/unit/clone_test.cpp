// The clone read and write against a scripted repeater behind a scripted cable (every byte sent
// comes back as echo), with a fake clock: the whole exchange runs with no port and no real waits.
#include "link/clone.h"
#include "model/emem.h"
#include "model/map54.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace {

using namespace qm54;
using Bytes = std::vector<uint8_t>;

struct FakeClock : Clock {
    int64_t now = 0;
    int64_t NowMs() override { return now; }
    void SleepMs(int ms) override { now += ms; }
};

// Written here from the frame layout, independently of the code under test.
uint8_t Sum(const Bytes& b)
{
    int s = 0;
    for (uint8_t x : b) s += x;
    return static_cast<uint8_t>(s & 0xFF);
}
Bytes Frame(Bytes head, const Bytes& payload)
{
    head.insert(head.end(), payload.begin(), payload.end());
    head.push_back(Sum(head));
    return head;
}
Bytes ReadRequest(uint8_t cmd, uint8_t block) { return Frame({cmd, 0x00, 0x02, block}, {}); }
Bytes Part(const Bytes& image, size_t from, size_t count)
{
    return Bytes(image.begin() + static_cast<long>(from), image.begin() + static_cast<long>(from + count));
}

// What can go wrong with the repeater's answer to one request.
enum class Fault {
    None, BadChecksum, WrongCommand, WrongBlock, Silence, Garbage, Length0, Length255,
    BadAck, ReadFailure, SendFailure, WrongStartAnswer, NoReply,
    Undecodable  // every reply fine, but the image does not decode as this model
};

// A repeater with its own memory, answering requests as they are sent. One fault may be placed
// on the answer to the first request whose command and block match.
struct FakeRepeater : SerialPort {
    FakeClock& clock;
    Bytes memory = Bytes(1456);
    Bytes line;          // everything the computer sent, in order
    std::vector<Bytes> sends;  // the same, one entry per Send
    Bytes queued;        // echo and answers waiting to be read
    bool silent = false; // once silent, nothing more arrives, not even the echo
    int startAnswersMissing = 0;  // start requests left unanswered before the repeater wakes up
    int startRequests = 0;
    struct Target { uint8_t cmd; uint8_t block; Fault fault; };
    std::optional<Target> target;
    bool failReads = false;
    std::function<void(const Bytes&)> onSend;  // lets a test cancel at a chosen request
    std::string error = "";

    explicit FakeRepeater(FakeClock& c) : clock(c)
    {
        for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 7 + 3);
    }

    Fault TakeFault(const Bytes& sent)
    {
        if (!target || sent.empty() || sent[0] != target->cmd) return Fault::None;
        if (sent.size() >= 4 && sent[3] != target->block) return Fault::None;
        const Fault f = target->fault;
        target.reset();
        return f;
    }

    Bytes Reply(uint8_t cmd, uint8_t block, size_t offset, size_t size)
    {
        return Frame({cmd, 0x00, static_cast<uint8_t>(size + 2), block}, Part(memory, offset, size));
    }

    static void Spoil(Bytes& reply, Fault f)
    {
        switch (f) {
        case Fault::BadChecksum: reply.back() = static_cast<uint8_t>(reply.back() + 1); break;
        case Fault::WrongCommand: reply[0] ^= 0x01; reply.back() = Sum(Part(reply, 0, reply.size() - 1)); break;
        case Fault::WrongBlock: reply[3] += 1; reply.back() = Sum(Part(reply, 0, reply.size() - 1)); break;
        case Fault::Garbage: for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(0xA5 ^ (i * 31)); break;
        case Fault::Length0: reply[2] = 0; reply.back() = Sum(Part(reply, 0, 2)); break;
        case Fault::Length255: reply[2] = 255; break;
        default: break;
        }
    }

    Bytes Answer(const Bytes& s, Fault f)
    {
        if (s.size() == 1) {
            if (s[0] == 0x02) {
                if (startAnswersMissing > 0) { --startAnswersMissing; return {}; }
                return f == Fault::WrongStartAnswer ? Bytes{0x02, 0x02} : Bytes{0x02, 0x01};
            }
            if (s[0] == 0x03) return {0x30, 0x31};
            return {};
        }
        const uint8_t cmd = s[0], block = s[3];
        Bytes reply;
        switch (cmd) {
        case 0x12: reply = Reply(cmd, block, 0, 80); break;
        case 0x22: reply = Reply(cmd, block, 80, 128); break;
        case 0x42: reply = Reply(cmd, block, 208 + 48 * block, 48); break;
        case 0x62: reply = Reply(cmd, block, 976 + 10 * (block - 1), 10); break;
        default: {  // a written block
            Store(s);
            return f == Fault::BadAck ? Bytes{0x06, 0x06} : Bytes{0x06, 0x17};
        }
        }
        Spoil(reply, f);
        return reply;
    }

    std::map<uint8_t, std::vector<Bytes>> written;  // write command -> frames received
    void Store(const Bytes& s) { written[s[0]].push_back(s); }
    bool Ended() const { return std::find(sends.begin(), sends.end(), Bytes{0x28}) != sends.end(); }
    Bytes LastSend() const { return sends.empty() ? Bytes{} : sends.back(); }

    int Send(const uint8_t* data, size_t count) override
    {
        const Bytes s(data, data + count);
        const Fault f = TakeFault(s);
        if (f == Fault::SendFailure) return 1;
        if (s == Bytes{0x02}) ++startRequests;
        line.insert(line.end(), s.begin(), s.end());
        sends.push_back(s);
        if (onSend) onSend(s);
        if (silent) return 0;
        queued.insert(queued.end(), s.begin(), s.end());
        if (f == Fault::Silence) { silent = true; return 0; }
        if (f == Fault::ReadFailure) failReads = true;
        const Bytes a = f == Fault::NoReply ? Bytes{} : Answer(s, f);
        queued.insert(queued.end(), a.begin(), a.end());
        return 0;
    }
    int InQueue() override { return failReads ? -1 : static_cast<int>(queued.size()); }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
        got = 0;
        if (failReads) return 1;
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

struct Observer : LinkObserver {
    std::vector<int> positions;
    bool cancel = false;
    void SetProgress(int position, int maximum) override
    {
        EXPECT_EQ(maximum, 33);
        if (positions.empty() || positions.back() != position) positions.push_back(position);
    }
    void PumpEvents() override {}
    bool CancelRequested() const override { return cancel; }
};

struct Prompts : Prompter {
    std::vector<std::string> texts;
    int answer = MrYes;
    int Show(const std::string& text, MsgKind, MsgButtons buttons, const std::string&) override
    {
        texts.push_back(text);
        return buttons == MsgButtons::YesNo ? answer : MrOk;
    }
};

struct Rig {
    FakeClock clock;
    FakeRepeater repeater{clock};
    Observer observer;
    Prompts prompts;
    LinkTiming timing;
    CloneLink link{repeater, observer, clock, timing};
};

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

struct FailureCase {
    const char* name;
    uint8_t cmd;
    uint8_t block;
    Fault fault;
    const char* message;
    bool nak;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

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

// An image to write whose band bytes match the repeater's.
CloneImage ImageToWrite(const FakeRepeater& repeater)
{
    CloneImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 13 + 1);
    image[4] = repeater.memory[4];
    image[5] = repeater.memory[5];
    return image;
}

// The exact line of a complete clone write in a mode, built from the image and the repeater's
// own area 1.
Bytes ExpectedWriteLine(const CloneImage& image, const Bytes& repeaterMemory, OperatingMode mode)
{
    const Bytes img(image.begin(), image.end());
    Bytes line{0x02, 0x06};
    auto add = [&](const Bytes& b) { line.insert(line.end(), b.begin(), b.end()); };
    add(ReadRequest(0x12, 0));
    const bool full = mode != OperatingMode::Normal;
    if (full) {
        Bytes area1 = Part(img, 0, 80);
        if (mode == OperatingMode::Dealer) {
            for (size_t i : {22, 23, 72, 73, 74, 75, 76, 77, 78, 79}) area1[i] = repeaterMemory[i];
        }
        add(Frame({0x11, 0x00, 0x52, 0xFF}, area1));
        Bytes area2 = Part(img, 80, 127);
        area2.push_back(Sum(area2));
        add(Frame({0x21, 0x00, 0x82, 0xFF}, area2));
    }
    for (uint8_t k = 0; k < 16; ++k) add(Frame({0x41, 0x00, 0x32, k}, Part(img, 208 + 48 * k, 48)));
    add({0x27});
    if (full) {
        add({0x03, 0x06});
        for (uint8_t k = 0; k < 10; ++k)
            add(Frame({0x63, 0x00, 0x0C, k}, {0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25}));
        for (uint8_t k = 1; k <= 48; ++k) add(Frame({0x61, 0x00, 0x0C, k}, Part(img, 976 + 10 * (k - 1), 10)));
    }
    add({0x28});
    return line;
}

struct ModeCase {
    const char* name;
    OperatingMode mode;
    std::vector<int> bar;
};

std::vector<int> FullWriteBar()
{
    std::vector<int> bar{1, 8, 16, 17, 18, 19, 20, 21, 22, 23};
    for (int p = 24; p <= 33; ++p) bar.push_back(p);
    return bar;
}

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class CloneWriteMode : public testing::TestWithParam<ModeCase> {};

TEST_P(CloneWriteMode, SendsTheAreasOfTheModeExactly)
{
    const ModeCase& c = GetParam();
    Rig rig;
    const CloneImage image = ImageToWrite(rig.repeater);
    const CloneResult result = WriteRepeaterImage(rig.link, rig.prompts, c.mode, image);
    EXPECT_EQ(FinishDownload(rig.link, rig.prompts, result), CloneResult::Ok);
    EXPECT_EQ(rig.repeater.line, ExpectedWriteLine(image, rig.repeater.memory, c.mode));
    EXPECT_EQ(rig.prompts.texts, std::vector<std::string>{"Download is completed"});
    EXPECT_EQ(rig.observer.positions, c.bar);
}

INSTANTIATE_TEST_SUITE_P(Modes, CloneWriteMode,
                         testing::Values(ModeCase{"Normal", OperatingMode::Normal, {1, 2, 3, 4, 5, 33}},
                                         ModeCase{"Dealer", OperatingMode::Dealer, FullWriteBar()},
                                         ModeCase{"Manufacture", OperatingMode::Manufacture, FullWriteBar()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CloneWrite, DealerKeepsTheRepeatersArea1BytesAndArea2EndsWithItsSum)
{
    Rig rig;
    const CloneImage image = ImageToWrite(rig.repeater);
    ASSERT_EQ(WriteRepeaterImage(rig.link, rig.prompts, OperatingMode::Dealer, image), CloneResult::Ok);
    const Bytes area1 = rig.repeater.written.at(0x11).at(0);
    for (size_t i = 0; i < 80; ++i) {
        const bool kept = i == 22 || i == 23 || (i >= 72 && i <= 79);
        EXPECT_EQ(area1[4 + i], kept ? rig.repeater.memory[i] : image[i]) << i;
    }
    const Bytes area2 = rig.repeater.written.at(0x21).at(0);
    ASSERT_EQ(area2.size(), 133u);
    int sum = 0;
    for (size_t i = 80; i <= 206; ++i) sum += image[i];
    EXPECT_EQ(area2[131], sum % 256);
    EXPECT_NE(area2[131], image[207]);
}

struct BandCase {
    const char* name;
    OperatingMode mode;
    int answer;
    std::string message;
    bool goesOn;
};

void PrintTo(const BandCase& c, std::ostream* os) { *os << c.name; }

class CloneWriteBand : public testing::TestWithParam<BandCase> {};

TEST_P(CloneWriteBand, DifferentBandAsksOrRefuses)
{
    const BandCase& c = GetParam();
    Rig rig;
    rig.prompts.answer = c.answer;
    CloneImage image = ImageToWrite(rig.repeater);
    image[5] ^= 0x10;
    const CloneResult result = WriteRepeaterImage(rig.link, rig.prompts, c.mode, image);
    EXPECT_EQ(FinishDownload(rig.link, rig.prompts, result) == CloneResult::Ok, c.goesOn);
    ASSERT_FALSE(rig.prompts.texts.empty());
    EXPECT_EQ(rig.prompts.texts.front(), c.message);
    if (c.goesOn) {
        EXPECT_EQ(rig.prompts.texts.back(), "Download is completed");
    } else {
        EXPECT_EQ(result, CloneResult::BandRefused);
        EXPECT_EQ(rig.prompts.texts.size(), 1u);
        EXPECT_TRUE(rig.repeater.written.empty()) << "nothing written after a refused band";
        EXPECT_FALSE(rig.repeater.Ended());
    }
}

const std::string kAskBand = "Frequency band is different\r\nChange the frequency band?";
const std::string kRefuseBand =
    "Frequency band is differrent\r\nUpload the programming data from the KTD-4150 before\r\ndownloading,";

INSTANTIATE_TEST_SUITE_P(Band, CloneWriteBand,
                         testing::Values(BandCase{"ManufactureYes", OperatingMode::Manufacture, MrYes, kAskBand, true},
                                         BandCase{"ManufactureNo", OperatingMode::Manufacture, MrNo, kAskBand, false},
                                         BandCase{"ManufactureClosed", OperatingMode::Manufacture, MrClosed, kAskBand, false},
                                         BandCase{"Dealer", OperatingMode::Dealer, MrYes, kRefuseBand, false},
                                         BandCase{"Normal", OperatingMode::Normal, MrYes, kRefuseBand, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each fault at the first written block (area 1), a middle one (area 3) and the last (area 4),
// and at the repeater's area 1 that the write reads first.
const FailureCase kWriteFailures[] = {
    {"AckFirst", 0x11, 0xFF, Fault::BadAck, "Download error", false},
    {"AckArea2", 0x21, 0xFF, Fault::BadAck, "Download error", false},
    {"AckMiddle", 0x41, 7, Fault::BadAck, "Download error", false},
    {"AckArea5", 0x63, 9, Fault::BadAck, "Download error", false},
    {"AckLast", 0x61, 48, Fault::BadAck, "Download error", false},
    {"SilenceFirst", 0x11, 0xFF, Fault::Silence, "Timeout", false},
    {"SilenceMiddle", 0x41, 7, Fault::Silence, "Timeout", false},
    {"SilenceLast", 0x61, 48, Fault::Silence, "Timeout", false},
    {"SendFailureFirst", 0x11, 0xFF, Fault::SendFailure, "Download error", false},
    {"SendFailureMiddle", 0x41, 7, Fault::SendFailure, "Download error", false},
    {"SendFailureLast", 0x61, 48, Fault::SendFailure, "Download error", false},
    {"ReadFailureLast", 0x61, 48, Fault::ReadFailure, "Download error", false},
    {"RepeaterArea1Checksum", 0x12, 0, Fault::BadChecksum, "Checksum error", true},
    {"RepeaterArea1Header", 0x12, 0, Fault::WrongCommand, "Download error", true},
    {"RepeaterArea1Garbage", 0x12, 0, Fault::Garbage, "Checksum error", true},
    {"RepeaterArea1Length0", 0x12, 0, Fault::Length0, "Download error", true},
    {"RepeaterArea1Silence", 0x12, 0, Fault::Silence, "Timeout", false},
    {"WrongStartAnswer", 0x02, 0, Fault::WrongStartAnswer, "Download error", true},
};

class CloneWriteFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(CloneWriteFailure, EndsWithItsMessageAndNoEndOfClone)
{
    const FailureCase& c = GetParam();
    Rig rig;
    rig.repeater.target = FakeRepeater::Target{c.cmd, c.block, c.fault};
    const CloneResult result = WriteRepeaterImage(rig.link, rig.prompts, OperatingMode::Dealer, ImageToWrite(rig.repeater));
    EXPECT_NE(FinishDownload(rig.link, rig.prompts, result), CloneResult::Ok);
    EXPECT_EQ(rig.prompts.texts, std::vector<std::string>{c.message});
    EXPECT_FALSE(rig.repeater.Ended());
    EXPECT_EQ(rig.repeater.LastSend() == Bytes{0x15}, c.nak);
}

INSTANTIATE_TEST_SUITE_P(Matrix, CloneWriteFailure, testing::ValuesIn(kWriteFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CloneWrite, CancelStopsAtTheWaitUnderWayWithoutAMessage)
{
    Rig rig;
    rig.repeater.onSend = [&](const Bytes& s) {
        if (s.size() == 53 && s[3] == 7) rig.observer.cancel = true;
    };
    const CloneResult result = WriteRepeaterImage(rig.link, rig.prompts, OperatingMode::Normal, ImageToWrite(rig.repeater));
    EXPECT_EQ(FinishDownload(rig.link, rig.prompts, result), CloneResult::Cancelled);
    EXPECT_TRUE(rig.prompts.texts.empty());
    EXPECT_EQ(rig.repeater.written.at(0x41).size(), 8u) << "blocks after the cancelled one are not sent";
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

// The write sends the settings as encoded now, and the map keeps that encoding even when the
// repeater stops acknowledging part way.
TEST(CloneWrite, DownloadEncodesTheSettingsAndKeepsTheEncodedImageAfterAFailure)
{
    Rig rig;
    TCEmem emem;
    SetDefaults(emem);
    emem.Channels.Items(2).NsqLevel = 77;
    TMap54 encoded;
    encoded.Encode(emem);
    rig.repeater.memory[4] = encoded.Bytes()[4];
    rig.repeater.memory[5] = encoded.Bytes()[5];
    rig.repeater.target = FakeRepeater::Target{0x41, 7, Fault::BadAck};

    TMap54 map;
    EXPECT_EQ(DownloadToRadio(rig.link, rig.prompts, OperatingMode::Normal, emem, map), CloneResult::BadHeader);
    EXPECT_TRUE(map == encoded);
    EXPECT_EQ(rig.prompts.texts, std::vector<std::string>{"Download error"});
    const auto& blocks = rig.repeater.written.at(0x41);
    ASSERT_EQ(blocks.size(), 8u);
    for (size_t k = 0; k < blocks.size(); ++k)
        EXPECT_EQ(Part(blocks[k], 4, 48), Part(Bytes(encoded.Bytes().begin(), encoded.Bytes().end()), 208 + 48 * k, 48));
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
