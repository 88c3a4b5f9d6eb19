// The qm54 verbs that work on data files, run as the built tool: new, show, hexdump, the help
// texts and the exit status of every kind of failure.
#include "temp_folder.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using qm54test::RunTool;
using qm54test::ToolRun;

class ToolFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.Path().empty()); }
    std::string File(const std::string& name) const { return folder_.File(name); }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& path, const std::string& data)
    {
        std::ofstream(path, std::ios::binary) << data;
    }

    qm54::test::TempFolder folder_{"qm54-tool"};
};

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The whole text of show for the "New" image of each band, as recorded in the fixtures: every key,
// its order and the form of every value.
TEST_F(ToolFilesTest, ShowPrintsTheRecordedTextOfTheNewImageOfEachBand)
{
    for (const std::string band : {"vhf", "uhf"}) {
        const std::string file = File(band + ".q54");
        ASSERT_EQ(RunTool({"new", "--band", band, file}).status, 0);
        const ToolRun shown = RunTool({"show", file});
        ASSERT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(shown.out, Read(std::string(QM54_FIXTURES) + "/show_new_" + band + ".json")) << band;
    }
}

TEST_F(ToolFilesTest, NewThenShowGivesTheDefaultProgramming)
{
    const std::string file = File("a.q54");
    const ToolRun made = RunTool({"new", file});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "");
    EXPECT_EQ(Read(file).size(), 1986u);

    const ToolRun shown = RunTool({"show", file});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const std::string& json = shown.out;
    EXPECT_EQ(Count(json, "\"InUse\": 1,"), 1u);
    EXPECT_EQ(Count(json, "\"InUse\": 0,"), 15u);
    EXPECT_LT(json.find("\"InUse\": 1,"), json.find("\"InUse\": 0,"));  // channel 1 is the one in use
    EXPECT_EQ(Count(json, "\"RxFreq\": {\n        \"MHz\": \"161.00000\",\n        \"kHz\": 161000\n"), 16u);
    EXPECT_EQ(Count(json, "\"TxFreq\": {\n        \"MHz\": \"166.00000\",\n        \"kHz\": 166000\n"), 16u);
    EXPECT_EQ(Count(json, "\"NsqLevel\": 48,"), 16u);
    EXPECT_NE(json.find("\"SerialNumber\": \"12345678\","), std::string::npos);
    EXPECT_NE(json.find("\"FiveToneTable\": [2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, "
                        "2200, 2800, 810, 970, 885, 2600, 680],"),
              std::string::npos);
    EXPECT_NE(json.find("\"FiveToneSet\": \"ZVEI1\","), std::string::npos);
    EXPECT_NE(json.find("\"RxAdjustFreq\": [150, 160, 170, 174],"), std::string::npos);
    EXPECT_NE(json.find("\"StoredFileName\": \"a       \","), std::string::npos);
    EXPECT_NE(json.find("\"FirmwareVersion\": \"0.00\","), std::string::npos);
    EXPECT_EQ(Count(json, "\"Match\": true"), 2u);
    EXPECT_EQ(json.find("\"Match\": false"), std::string::npos);
    // Keys come in the declaration order of the settings object.
    EXPECT_EQ(json.rfind("{\n  \"ModelName\": \"KTD-4150\",\n  \"SerialNumber\"", 0), 0u);
    EXPECT_LT(json.find("\"Channels\""), json.find("\"AlphaTagCode\""));
    EXPECT_LT(json.find("\"AlphaTagText\""), json.find("\"ChecksumA\""));
}

TEST_F(ToolFilesTest, NewForUhfAndShowOfAFileWithBrokenChecksums)
{
    const std::string file = File("u.q54");
    ASSERT_EQ(RunTool({"new", file, "--band", "uhf"}).status, 0);
    std::string image = Read(file);
    image[0x100] = static_cast<char>(image[0x100] ^ 0x01);  // a channel byte: only ChecksumB covers it
    Write(file, image);

    const ToolRun shown = RunTool({"show", file});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(Count(shown.out, "\"MHz\": \"450.00000\""), 16u);
    EXPECT_EQ(Count(shown.out, "\"MHz\": \"455.00000\""), 16u);
    EXPECT_EQ(Count(shown.out, "\"NsqLevel\": 60,"), 16u);
    EXPECT_NE(shown.out.find("\"Band\": 1,"), std::string::npos);
    EXPECT_NE(shown.out.find("\"IntermediateFreq\": 7335,"), std::string::npos);
    EXPECT_NE(shown.out.find("\"RxAdjustFreq\": [450, 460, 470, 480],"), std::string::npos);
    EXPECT_EQ(Count(shown.out, "\"Match\": true"), 1u);
    EXPECT_EQ(Count(shown.out, "\"Match\": false"), 1u);
}

