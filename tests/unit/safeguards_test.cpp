// Verified downloads, automatic backups and serial traces around the clone exchanges, against the
// simulator's repeater on an in-process port.
#include "link/safeguards.h"

#include "link/trace.h"
#include "model/storage/backup_store.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "pty_pair.h"
#include "sim_port.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {

using namespace qm54;
using qm54::test::RecordingPrompter;
using qm54::test::TempFolder;
using qm54test::FakeClock;
using qm54test::NewImage;
using qm54test::SimPort;

struct Observer : LinkObserver {
    void SetProgress(int, int) override {}
    void PumpEvents() override {}
    bool CancelRequested() const override { return false; }
};

struct GuardRig {
    TempFolder dir;
    FakeClock clock;
    SimPort port{clock, NewImage()};
    Observer observer;
    RecordingPrompter prompter{MsgResult::Yes};
    LinkTiming timing;
    CloneLink link{port, observer, clock, timing};
    Safeguards guards;

    GuardRig()
    {
        timing.CompletePauseMs = 0;
        guards.BackupRoot = dir.File("backups");
        guards.TraceRoot = dir.File("traces");
        guards.PortName = "sim";
        guards.Verify = true;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : prompter.messages) texts.push_back(m.text);
        return texts;
    }
    // The programming a user would download: New's, with a few settings of every area changed.
    static TCEmem Edited()
    {
        TMap54 map;
        map.Bytes() = NewImage();
        TCEmem emem;
        static_cast<void>(map.Decode(emem));
        emem.Channels.Items(2).NsqLevel = 77;
        emem.SetAlphaTagText(0, "TOWER");
        return emem;
    }
};

std::vector<std::string> Directions(const std::vector<BackupEntry>& entries)
{
    std::vector<std::string> names;
    for (const BackupEntry& e : entries) names.push_back(DirectionName(e.Name.Direction));
    return names;
}

TEST(GuardedDownload, EachModeEndsVerifiedWithABackupOfWhatWasSentAndOfTheReadBack)
{
    for (OperatingMode mode : {OperatingMode::Normal, OperatingMode::Dealer, OperatingMode::Manufacture}) {
        SCOPED_TRACE(static_cast<int>(mode));
        GuardRig rig;
        TMap54 map;
        const DownloadOutcome outcome = GuardedDownload(rig.link, rig.prompter, mode, GuardRig::Edited(), map, rig.guards);
        EXPECT_TRUE(outcome.Succeeded());
        EXPECT_EQ(rig.Texts(), (std::vector<std::string>{"Download is completed", "Download is verified"}));
        const std::vector<BackupEntry> backups = ListBackups(rig.guards.BackupRoot);
        EXPECT_EQ(Directions(backups), (std::vector<std::string>{"verify", "download"}));
        ASSERT_EQ(backups.size(), 2u);
        EXPECT_EQ(backups[0].Serial, "12345678");
        EXPECT_EQ(backups[1].Band, "VHF");
        // The download's backup is the image as sent: area 2 ends with its computed byte.
        const std::string sent = qm54::test::ReadAll(backups[1].Path);
        ASSERT_EQ(sent.size(), ImageSize);
        if (mode != OperatingMode::Normal) {
            uint8_t sum = 0;
            for (size_t i = image::ChecksumAFirst; i < image::ChecksumA; ++i) sum = static_cast<uint8_t>(sum + map.Bytes()[i]);
            EXPECT_EQ(static_cast<uint8_t>(sent[image::ChecksumA]), sum);
        }
    }
}

