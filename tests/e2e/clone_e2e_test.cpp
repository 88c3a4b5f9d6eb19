// The tool against the simulator over a real pseudo-terminal and the real termios driver:
// upload, download in each mode, and the fault matrix of both directions.
#include "process.h"
#include "sim_process.h"
#include "tool_process.h"

#include "model/image/emem.h"
#include "model/image/map54.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>

namespace {

using namespace qm54e2e;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& text, const std::string& line)
{
    const auto lines = Lines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The bytes the computer sent, in order, from the simulator's transcript.
std::vector<uint8_t> SentBytes(const std::string& logPath)
{
    std::vector<uint8_t> bytes;
    for (const std::string& line : Lines(ReadText(logPath))) {
        if (line.rfind("rx ", 0) != 0) continue;
        std::istringstream in(line.substr(3));
        for (std::string hex; in >> hex;) bytes.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
    }
    return bytes;
}

using Sim = qm54test::SimProcess;
using qm54test::ToolRun;

// The image as the tool sends a data file: decoded into settings and encoded again.
std::string Reencoded(const std::string& file)
{
    qm54::TMap54 map;
    std::copy_n(file.begin(), std::min(file.size(), map.Bytes().size()), map.Bytes().begin());
    qm54::TCEmem emem;
    map.Decode(emem);
    map.Encode(emem);
    return std::string(map.Bytes().begin(), map.Bytes().end());
}

ToolRun Tool(const std::vector<std::string>& args, bool fastWaits = true) { return qm54test::RunTool(args, fastWaits); }

class CloneEndToEnd : public testing::Test {
protected:
    TempFolder dir;
    std::string log = dir.File("sim.log");
    std::string saved = dir.File("saved.q54");

    // A data file uploaded from a simulator holding the defaults of a band.
    std::string UploadedFile(const std::string& band = "vhf")
    {
        const std::string path = dir.File("uploaded-" + band + ".q54");
        Sim sim({"--band", band});
        const ToolRun r = Tool({"upload", "--port", sim.Path(), "-o", path});
        EXPECT_EQ(r.status, 0) << r.err;
        return path;
    }
};

TEST_F(CloneEndToEnd, UploadWithTheRealWaitsWritesTheRepeatersImage)
{
    const std::string image = dir.File("image.q54");
    {
        Sim sim({"--band", "uhf", "--log", log});
        ASSERT_FALSE(sim.Path().empty());
        const ToolRun r = Tool({"upload", "--port", sim.Path(), "-o", image}, false);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(HasLine(r.err, "Upload is completed")) << r.err;
    }
    EXPECT_EQ(fs::file_size(image), 1986u);
    const auto line = SentBytes(log);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), 0x28);

    // The same image downloaded back into a simulator that started from it comes out unchanged.
    Sim sim({"--image", image, "--save", saved});
    const ToolRun r = Tool({"download", image, "--port", sim.Path(), "--mode", "manufacture", "--factory-code",
                        "tidewater-71", "--date", "20100101"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(HasLine(r.err, "Download is completed")) << r.err;
    const std::string sent = Reencoded(ReadText(image)), after = ReadText(saved);
    ASSERT_EQ(after.size(), 1986u);
    EXPECT_EQ(after.substr(0, 207), sent.substr(0, 207));
    EXPECT_EQ(after.substr(208, 1456 - 208), sent.substr(208, 1456 - 208));
}

// An upload whose file cannot be written says so and where the backup of what was read is.
TEST_F(CloneEndToEnd, AnUploadThatCannotBeWrittenNamesTheBackup)
{
    const std::string nowhere = dir.File("no-such-folder/site.q54");
    Sim sim({});
    const ToolRun r = Tool({"upload", "--port", sim.Path(), "-o", nowhere});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(nowhere));
    const std::string told = "qm54 upload: " + nowhere + " was not written; what was read is kept in the backup ";
    const size_t at = r.err.find(told);
    ASSERT_NE(at, std::string::npos) << r.err;
    const std::string backup = r.err.substr(at + told.size(), r.err.find('\n', at) - at - told.size());
    EXPECT_EQ(fs::file_size(backup), 1986u) << backup;
}

