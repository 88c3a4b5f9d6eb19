// The clone write against the scripted repeater: the areas of each mode byte for byte, the Dealer
// mode's kept bytes, the band check, every failure, cancel, and the encoded image.
#include "clone_fakes.h"

namespace {

using namespace qm54;
using namespace clonetest;

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
    MsgResult answer;
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
                         testing::Values(BandCase{"ManufactureYes", OperatingMode::Manufacture, MsgResult::Yes, kAskBand, true},
                                         BandCase{"ManufactureNo", OperatingMode::Manufacture, MsgResult::No, kAskBand, false},
                                         BandCase{"ManufactureClosed", OperatingMode::Manufacture, MsgResult::Closed, kAskBand, false},
                                         BandCase{"Dealer", OperatingMode::Dealer, MsgResult::Yes, kRefuseBand, false},
                                         BandCase{"Normal", OperatingMode::Normal, MsgResult::Yes, kRefuseBand, false}),
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


}  // namespace