TEST(GuardedDownload, ARepeaterThatKeepsAWrongByteFailsTheVerifyNamingTheSetting)
{
    struct Case {
        OperatingMode mode;
        const char* fault;
        const char* named;
    };
    const Case cases[] = {
        {OperatingMode::Normal, "keep@3:2", "Channel 3 NsqLevel"},
        {OperatingMode::Dealer, "keep@4:1", "AlphaTagText[0]"},
        {OperatingMode::Manufacture, "keep@3:15", "Channel 16 NsqLevel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        GuardRig rig;
        std::string error;
        rig.port.sim.AddFault(*ParseSimFault(c.fault, error));
        TMap54 map;
        const DownloadOutcome outcome = GuardedDownload(rig.link, rig.prompter, c.mode, GuardRig::Edited(), map, rig.guards);
        EXPECT_EQ(outcome.Write, CloneResult::Ok);
        EXPECT_EQ(outcome.Verify, VerifyResult::Differs);
        EXPECT_FALSE(outcome.Succeeded());
        ASSERT_EQ(rig.prompter.messages.size(), 2u);
        EXPECT_EQ(rig.prompter.messages[1].text,
                  std::string("Download is not verified\r\nThe repeater holds other data than was sent in:\r\n  ") +
                      c.named);
        EXPECT_EQ(rig.prompter.messages[1].kind, MsgKind::Error);
    }
}

TEST(GuardedDownload, TheBackupOfADownloadIsFiledUnderTheSerialNumberTheRepeaterHoldsAfterIt)
{
    // The file names another repeater: the Normal and Dealer modes leave the repeater its own serial
    // number, the Manufacture mode writes the file's.
    const struct {
        OperatingMode mode;
        const char* folder;
    } cases[] = {{OperatingMode::Normal, "12345678"}, {OperatingMode::Dealer, "12345678"},
                 {OperatingMode::Manufacture, "87654321"}};
    for (const auto& c : cases) {
        GuardRig rig;
        TCEmem emem = GuardRig::Edited();
        emem.SerialNumber = "87654321";
        TMap54 map;
        ASSERT_TRUE(GuardedDownload(rig.link, rig.prompter, c.mode, emem, map, rig.guards).Succeeded());
        std::vector<std::string> folders;
        for (const BackupEntry& e : ListBackups(rig.guards.BackupRoot)) folders.push_back(e.Serial);
        EXPECT_EQ(folders, (std::vector<std::string>{c.folder, c.folder})) << static_cast<int>(c.mode);
    }
}

TEST(GuardedDownload, WithoutVerifyNothingIsReadBack)
{
    GuardRig rig;
    rig.guards.Verify = false;
    TMap54 map;
    const DownloadOutcome outcome =
        GuardedDownload(rig.link, rig.prompter, OperatingMode::Dealer, GuardRig::Edited(), map, rig.guards);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_FALSE(outcome.Verify.has_value());
    EXPECT_EQ(rig.Texts(), std::vector<std::string>{"Download is completed"});
    EXPECT_EQ(Directions(ListBackups(rig.guards.BackupRoot)), std::vector<std::string>{"download"});
}

TEST(GuardedDownload, AReadBackThatNeverAnswersGivesUpAtTheLimitWithItsOwnMessage)
{
    GuardRig rig;
    rig.timing.VerifyLimitMs = 30000;
    TMap54 map;
    // The repeater goes quiet once the write has ended: the read-back's start is never answered.
    bool ended = false;
    struct Deafening : Prompter {
        RecordingPrompter& inner;
        SimPort& port;
        bool& ended;
        Deafening(RecordingPrompter& i, SimPort& p, bool& e) : inner(i), port(p), ended(e) {}
        MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& detail) override
        {
            if (text == "Download is completed") port.deaf = ended = true;
            return inner.Show(text, kind, buttons, detail);
        }
    } prompter(rig.prompter, rig.port, ended);
    const int64_t start = rig.clock.now;
    const DownloadOutcome outcome =
        GuardedDownload(rig.link, prompter, OperatingMode::Normal, GuardRig::Edited(), map, rig.guards);
    ASSERT_TRUE(ended);
    EXPECT_EQ(outcome.Verify, VerifyResult::TimedOut);
    EXPECT_EQ(rig.Texts().back(), "Verify error: the repeater did not answer the read-back within 30 seconds");
    EXPECT_LT(rig.clock.now - start, 30000 + 2 * rig.timing.NoDataMs);
    // Nothing complete was read back, so only the download's backup exists.
    EXPECT_EQ(Directions(ListBackups(rig.guards.BackupRoot)), std::vector<std::string>{"download"});
}

TEST(GuardedVerify, TheRepeatersOwnBytesAreKeptInTheDealerModeButNotInTheManufactureMode)
{
    // The file's serial number differs from the repeater's: a Dealer download keeps the repeater's,
    // so it is no difference there; a Manufacture download would write it.
    TMap54 file;
    file.Bytes() = NewImage();
    TCEmem emem;
    static_cast<void>(file.Decode(emem));
    emem.SerialNumber = "87654321";
    file.Encode(emem);
    for (OperatingMode mode : {OperatingMode::Normal, OperatingMode::Dealer, OperatingMode::Manufacture}) {
        GuardRig rig;
        const VerifyOutcome outcome = GuardedVerify(rig.link, rig.prompter, mode, file.Bytes(), rig.guards);
        if (mode == OperatingMode::Manufacture) {
            EXPECT_EQ(outcome.Result, VerifyResult::Differs);
            EXPECT_EQ(outcome.Differences, std::vector<std::string>{"SerialNumber"});
        } else {
            EXPECT_EQ(outcome.Result, VerifyResult::Verified) << static_cast<int>(mode);
            EXPECT_EQ(rig.Texts(), std::vector<std::string>{"The repeater holds the file's data"});
        }
        EXPECT_EQ(Directions(ListBackups(rig.guards.BackupRoot)), std::vector<std::string>{"verify"});
    }
}