TEST_F(ToolFilesTest, HexdumpShowsEveryByteOfTheFileInDataViewRows)
{
    const std::string file = File("h.q54");
    ASSERT_EQ(RunTool({"new", file}).status, 0);
    const ToolRun dump = RunTool({"hexdump", file});
    ASSERT_EQ(dump.status, 0) << dump.err;

    std::istringstream lines(dump.out);
    std::string header;
    std::getline(lines, header);
    EXPECT_EQ(header, "       00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f");
    std::string bytes;
    std::string line;
    size_t rows = 0;
    std::string last;
    while (std::getline(lines, line)) {
        char address[16];
        std::snprintf(address, sizeof address, "%.4zx0h", rows);
        ASSERT_EQ(line.substr(0, 6), address);
        for (size_t at = 6; at + 3 <= line.size(); at += 3) {
            ASSERT_EQ(line[at], ' ');
            bytes += static_cast<char>(std::stoi(line.substr(at + 1, 2), nullptr, 16));
        }
        last = line;
        ++rows;
    }
    EXPECT_EQ(rows, 125u);  // 124 full rows and one of two bytes
    EXPECT_EQ(last, "007c0h 00 5a");
    EXPECT_EQ(bytes, Read(file));
    EXPECT_EQ(dump.out.find_first_of("ABCDEF"), std::string::npos);
}

TEST_F(ToolFilesTest, FailuresAndUsageErrorsGiveTheirExitStatusAndMessage)
{
    const std::string shortFile = File("short.q54");
    Write(shortFile, std::string(1985, '\0'));
    const std::string missing = File("missing.q54");
    const std::string noFolder = File("no/such/x.q54");
    const std::string folder = folder_.Path().string();

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // the start of stderr
    };
    const Case cases[] = {
        {{"show", missing}, 1, "File read error  File Name = " + missing + "\n  No such file or directory\n"},
        {{"hexdump", folder}, 1, "File read error  File Name = " + folder + "\n  Is a directory\n"},
        {{"show", shortFile}, 1, "The file cannot be opened.\nThe file format is not correct.\n"},
        {{"hexdump", shortFile}, 1, "The file cannot be opened.\nThe file format is not correct.\n"},
        {{"new", noFolder}, 1, "File write error  File Name = " + noFolder + "\n  No such file or directory\n"},
        {{"new", folder}, 1, "File write error  File Name = " + folder + "\n  Is a directory\n"},
        {{}, 2, "usage: qm54 VERB"},
        {{"frobnicate"}, 2, "qm54: unknown verb \"frobnicate\""},
        {{"new"}, 2, "qm54 new: give exactly one FILE"},
        {{"show", "a", "b"}, 2, "qm54 show: give exactly one FILE"},
        {{"new", File("x.q54"), "--band", "lf"}, 2, "qm54 new: --band is vhf or uhf, not \"lf\""},
        {{"new", File("x.q54"), "--band"}, 2, "qm54 new: --band needs a value"},
        {{"hexdump", "--wide", File("x.q54")}, 2, "qm54 hexdump: unknown option --wide"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.args);
        const std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << what;
        EXPECT_EQ(run.out, "") << what;
    }
    EXPECT_FALSE(std::filesystem::exists(File("x.q54")));
}

TEST_F(ToolFilesTest, HelpListsTheVerbsAndDescribesEach)
{
    const ToolRun overview = RunTool({"--help"});
    EXPECT_EQ(overview.status, 0);
    for (const char* verb : {"new", "show", "hexdump"})
        EXPECT_NE(overview.out.find(std::string("  ") + verb + " "), std::string::npos) << verb;

    const ToolRun help = RunTool({"new", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: qm54 new FILE [--band vhf|uhf]\n", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists("--help"));
}

}  // namespace
