// The simulator process over a real pseudo-terminal, driven by the real driver and clone code.
#include "link/clone.h"
#include "link/rs_drv.h"
#include "model/image/map54.h"
#include "../unit/link_fakes.h"
#include "sim_process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

namespace {

namespace fs = std::filesystem;
using qm54::CloneImage;
using qm54test::SimProcess;

CloneImage Pattern(int mul, int add)
{
    CloneImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * mul + add);
    return image;
}

struct NoPrompts : qm54::Prompter {
    std::vector<std::string> texts;
    qm54::MsgResult Show(const std::string& text, qm54::MsgKind, qm54::MsgButtons, const std::string&) override
    {
        texts.push_back(text);
        return qm54::MsgResult::No;
    }
};

struct SimTest : ::testing::Test {
    qm54::test::TempFolder folder{"qm54-sim-e2e"};
    fs::path dir = folder.Path();
    CloneImage simImage = Pattern(7, 3);
    qm54::TCRsDrv drv;
    qm54test::CountingObserver observer;
    qm54::LinkTiming timing;
    NoPrompts prompts;

    void SetUp() override
    {
        std::ofstream(dir / "repeater.q54", std::ios::binary)
            .write(reinterpret_cast<const char*>(simImage.data()), static_cast<std::streamsize>(simImage.size()));
        timing.SettleMs = 0;
        timing.HandshakePauseMs = timing.ShortPauseMs = timing.AlignPauseMs = timing.EndPauseMs = 5;
        timing.CompletePauseMs = 0;
        timing.NoDataMs = 2000;
        drv.SetSettleWait(0);
        drv.SetBaudRate(9600);
    }
    void TearDown() override
    {
        drv.Close();
    }
    std::vector<std::string> SimArgs(std::vector<std::string> more) const
    {
        more.insert(more.begin(), {"--image", (dir / "repeater.q54").string()});
        return more;
    }
    qm54::CloneLink Link() { return {drv, observer, qm54::SystemClock(), timing}; }
    static std::vector<uint8_t> ReadFile(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(SimTest, UploadReadsTheRepeatersImage)
{
    SimProcess sim(SimArgs({}));
    ASSERT_FALSE(sim.Path().empty());
    CloneImage expected{};
    std::copy_n(simImage.begin(), 1456, expected.begin());
    expected.back() = 0x5A;

    // the second time over a port opened again, as a user uploads twice
    timing.NoDataMs = 1500;
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(drv.Open(sim.Path()), 0) << drv.ErrorText();
        qm54::CloneLink link = Link();
        CloneImage image{};
        ASSERT_EQ(qm54::ReadRepeaterImage(link, image), qm54::CloneResult::Ok) << run;
        EXPECT_EQ(image, expected);
        if (run == 0) {
            // the computer gives up in the middle of a request of the next upload and closes the
            // port; the simulator may not even see it closed before the port is opened again
            ASSERT_EQ(drv.Open(sim.Path()), 0);
            std::vector<uint8_t> start = {0x02, 0x06, 0x22, 0x00};
            drv.Send(start.data(), start.size());
            std::vector<uint8_t> echoAndAnswer(start.size() + 2);
            EXPECT_EQ(qm54::RecvWait(drv, echoAndAnswer.data(), echoAndAnswer.size(), observer,
                                     qm54::SystemClock(), timing), qm54::RecvResult::Received);
        }
        drv.Close();
    }
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(SimTest, DefaultImagesDecodeAsTheirBandAndTheBandCheckTellsThemApart)
{
    CloneImage uploaded[2];
    for (int band : {qm54::BandVhf, qm54::BandUhf}) {
        SCOPED_TRACE(band);
        SimProcess sim({"--band", band == qm54::BandUhf ? "uhf" : "vhf"});
        ASSERT_EQ(drv.Open(sim.Path()), 0) << drv.ErrorText();
        qm54::CloneLink link = Link();
        ASSERT_EQ(qm54::ReadRepeaterImage(link, uploaded[band]), qm54::CloneResult::Ok);
        drv.Close();

        qm54::TMap54 map;
        map.Bytes() = uploaded[band];
        qm54::TCEmem emem;
        EXPECT_TRUE(map.Decode(emem));
        EXPECT_EQ(emem.Band, band);
    }
    // a VHF programming refused by a UHF repeater, with nothing written
    const fs::path saved = dir / "saved.q54";
    SimProcess uhf({"--band", "uhf", "--save", saved.string()});
    ASSERT_EQ(drv.Open(uhf.Path()), 0);
    qm54::CloneLink link = Link();
    EXPECT_EQ(qm54::WriteRepeaterImage(link, prompts, qm54::OperatingMode::Dealer, uploaded[qm54::BandVhf]),
              qm54::CloneResult::BandRefused);
    EXPECT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(qm54::FinishDownload(link, prompts, qm54::CloneResult::BandRefused), qm54::CloneResult::BandRefused);
    drv.Close();
    EXPECT_EQ(uhf.Stop(), 0);
    EXPECT_FALSE(fs::exists(saved));
}

TEST_F(SimTest, DownloadLeavesWhatEachModeWritesInTheSavedImage)
{
    CloneImage written = Pattern(11, 5);
    written[4] = simImage[4];  // same band
    written[5] = simImage[5];

    for (qm54::OperatingMode mode :
         {qm54::OperatingMode::Normal, qm54::OperatingMode::Dealer, qm54::OperatingMode::Manufacture}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const fs::path saved = dir / "saved.q54", log = dir / "sim.log", linked = dir / "port";
        fs::remove(saved);
        SimProcess sim(SimArgs({"--save", saved.string(), "--log", log.string(), "--link", linked.string()}));
        ASSERT_FALSE(sim.Path().empty());
        EXPECT_EQ(fs::read_symlink(linked), sim.Path());
        ASSERT_EQ(drv.Open(linked.string()), 0) << drv.ErrorText();
        qm54::CloneLink link = Link();
        const qm54::CloneResult result = qm54::WriteRepeaterImage(link, prompts, mode, written);
        ASSERT_EQ(result, qm54::CloneResult::Ok);
        EXPECT_EQ(qm54::FinishDownload(link, prompts, result), qm54::CloneResult::Ok);  // ends the clone with 0x28
        drv.Close();

        CloneImage expected = simImage;
        std::copy(written.begin() + 208, written.begin() + 976, expected.begin() + 208);
        if (mode != qm54::OperatingMode::Normal) {
            std::copy(written.begin(), written.begin() + 207, expected.begin());
            expected[207] = static_cast<uint8_t>(std::accumulate(written.begin() + 80, written.begin() + 207, 0u));
            std::copy(written.begin() + 976, written.begin() + 1456, expected.begin() + 976);
        }
        if (mode == qm54::OperatingMode::Dealer) {
            for (size_t i : {22, 23, 72, 73, 74, 75, 76, 77, 78, 79}) expected[i] = simImage[i];
        }
        std::vector<uint8_t> stored = ReadFile(saved);
        EXPECT_EQ(stored, std::vector<uint8_t>(expected.begin(), expected.end()));

        EXPECT_EQ(sim.Stop(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(linked)));
        std::ifstream logIn(log);
        std::string first;
        std::getline(logIn, first);
        EXPECT_EQ(first, "rx 02");
    }
}

// Each fault through the real clone code: the result code the computer ends with.
TEST_F(SimTest, FaultsEndTheCloneWithTheirCode)
{
    struct Case {
        std::string fault;
        bool write;
        qm54::CloneResult result;
    };
    const Case cases[] = {
        {"checksum@1:0", false, qm54::CloneResult::BadChecksum},
        {"checksum@4:48", false, qm54::CloneResult::BadChecksum},
        {"checksum@1:0", true, qm54::CloneResult::BadChecksum},  // the write's read of area 1
        {"header@3:7", false, qm54::CloneResult::BadHeader},
        {"block@3:15", false, qm54::CloneResult::BadHeader},
        {"len0@2:0", false, qm54::CloneResult::BadChecksum},
        {"len255@4:1", false, qm54::CloneResult::BadChecksum},
        {"garbage@3:0", false, qm54::CloneResult::BadChecksum},
        {"garbage@3:8", true, qm54::CloneResult::BadHeader},
        {"ack@3:0", true, qm54::CloneResult::BadHeader},
        {"ack@4:48", true, qm54::CloneResult::BadHeader},
        {"start", false, qm54::CloneResult::Failed},
        {"flood", false, qm54::CloneResult::Failed},
        {"flood@3:3", false, qm54::CloneResult::BadChecksum},
        {"silence@4:24", false, qm54::CloneResult::Timeout},
        {"silence@5:9", true, qm54::CloneResult::Timeout},
        {"hangup@3:15", false, qm54::CloneResult::Failed},
        {"hangup@2:0", true, qm54::CloneResult::Failed},
    };
    timing.NoDataMs = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault + (c.write ? " write" : " read"));
        SimProcess sim(SimArgs({"--fault", c.fault}));
        ASSERT_FALSE(sim.Path().empty());
        ASSERT_EQ(drv.Open(sim.Path()), 0) << drv.ErrorText();
        qm54::CloneLink link = Link();
        CloneImage image = simImage;
        const qm54::CloneResult result = c.write
                                             ? qm54::WriteRepeaterImage(link, prompts, qm54::OperatingMode::Dealer, image)
                                             : qm54::ReadRepeaterImage(link, image);
        EXPECT_EQ(result, c.result);
        drv.Close();
        if (c.fault.rfind("hangup", 0) == 0) {
            EXPECT_EQ(sim.Wait(), 0);
        }
        EXPECT_EQ(sim.Stop(), 0);
    }
}

TEST_F(SimTest, BadOptionsAndFilesAreRefused)
{
    std::ofstream(dir / "short.q54") << "too short";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--image", (dir / "short.q54").string()},
          std::vector<std::string>{"--image", (dir / "missing.q54").string()},
          std::vector<std::string>{"--fault", "checksum@9:0"}, std::vector<std::string>{"--band", "hf"},
          std::vector<std::string>{"--baud", "fast"}, std::vector<std::string>{"--log"}}) {
        SimProcess sim(args);
        EXPECT_TRUE(sim.Path().empty());
        EXPECT_EQ(sim.Wait(), 2);
    }
}

}  // namespace