TEST(GuardedUpload, ABackupThatCannotBeWrittenIsReportedAndTheUploadStillSucceeds)
{
    GuardRig rig;
    qm54::test::WriteAll(rig.dir.File("file"), "x");
    rig.guards.BackupRoot = rig.dir.File("file");  // a file where the folder should be
    TMap54 map;
    TCEmem emem;
    EXPECT_EQ(GuardedUpload(rig.link, rig.prompter, map, emem, rig.guards), CloneResult::Ok);
    const CloneImage expected = NewImage();
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 1456, map.Bytes().begin()));  // the upload took
    ASSERT_EQ(rig.prompter.messages.size(), 2u);
    EXPECT_EQ(rig.prompter.messages[0].text, "Upload is completed");
    EXPECT_EQ(rig.prompter.messages[1].text.rfind("The backup could not be written\r\n", 0), 0u);
    EXPECT_EQ(rig.prompter.messages[1].kind, MsgKind::Warning);
}

TEST(GuardedUpload, ADiskThatTakesNoMoreIsReportedAndTheUploadStillSucceeds)
{
    // A file size limit below an image's size fails the backup's write as a full disk would.
    GuardRig rig;
    struct Limit {
        rlimit saved{};
        void (*previous)(int) = nullptr;
        Limit()
        {
            getrlimit(RLIMIT_FSIZE, &saved);
            previous = std::signal(SIGXFSZ, SIG_IGN);
            rlimit tight = saved;
            tight.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &tight);
        }
        ~Limit()
        {
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, previous);
        }
    };
    TMap54 map;
    TCEmem emem;
    CloneResult result;
    {
        const Limit limit;
        result = GuardedUpload(rig.link, rig.prompter, map, emem, rig.guards);
    }
    EXPECT_EQ(result, CloneResult::Ok);
    ASSERT_EQ(rig.prompter.messages.size(), 2u);
    EXPECT_EQ(rig.prompter.messages[1].text.rfind("The backup could not be written\r\n", 0), 0u);
    EXPECT_EQ(rig.prompter.messages[1].detail, "File too large");
    EXPECT_TRUE(ListBackups(rig.guards.BackupRoot).empty());  // no half-written backup is left either
    for (const auto& entry : std::filesystem::recursive_directory_iterator(rig.guards.BackupRoot))
        EXPECT_FALSE(entry.is_regular_file()) << entry.path();
}

TEST(GuardedUpload, TheTraceOfACleanExchangeAndOfATimeout)
{
    {
        GuardRig rig;
        rig.guards.TraceFile = rig.dir.File("one.txt");
        TMap54 map;
        TCEmem emem;
        ASSERT_EQ(GuardedUpload(rig.link, rig.prompter, map, emem, rig.guards), CloneResult::Ok);
        const std::string trace = qm54::test::ReadAll(rig.guards.TraceFile);
        EXPECT_EQ(trace.rfind("# upload sim ", 0), 0u) << trace;
        EXPECT_NE(trace.find(" tx 02\n"), std::string::npos);
        EXPECT_NE(trace.find(" rx 02 02 01\n"), std::string::npos);  // the echo, then the start answer
        EXPECT_NE(trace.find(" tx 12 00 02 00 14\n"), std::string::npos);  // area 1 request as one frame
        EXPECT_EQ(trace.find("--"), std::string::npos);
        const std::string last = " == result: Ok\n";
        EXPECT_EQ(trace.compare(trace.size() - last.size(), last.size(), last), 0) << trace;
        EXPECT_EQ(qm54::test::ReadAll(NewestTrace(rig.guards.TraceRoot)), trace);
    }
    {
        GuardRig rig;
        std::string error;
        rig.port.sim.AddFault(*ParseSimFault("silence@4:7", error));
        rig.guards.TraceFile = rig.dir.File("two.txt");
        qm54test::PtyPair pty;  // a real device to diagnose when nothing answers
        rig.guards.PortName = pty.slavePath;
        TMap54 map;
        TCEmem emem;
        EXPECT_EQ(GuardedUpload(rig.link, rig.prompter, map, emem, rig.guards), CloneResult::Timeout);
        const std::string trace = qm54::test::ReadAll(rig.guards.TraceFile);
        const size_t mark = trace.find(" -- timeout\n");
        ASSERT_NE(mark, std::string::npos) << trace;
        EXPECT_LT(mark, trace.find("== result: Timeout\n"));
        EXPECT_TRUE(ListBackups(rig.guards.BackupRoot).empty());  // nothing complete was read
        // "Timeout" says what the system shows about the port.
        ASSERT_EQ(rig.prompter.messages.size(), 1u);
        EXPECT_EQ(rig.prompter.messages[0].text, "Timeout");
        const std::string& detail = rig.prompter.messages[0].detail;
        EXPECT_TRUE(detail.find("Nothing on this computer holds the port") != std::string::npos ||
                    detail.find(" is running; ") != std::string::npos)
            << detail;
    }
}

}  // namespace
