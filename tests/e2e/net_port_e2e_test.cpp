// The tool over network ports through a real ser2net in front of the simulator's pseudo-terminal:
// upload, download and verify give what the pseudo-terminal gives, byte for byte; a server that
// goes away, or is not there, ends the exchange at once with the reason; a slow path up to the
// documented delay still works.
#include "process.h"
#include "ser2net_process.h"
#include "sim_process.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>

namespace {

using namespace qm54e2e;
using qm54test::RunTool;
using qm54test::Ser2netProcess;
using qm54test::ToolRun;
using Sim = qm54test::SimProcess;
using SteadyClock = std::chrono::steady_clock;

int64_t MsSince(SteadyClock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
}

class NetPortEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        if (qm54test::Ser2netProgram().empty()) GTEST_SKIP() << "ser2net is not installed (scripts/install-deps)";
    }

    // Uploads into folder/x.q54 (the same file name each time: it is stored in the image).
    std::string Upload(const std::string& port, const std::string& folder, bool fastWaits = true)
    {
        fs::create_directories(dir.Path() / folder);
        const std::string out = dir.File(folder + "/x.q54");
        const ToolRun r = RunTool({"upload", "--port", port, "-o", out}, fastWaits);
        EXPECT_EQ(r.status, 0) << port << ": " << r.err;
        return ReadText(out);
    }

    TempFolder dir;
};

// The scheme of the accepter, and whether the download is verified (rfc2217 only: one verify
// through the server is enough).
class NetPortScheme : public NetPortEndToEnd, public testing::WithParamInterface<const char*> {
protected:
    bool Telnet() const { return std::string(GetParam()) == "rfc2217"; }
};

TEST_P(NetPortScheme, UploadAndDownloadsGiveWhatThePseudoTerminalGives)
{
    std::string direct;
    {
        Sim sim({"--band", "vhf"});
        direct = Upload(sim.Path(), "direct");
    }
    ASSERT_EQ(direct.size(), 1986u);
    ASSERT_GT(std::count(direct.begin(), direct.end(), '\xFF'), 50) << "the image must hold many bytes 255";
    {
        Sim sim({"--band", "vhf"});
        Ser2netProcess server(dir, sim.Path(), Telnet());
        ASSERT_TRUE(server.Ready());
        EXPECT_EQ(Upload(server.Url(), "net"), direct);
    }
    // The uploaded file written back in each mode: the simulator's saved image after the network
    // download is the one after the same download over the pseudo-terminal.
    const std::string file = dir.File("direct/x.q54");
    for (const char* mode : {"normal", "dealer"}) {
        const bool verify = std::string(mode) == "dealer" && Telnet();
        std::string saved[2];
        for (int overNetwork = 0; overNetwork < 2; ++overNetwork) {
            const std::string save = dir.File("saved" + std::to_string(overNetwork) + ".q54");
            Sim sim({"--band", "vhf", "--save", save});
            std::unique_ptr<Ser2netProcess> server;
            std::string port = sim.Path();
            if (overNetwork) {
                server = std::make_unique<Ser2netProcess>(dir, sim.Path(), Telnet());
                ASSERT_TRUE(server->Ready());
                port = server->Url();
            }
            std::vector<std::string> args{"download", file, "--port", port, "--mode", mode, "--yes",
                                          "--date", "20100101"};
            if (verify) args.push_back("--verify");
            const ToolRun r = RunTool(args, true);
            EXPECT_EQ(r.status, 0) << mode << " " << port << ": " << r.err;
            if (verify) {
                EXPECT_NE(r.err.find("Download is verified"), std::string::npos) << r.err;
            }
            saved[overNetwork] = ReadText(save);
        }
        EXPECT_EQ(saved[0].size(), 1986u) << mode;
        EXPECT_EQ(saved[1], saved[0]) << mode;
    }
}

INSTANTIATE_TEST_SUITE_P(Schemes, NetPortScheme, testing::Values("rfc2217", "tcp"));

// An alignment session over rfc2217:// prints what the same session prints over the pseudo-terminal.
TEST_F(NetPortEndToEnd, TheAlignmentModeWorksOverTheNetworkPort)
{
    const std::string file = dir.File("bench.q54");
    ASSERT_EQ(RunTool({"new", file}, true).status, 0);
    std::string printed[2];
    for (int overNetwork = 0; overNetwork < 2; ++overNetwork) {
        Sim sim({"--status", "0A,7F,00"});
        std::unique_ptr<Ser2netProcess> server;
        std::string port = sim.Path();
        if (overNetwork) {
            server = std::make_unique<Ser2netProcess>(dir, sim.Path());
            ASSERT_TRUE(server->Ready());
            port = server->Url();
        }
        const ToolRun r = RunTool({"align", file, "--point", "low", "--port", port, "--mode", "manufacture",
                                   "--factory-code", "tidewater-71", "rx-on", "status", "rx-off"},
                                  true);
        EXPECT_EQ(r.status, 0) << port << ": " << r.err;
        printed[overNetwork] = r.out;
    }
    EXPECT_NE(printed[0].find("VR 0A NSQ 7F RSSI 00"), std::string::npos) << printed[0];
    EXPECT_EQ(printed[1], printed[0]);
}