// A data file that differs from the one given in every area the write sends, the repeater's own
// area 1 bytes included.
std::string EditedImage(const std::string& file)
{
    qm54::TMap54 map;
    std::copy_n(file.begin(), std::min(file.size(), map.Bytes().size()), map.Bytes().begin());
    qm54::TCEmem emem;
    map.Decode(emem);
    emem.NsqThreshold = (emem.NsqThreshold + 1) % 256;          // area 1
    emem.MarketCode = emem.MarketCode == qm54::MarketUsa ? 0 : qm54::MarketUsa;  // area 1 byte 22
    emem.SerialNumber = "5B010042";                              // area 1 bytes 72 to 79
    emem.BaseTot = (emem.BaseTot + 3) % 256;                     // area 2
    emem.Channels.Items(5).NsqLevel = (emem.Channels.Items(5).NsqLevel + 9) % 256;  // area 3
    emem.SetAlphaTagCode(47, 1234);                              // area 4
    emem.SetAlphaTagText(47, "LASTTAG");
    map.Encode(emem);
    return std::string(map.Bytes().begin(), map.Bytes().end());
}

struct ModeCase {
    const char* mode;
    bool full;          // areas 1, 2, 4 and 5 written
    bool keepsOwnBytes; // area 1 bytes 22, 23 and 72 to 79 stay the repeater's
};

class CloneDownloadMode : public CloneEndToEnd, public testing::WithParamInterface<ModeCase> {};

