// The tool's verified downloads, backups, traces and port checks against the simulator over a real
// pseudo-terminal.
#include "process.h"
#include "sim_process.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using namespace qm54e2e;

using qm54test::ToolRun;

ToolRun Tool(const std::vector<std::string>& args) { return qm54test::RunTool(args, true); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Backups and traces of this test in its own folder.
class Safeguards : public testing::Test {
protected:
    TempFolder dir;
    std::string file = dir.File("new.q54");

    void SetUp() override
    {
        setenv("XDG_DATA_HOME", (dir.File("data")).c_str(), 1);
        setenv("XDG_STATE_HOME", (dir.File("state")).c_str(), 1);
        ASSERT_EQ(Tool({"new", file}).status, 0);
    }
    std::vector<std::string> BackupLines()
    {
        std::vector<std::string> lines;
        std::istringstream in(Tool({"backups"}).out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

TEST_F(Safeguards, VerifiedDownloadInEachModeKeepsWhatWasSentAndWhatWasReadBack)
{
    for (const char* mode : {"normal", "dealer"}) {
        qm54test::SimProcess sim({});
        const ToolRun r = Tool({"download", file, "--port", sim.Path(), "--mode", mode, "--verify"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(Contains(r.err, "Download is completed\nDownload is verified\n")) << r.err;
    }
    const std::vector<std::string> lines = BackupLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 11), "12345678   ");
    EXPECT_TRUE(Contains(lines[0], "  verify   VHF ")) << lines[0];
    EXPECT_TRUE(Contains(lines[1], "  download VHF ")) << lines[1];
    EXPECT_EQ(Tool({"backups", "--serial", "00000001"}).out, "");
}

TEST_F(Safeguards, ARepeaterThatKeepsAWrongByteFailsTheVerifyWithExitOne)
{
    qm54test::SimProcess sim({"--fault", "keep@3:4"});
    const ToolRun r = Tool({"download", file, "--port", sim.Path(), "--verify", "--trace", dir.File("t.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "Download is not verified\nThe repeater holds other data than was sent in:\n"
                                "  Channel 5 NsqLevel\n"))
        << r.err;
    // --trace holds both exchanges: the download's trace, then the read-back's.
    const std::string trace = ReadText(dir.File("t.txt"));
    EXPECT_EQ(trace.rfind("# download ", 0), 0u) << trace;
    const size_t verify = trace.find("\n# verify ");
    ASSERT_NE(verify, std::string::npos) << trace;
    EXPECT_LT(trace.find("== result: Ok\n"), verify);
    EXPECT_TRUE(Contains(trace.substr(verify), "== result: differs\n"));
    // Without writing, verify finds the same; a download without --verify exits 0 as before.
    const ToolRun v = Tool({"verify", file, "--port", sim.Path()});
    EXPECT_EQ(v.status, 1);
    EXPECT_TRUE(Contains(v.err, "  Channel 5 NsqLevel\n")) << v.err;
    EXPECT_EQ(Tool({"download", file, "--port", sim.Path()}).status, 0);
}

TEST_F(Safeguards, EachUploadLeavesABackupAndATraceAndAnUnwritableBackupFolderStopsNothing)
{
    qm54test::SimProcess sim({});
    EXPECT_EQ(Tool({"upload", "--port", sim.Path(), "-o", dir.File("a.q54")}).status, 0);
    ASSERT_EQ(BackupLines().size(), 1u);
    EXPECT_TRUE(Contains(BackupLines()[0], "  upload   VHF "));
    const auto traces = std::distance(std::filesystem::directory_iterator(dir.File("state/qm54win/traces")),
                                      std::filesystem::directory_iterator());
    EXPECT_EQ(traces, 1);

    // The backup folder is a file: the upload is reported, completed and written all the same.
    std::filesystem::remove_all(dir.File("data"));
    std::ofstream(dir.File("data")) << "x";
    const ToolRun r = Tool({"upload", "--port", sim.Path(), "-o", dir.File("b.q54")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, "Upload is completed\nThe backup could not be written\n")) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("b.q54")));
}

TEST_F(Safeguards, PortsCheckExplainsAMissingDeviceAndAPortInUse)
{
    const ToolRun missing = Tool({"ports", "--check", dir.File("ttyNONE")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.out, "  " + (dir.File("ttyNONE")) + " does not exist.\n")) << missing.out;

    qm54test::SimProcess sim({});
    const ToolRun free = Tool({"ports", "--check", sim.Path()});
    EXPECT_TRUE(Contains(free.out, "\n  The port opens.\n") || Contains(free.out, "is running")) << free.out;

    // While an upload holds the port (at the real line rate, a few seconds), a second exchange is
    // refused and told who holds it.
    const std::string log = dir.File("paced.log");
    qm54test::SimProcess paced({"--baud", "9600", "--log", log});
    Child holder({QM54_TOOL, "upload", "--port", paced.Path(), "-o", dir.File("held.q54")}, false);
    ASSERT_TRUE(holder.Started());
    // The tool sends only once it has the port open and locked: the first byte the simulator
    // receives says the port is held.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Contains(ReadText(log), "rx ") && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(Contains(ReadText(log), "rx ")) << "the first upload sent nothing";
    const ToolRun second = Tool({"upload", "--port", paced.Path(), "-o", dir.File("second.q54")});
    holder.Wait(60000);
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(Contains(second.err, "Problem on COM port\n  Device or resource busy\n  ")) << second.err;
    EXPECT_TRUE(Contains(second.err, " is held by process ")) << second.err;
}

}  // namespace