// The server killed in the middle: the tool ends within a second or two with the reason, and an
// upload writes nothing.
TEST_F(NetPortEndToEnd, AServerKilledMidExchangeEndsItAtOnceWithTheReason)
{
    const std::string file = dir.File("direct/x.q54");
    {
        Sim sim({"--band", "vhf"});
        Upload(sim.Path(), "direct");
    }
    for (const bool upload : {true, false}) {
        const std::string log = dir.File("sim.log");
        fs::remove(log);
        Sim sim({"--band", "vhf", "--baud", "9600", "--log", log});
        Ser2netProcess server(dir, sim.Path());
        ASSERT_TRUE(server.Ready());
        const std::string out = dir.File("killed.q54");
        std::vector<std::string> argv{QM54_TOOL};
        if (upload) argv.insert(argv.end(), {"upload", "--port", server.Url(), "-o", out});
        else argv.insert(argv.end(), {"download", file, "--port", server.Url(), "--mode", "dealer", "--yes"});
        Child tool(argv, true);
        // Killed once the exchange is well under way (some 600 bytes on the line).
        for (int i = 0; i < 1000 && ReadText(log).size() < 2000; ++i) usleep(10000);
        ASSERT_GE(ReadText(log).size(), 2000u);
        server.Kill();
        const auto killed = SteadyClock::now();
        EXPECT_EQ(tool.Wait(10000), 1);
        EXPECT_LT(MsSince(killed), 2000);
        EXPECT_NE(tool.Err().find(upload ? "Upload error" : "Download error"), std::string::npos) << tool.Err();
        EXPECT_NE(tool.Err().find("the server closed the connection"), std::string::npos) << tool.Err();
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(NetPortEndToEnd, APortThatCannotBeUsedIsNamedWithTheReason)
{
    Sim sim({"--band", "vhf"});
    Ser2netProcess raw(dir, sim.Path(), false);
    ASSERT_TRUE(raw.Ready());
    const struct {
        std::string port;
        const char* says;
    } cases[] = {
        {"rfc2217://127.0.0.1:" + std::to_string(qm54test::UnusedLoopbackPort()), "Nothing listens at 127.0.0.1:"},
        {"tcp://no-such-host.invalid:2000", "does not resolve"},
        {raw.Url("rfc2217"), "refused the serial-line control of RFC 2217"},
        {"rfc2217://127.0.0.1", "the port number is missing"},
    };
    for (const auto& c : cases) {
        const std::string out = dir.File("x.q54");
        const ToolRun up = RunTool({"upload", "--port", c.port, "-o", out}, true);
        EXPECT_EQ(up.status, 1) << c.port;
        EXPECT_NE(up.err.find("Problem on COM port"), std::string::npos) << up.err;
        EXPECT_NE(up.err.find(c.says), std::string::npos) << up.err;
        EXPECT_FALSE(fs::exists(out));
        usleep(200000);  // the server closes its device before the next client
        const ToolRun check = RunTool({"ports", "--check", c.port}, true);
        EXPECT_EQ(check.status, 1) << c.port;
        EXPECT_NE(check.out.find(c.says), std::string::npos) << check.out;
        usleep(200000);
    }
    const ToolRun good = RunTool({"ports", "--check", raw.Url()}, true);
    EXPECT_EQ(good.status, 0) << good.out;
    EXPECT_NE(good.out.find("The port opens."), std::string::npos) << good.out;
}

// One upload with the real waits at the delay the user guide names as tested, 150 ms each way.
TEST_F(NetPortEndToEnd, AnUploadWorksThroughASlowPathWithTheRealWaits)
{
    std::string direct;
    {
        Sim sim({"--band", "vhf"});
        direct = Upload(sim.Path(), "direct");
    }
    Sim sim({"--band", "vhf"});
    Ser2netProcess server(dir, sim.Path());
    ASSERT_TRUE(server.Ready());
    qm54test::DelayRelay relay(server.Port(), 150);
    EXPECT_EQ(Upload("rfc2217://127.0.0.1:" + std::to_string(relay.Port()), "slow", false), direct);
}

// Beyond the limit (here the no-data limit of the fast waits, 1000 ms, against 800 ms each way):
// the answers come too late; the tool keeps asking, as for a repeater switched off, and Ctrl+C
// ends it at once with nothing written. No late answer may be taken for a reply meanwhile.
TEST_F(NetPortEndToEnd, BeyondTheLimitTheUploadWaitsForCancelAndWritesNothing)
{
    const std::string log = dir.File("sim.log");
    Sim sim({"--band", "vhf", "--log", log});
    Ser2netProcess server(dir, sim.Path());
    ASSERT_TRUE(server.Ready());
    qm54test::DelayRelay relay(server.Port(), 800);
    const std::string out = dir.File("late.q54");
    Child tool({QM54_TOOL, "upload", "--port", "rfc2217://127.0.0.1:" + std::to_string(relay.Port()), "-o", out},
               true);
    usleep(9000 * 1000);
    tool.Signal(SIGINT);
    const auto interrupted = SteadyClock::now();
    EXPECT_EQ(tool.Wait(10000), 1);
    EXPECT_LT(MsSince(interrupted), 3000);
    EXPECT_NE(tool.Err().find("cancelled, nothing written"), std::string::npos) << tool.Err();
    EXPECT_FALSE(fs::exists(out));
    // The repeater saw start requests only: a late start answer was never taken for the answer of
    // a later request (which would have been acknowledged with 0x06).
    const std::string transcript = ReadText(log);
    EXPECT_NE(transcript.find("rx 02\n"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("rx 06"), std::string::npos) << transcript;
}

}  // namespace