TEST_P(CloneDownloadMode, TheRepeaterHoldsTheAreasOfTheMode)
{
    const ModeCase& c = GetParam();
    const std::string original = UploadedFile();
    const std::string repeaterBefore = ReadText(original);
    const std::string edited = dir.File("edited.q54");
    WriteText(edited, EditedImage(repeaterBefore));
    const std::string sent = Reencoded(ReadText(edited));
    {
        Sim sim({"--image", original, "--save", saved});
        const ToolRun r = Tool({"download", edited, "--port", sim.Path(), "--mode", c.mode, "--factory-code",
                                "tidewater-71", "--date", "20100101"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const std::string after = ReadText(saved);
    ASSERT_EQ(after.size(), 1986u);
    auto expect = [&](size_t from, size_t to, const std::string& source, const char* what) {
        EXPECT_EQ(after.substr(from, to - from + 1), source.substr(from, to - from + 1)) << what << " " << from;
        EXPECT_NE(repeaterBefore.substr(from, to - from + 1), sent.substr(from, to - from + 1))
            << "the edit must show in " << what;
    };
    const std::string& full = c.full ? sent : repeaterBefore;
    expect(0, 21, full, "area 1");
    expect(22, 22, c.keepsOwnBytes ? repeaterBefore : full, "area 1 market byte");
    expect(72, 79, c.keepsOwnBytes ? repeaterBefore : full, "area 1 serial number");
    expect(80, 206, full, "area 2");
    expect(208, 975, sent, "area 3");
    expect(976, 1455, full, "area 4");
    if (c.full) {
        unsigned sum = 0;
        for (size_t i = 80; i <= 206; ++i) sum += static_cast<uint8_t>(sent[i]);
        EXPECT_EQ(static_cast<uint8_t>(after[207]), sum % 256) << "area 2 ends with its computed sum";
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, CloneDownloadMode,
                         testing::Values(ModeCase{"normal", false, false}, ModeCase{"dealer", true, true},
                                         ModeCase{"manufacture", true, false}),
                         [](const auto& info) { return std::string(info.param.mode); });

TEST_F(CloneEndToEnd, NarrowbandCheckOfTheDateRunsBeforeTheDownload)
{
    const std::string original = UploadedFile();
    qm54::TMap54 map;
    const std::string bytes = ReadText(original);
    std::copy_n(bytes.begin(), map.Bytes().size(), map.Bytes().begin());
    qm54::TCEmem emem;
    map.Decode(emem);
    emem.MarketCode = qm54::MarketUsa;
    qm54::TChannel& wide = emem.Channels.Items(0);
    wide.Wide = 1;
    wide.RxFreq = qm54::TDecimal(1, 160, 0, 0);
    wide.TxFreq = qm54::TDecimal(1, 160, 0, 0);
    map.Encode(emem);
    const std::string file = dir.File("wide.q54");
    WriteText(file, std::string(map.Bytes().begin(), map.Bytes().end()));

    // Enforced, answered No: nothing is sent and the file stays as it was.
    {
        Sim sim({"--image", original, "--log", log});
        const ToolRun r = Tool({"download", file, "--port", sim.Path(), "--date", "20130101"});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(HasLine(r.err, "FCC Rule Caution!")) << r.err;
        EXPECT_TRUE(HasLine(r.err, "So, the Wide bandwidth CHs in your data was changed to Narrow bandwidth automatically."));
        EXPECT_TRUE(SentBytes(log).empty());
    }
    EXPECT_EQ(ReadText(file), std::string(map.Bytes().begin(), map.Bytes().end()));

    // Caution, answered Yes: the channel goes narrow into the repeater.
    Sim sim({"--image", original, "--save", saved});
    const ToolRun r = Tool({"download", file, "--port", sim.Path(), "--date", "20120601", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(HasLine(r.err, "No : It will start downloading (w/o changing the bandwidth)")) << r.err;
    qm54::TMap54 inRepeater;
    const std::string after = ReadText(saved);
    ASSERT_EQ(after.size(), 1986u);
    std::copy_n(after.begin(), inRepeater.Bytes().size(), inRepeater.Bytes().begin());
    qm54::TCEmem written;
    inRepeater.Decode(written);
    EXPECT_EQ(written.Channels.Items(0).Wide, 0);
    EXPECT_EQ(written.Channels.Items(0).RxFreq.ScaledTrunc(3), 160000);
}

TEST_F(CloneEndToEnd, DownloadsThatAreRefusedSendNoBlock)
{
    const std::string vhf = UploadedFile("vhf");
    const struct {
        const char* name;
        std::vector<std::string> options;
        const char* line;  // a line of the message on stderr
        int status;
    } cases[] = {
        {"WrongFactoryCode", {"--mode", "manufacture", "--factory-code", "tidewater-72"},
         "qm54 download: the factory code is not right; nothing was sent", 1},
        {"BandDealer", {"--mode", "dealer"}, "Frequency band is differrent", 1},
        {"BandManufactureNo", {"--mode", "manufacture", "--factory-code", " TIDEWATER-71 "},
         "Change the frequency band?", 1},
        {"BandManufactureYes", {"--mode", "manufacture", "--factory-code", "tidewater-71", "--yes"},
         "Download is completed", 0},
    };
    for (const auto& c : cases) {
        std::error_code ec;
        fs::remove(saved, ec);
        Sim sim({"--band", "uhf", "--save", saved});
        std::vector<std::string> args{"download", vhf, "--port", sim.Path(), "--date", "20100101"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolRun r = Tool(args);
        EXPECT_EQ(r.status, c.status) << c.name << r.err;
        EXPECT_TRUE(HasLine(r.err, c.line)) << c.name << r.err;
        EXPECT_EQ(fs::exists(saved), c.status == 0) << c.name;
    }
}

struct FaultCase {
    const char* name;
    const char* verb;  // "upload" or "download" (Dealer mode)
    const char* fault;
    const char* message;
    int nak;  // 1 the last byte sent is a NAK, 0 it is not, -1 not checked: under a flood the
              // NAK may still sit in the line when the closing port discards it
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kFaults[] = {
    {"ReadChecksumFirst", "upload", "checksum@1:0", "Checksum error", true},
    {"ReadChecksumMiddle", "upload", "checksum@3:7", "Checksum error", true},
    {"ReadChecksumLast", "upload", "checksum@4:48", "Checksum error", true},
    {"ReadHeaderFirst", "upload", "header@1:0", "Upload error", true},
    {"ReadHeaderMiddle", "upload", "header@3:7", "Upload error", true},
    {"ReadHeaderLast", "upload", "header@4:48", "Upload error", true},
    {"ReadBlockFirst", "upload", "block@1:0", "Upload error", true},
    {"ReadBlockMiddle", "upload", "block@3:7", "Upload error", true},
    {"ReadBlockLast", "upload", "block@4:48", "Upload error", true},
    {"ReadSilenceFirst", "upload", "silence@1:0", "Timeout", false},
    {"ReadSilenceMiddle", "upload", "silence@3:7", "Timeout", false},
    {"ReadSilenceLast", "upload", "silence@4:48", "Timeout", false},
    {"ReadGarbageMiddle", "upload", "garbage@3:7", "Checksum error", true},
    {"ReadLength0", "upload", "len0@2:0", "Checksum error", true},
    {"ReadLength255", "upload", "len255@3:15", "Checksum error", true},
    {"ReadStartAnswer", "upload", "start", "Upload error", true},
    {"ReadHangUpMiddle", "upload", "hangup@3:7", "Upload error", false},
    {"ReadFloodMiddle", "upload", "flood@3:7", "Checksum error", -1},
    {"ReadFloodFromStart", "upload", "flood", "Upload error", -1},
    {"WriteAckFirst", "download", "ack@1:0", "Download error", false},
    {"WriteAckMiddle", "download", "ack@3:7", "Download error", false},
    {"WriteAckLast", "download", "ack@4:48", "Download error", false},
    {"WriteAckArea5", "download", "ack@5:9", "Download error", false},
    {"WriteSilenceFirst", "download", "silence@1:0", "Timeout", false},
    {"WriteSilenceMiddle", "download", "silence@3:7", "Timeout", false},
    {"WriteSilenceLast", "download", "silence@4:48", "Timeout", false},
    {"WriteStartAnswer", "download", "start", "Download error", true},
    {"WriteHangUpLast", "download", "hangup@4:48", "Download error", false},
};

class CloneFault : public CloneEndToEnd, public testing::WithParamInterface<FaultCase> {};

TEST_P(CloneFault, EndsWithItsMessageAndNoEndOfClone)
{
    const FaultCase& c = GetParam();
    const bool upload = std::string(c.verb) == "upload";
    const std::string local = upload ? dir.File("out.q54") : UploadedFile();
    if (upload) WriteText(local, "old contents");
    const std::string localBefore = ReadText(local);

    ToolRun r;
    {
        Sim sim({"--fault", c.fault, "--log", log, "--save", saved});
        ASSERT_FALSE(sim.Path().empty());
        r = upload ? Tool({"upload", "--port", sim.Path(), "-o", local})
                   : Tool({"download", local, "--port", sim.Path(), "--mode", "dealer", "--date", "20100101"});
    }
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(HasLine(r.err, c.message)) << r.err;
    EXPECT_EQ(ReadText(local), localBefore) << "the local file is left alone";
    EXPECT_FALSE(fs::exists(saved)) << "the simulator saw no completed write";
    const auto sent = SentBytes(log);
    ASSERT_FALSE(sent.empty());
    EXPECT_NE(sent.back(), 0x28) << "no end of clone";
    if (c.nak >= 0) {
        EXPECT_EQ(sent.back() == 0x15, c.nak == 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Matrix, CloneFault, testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CloneEndToEnd, InterruptCancelsQuietlyAndWritesNothing)
{
    const std::string out = dir.File("out.q54");
    Sim sim({"--fault", "silence@3:7", "--log", log});
    Child tool({QM54_TOOL, "upload", "--port", sim.Path(), "-o", out}, false);
    // Wait until the tool is inside the silent wait (the request for block 7 of area 3 was sent).
    const std::vector<uint8_t> request{0x42, 0x00, 0x02, 0x07};
    auto requested = [&] {
        const auto sent = SentBytes(log);
        return std::search(sent.begin(), sent.end(), request.begin(), request.end()) != sent.end();
    };
    for (int i = 0; i < 1000 && !requested(); ++i) usleep(10000);
    ASSERT_TRUE(requested());
    tool.Signal(SIGINT);
    // Without the cancel the tool would end after the 5000 ms no-data limit with "Timeout".
    EXPECT_EQ(tool.Wait(20000), 1);
    EXPECT_FALSE(HasLine(tool.Err(), "Timeout")) << tool.Err();
    EXPECT_FALSE(fs::exists(out));
    const auto sent = SentBytes(log);
    EXPECT_NE(sent.back(), 0x28);
}

TEST_F(CloneEndToEnd, PortThatDoesNotOpenGivesTheMessageAndTheReason)
{
    const struct {
        std::string port;
        std::string reason;
    } cases[] = {
        {dir.File("no-such-port"), "  No such file or directory"},
        {"/dev/null", "  Inappropriate ioctl for device"},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool({"upload", "--port", c.port, "-o", dir.File("out.q54")});
        EXPECT_EQ(r.status, 1);
        const auto lines = Lines(r.err);
        const auto at = std::find(lines.begin(), lines.end(), "Problem on COM port");
        ASSERT_NE(at, lines.end()) << r.err;
        ASSERT_NE(at + 1, lines.end());
        EXPECT_EQ(*(at + 1), c.reason);
        EXPECT_FALSE(fs::exists(dir.File("out.q54")));
    }
}

}  // namespace
