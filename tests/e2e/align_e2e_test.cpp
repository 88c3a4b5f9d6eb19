// qm54 align against the simulator over a real pseudo-terminal: a whole bench session, --save,
// a broken exchange, Ctrl+C in a wait, and a repeater that does not enter the alignment mode.
// Whatever happens, the leaving sequence runs and the data file changes only with --save.
#include "process.h"
#include "sim_process.h"

#include "model/image/emem.h"
#include "model/image/map54.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using namespace qm54e2e;
using Bytes = std::vector<uint8_t>;

constexpr const char* kConnection = "Problem detected with connection to";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

Bytes SentBytes(const std::string& logPath)
{
    Bytes bytes;
    for (const std::string& line : Lines(ReadText(logPath))) {
        if (line.rfind("rx ", 0) != 0) continue;
        std::istringstream in(line.substr(3));
        for (std::string hex; in >> hex;) bytes.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
    }
    return bytes;
}

// The programming a data file holds (the defaults when it is not a whole image).
qm54::TCEmem Decoded(const std::string& path)
{
    qm54::TCEmem emem;
    qm54::TMap54 map;
    const std::string bytes = ReadText(path);
    EXPECT_EQ(bytes.size(), map.Bytes().size()) << path;
    if (bytes.size() != map.Bytes().size()) return emem;
    std::copy(bytes.begin(), bytes.end(), map.Bytes().begin());
    EXPECT_TRUE(map.Decode(emem)) << path;
    return emem;
}

bool EndsWith(const Bytes& sent, const Bytes& tail)
{
    return sent.size() >= tail.size() && std::equal(tail.begin(), tail.end(), sent.end() - static_cast<long>(tail.size()));
}

class AlignEndToEnd : public testing::Test {
protected:
    TempFolder dir;
    std::string log = dir.File("sim.log");
    std::string file = dir.File("bench.q54");

    void SetUp() override
    {
        Child made({QM54_TOOL, "new", file}, true);
        ASSERT_EQ(made.Wait(20000), 0);
        original = ReadText(file);
    }
    std::vector<std::string> Args(const std::string& device, std::vector<std::string> steps)
    {
        std::vector<std::string> args{QM54_TOOL, "align",        file, "--point", "low", "--port", device,
                                      "--mode",  "manufacture", "--factory-code", "tidewater-71"};
        args.insert(args.end(), steps.begin(), steps.end());
        return args;
    }
    std::string original;
};

TEST_F(AlignEndToEnd, ABenchSessionPrintsOneLineAStepAndLeavesTheFileAlone)
{
    qm54test::SimProcess sim({"--log", log, "--status", "0A,7F,00"});
    // With the real waits: the entry, command and leaving pauses as the repeater needs them.
    Child tool(Args(sim.Path(), {"--width", "narrow", "rx-on", "SqlThreshold=40", "rx-on", "status", "wait:20", "rx-off"}),
               false);
    ASSERT_EQ(tool.Wait(30000), 0) << tool.Err();
    EXPECT_EQ(Lines(tool.Out()), (std::vector<std::string>{
                                     "alignment mode (Low): entered",
                                     "RX on: sent B1 00 0A 52 42 16 00 30 00 14 80 4E 77; acknowledged",
                                     "SqlThreshold[1] = 40 (sent with the next switch command)",
                                     "RX on: sent B1 00 0A 52 42 16 00 28 00 14 80 4E 6F; acknowledged",
                                     "VR 0A NSQ 7F RSSI 00",
                                     "waited 20 ms",
                                     "RX off: sent B1 00 02 72 25; acknowledged",
                                     "alignment mode: left",
                                 }));
    EXPECT_EQ(tool.Err(), "");
    EXPECT_EQ(ReadText(file), original);
    EXPECT_TRUE(EndsWith(SentBytes(log), {0x27, 0x03, 0x06, 0x28}));
    EXPECT_NE(ReadText(log).find("# align RX on: mode Base, width Narrow, rx 16 00 28 00 14 80"), std::string::npos);
}

TEST_F(AlignEndToEnd, SaveWritesTheCommittedValues)
{
    qm54test::SimProcess sim({});
    Child tool(Args(sim.Path(), {"--station", "repeater", "--save", "TxPowerHigh=190", "RxAdjustFreq=1200", "trx-on",
                                 "trx-off"}),
               true);
    ASSERT_EQ(tool.Wait(30000), 0) << tool.Err();
    const qm54::TCEmem emem = Decoded(file);
    EXPECT_EQ(emem.TxPowerHigh[1], 190);
    EXPECT_EQ(emem.RxAdjustFreq[1].ScaledTrunc(1), 9999);
}

TEST_F(AlignEndToEnd, ABrokenExchangeEndsWithTheMessageAfterLeaving)
{
    for (const char* fault : {"silence@align", "hangup@align"}) {
        SCOPED_TRACE(fault);
        qm54test::SimProcess sim({"--fault", fault, "--log", log});
        Child tool(Args(sim.Path(), {"--save", "SqlThreshold=1", "rx-on", "status"}), true);
        EXPECT_EQ(tool.Wait(30000), 1);
        EXPECT_NE(tool.Err().find(kConnection), std::string::npos) << tool.Err();
        EXPECT_NE(tool.Out().find("alignment mode: left"), std::string::npos);
        EXPECT_EQ(tool.Out().find("VR "), std::string::npos);  // no step after the broken one
        EXPECT_EQ(ReadText(file), original);
    }
}

TEST_F(AlignEndToEnd, WrongAcknowledgementAndRejectedStatusAreNoFailure)
{
    for (const char* fault : {"ack@align", "checksum@align"}) {
        SCOPED_TRACE(fault);
        qm54test::SimProcess sim({"--fault", fault});
        Child tool(Args(sim.Path(), {"tx-on", "status"}), true);
        EXPECT_EQ(tool.Wait(30000), 0) << tool.Err();
        EXPECT_EQ(tool.Err(), "");
    }
}

TEST_F(AlignEndToEnd, InterruptInAWaitStillLeaves)
{
    qm54test::SimProcess sim({"--log", log});
    Child tool(Args(sim.Path(), {"--save", "SqlThreshold=1", "rx-on", "wait:60000", "rx-off"}), true);
    const Bytes command{0xB1, 0x00, 0x0A, 0x52};
    auto sentCommand = [&] {
        const Bytes sent = SentBytes(log);
        return std::search(sent.begin(), sent.end(), command.begin(), command.end()) != sent.end();
    };
    for (int i = 0; i < 1000 && !sentCommand(); ++i) usleep(10000);
    ASSERT_TRUE(sentCommand());
    usleep(200000);
    tool.Signal(SIGINT);
    EXPECT_EQ(tool.Wait(20000), 1);
    EXPECT_NE(tool.Out().find("alignment mode: left (interrupted)"), std::string::npos) << tool.Out();
    // What was waited, not what was asked for.
    const size_t waited = tool.Out().find("waited ");
    ASSERT_NE(waited, std::string::npos) << tool.Out();
    EXPECT_EQ(tool.Out().find("waited 60000 ms\n"), std::string::npos) << tool.Out();
    EXPECT_NE(tool.Out().find(" ms of 60000 (interrupted)\n", waited), std::string::npos) << tool.Out();
    EXPECT_TRUE(EndsWith(SentBytes(log), {0x27, 0x03, 0x06, 0x28}));
    EXPECT_EQ(ReadText(file), original);
}

// A field the alignment window greys out under the chosen conditions is neither typed nor sent:
// refused with the reason before the port is opened.
TEST_F(AlignEndToEnd, AFieldTheWindowGreysOutIsRefusedWithTheReason)
{
    qm54test::SimProcess sim({"--log", log});
    const struct {
        std::vector<std::string> steps;
        const char* err;
    } refused[] = {
        {{"TxPowerLow=80", "tx-on"}, "qm54 align: TxPowerLow=80 cannot be set while the power type is High; nothing was sent\n"},
        {{"--power", "low", "TxPowerHigh=80", "tx-on"}, "TxPowerHigh=80 cannot be set while the power type is Low"},
        {{"DcsDevWide=5", "tx-on"}, "DcsDevWide=5 cannot be set while the encoder is off"},
        {{"--encoder", "ctcss:67.0", "DcsDevWide=5"}, "DcsDevWide=5 cannot be set while the encoder is CTCSS"},
        {{"--encoder", "dcs:023", "--width", "narrow", "DcsDevWide=5"}, "DcsDevWide=5 cannot be set while the width is Narrow"},
        {{"--width", "narrow", "MaxDevWide=5"}, "MaxDevWide=5 cannot be set while the width is Narrow"},
        {{"CtcssDevNarrow=5"}, "CtcssDevNarrow=5 cannot be set while the encoder is off"},
    };
    for (const auto& r : refused) {
        Child tool(Args(sim.Path(), r.steps), true);
        EXPECT_EQ(tool.Wait(20000), 1) << r.steps.front();
        EXPECT_NE(tool.Err().find(r.err), std::string::npos) << tool.Err();
        EXPECT_EQ(tool.Out(), "");
    }
    EXPECT_EQ(SentBytes(log), Bytes{});

    // Under the conditions that enable them the same fields are taken; the mode, the point and the
    // conditions in any letter case.
    std::vector<std::string> args = Args(sim.Path(), {"--power", "Low", "--encoder", "DCS:023", "--width", "NARROW",
                                                      "--station", "Base", "TxPowerLow=80", "DcsDevNarrow=5", "tx-on"});
    std::replace(args.begin(), args.end(), std::string("manufacture"), std::string("Manufacture"));
    std::replace(args.begin(), args.end(), std::string("low"), std::string("LOW"));
    Child taken(args, true);
    ASSERT_EQ(taken.Wait(30000), 0) << taken.Err();
    EXPECT_NE(taken.Out().find("TxPowerLow[1] = 80 (sent"), std::string::npos) << taken.Out();
    EXPECT_NE(taken.Out().find("DcsDevNarrow[1] = 5 (sent"), std::string::npos) << taken.Out();
}

// --save never rewrites an RPT file in place; --output writes the committed values elsewhere.
TEST_F(AlignEndToEnd, SaveToAnRptFileNeedsOutput)
{
    qm54test::SimProcess sim({"--log", log});
    const std::string rpt = dir.File("bench.RPT");
    WriteText(rpt, original);
    std::vector<std::string> args = Args(sim.Path(), {"--save", "SqlThreshold=40", "rx-on"});
    std::replace(args.begin(), args.end(), file, rpt);
    Child refused(args, true);
    EXPECT_EQ(refused.Wait(20000), 1);
    EXPECT_NE(refused.Err().find("is an RPT file, which is not written in place"), std::string::npos) << refused.Err();
    EXPECT_EQ(SentBytes(log), Bytes{});

    const std::string made = dir.File("aligned.q54");
    args.push_back("--output");
    args.push_back(made);
    Child saved(args, true);
    ASSERT_EQ(saved.Wait(30000), 0) << saved.Err();
    EXPECT_EQ(ReadText(rpt), original);
    EXPECT_EQ(Decoded(made).SqlThreshold[1], 40);
}

TEST_F(AlignEndToEnd, NoEntryNoSession)
{
    qm54test::SimProcess sim({"--fault", "start", "--log", log});
    Child tool(Args(sim.Path(), {"rx-on"}), true);
    EXPECT_EQ(tool.Wait(30000), 1);
    EXPECT_NE(tool.Err().find(kConnection), std::string::npos);
    EXPECT_EQ(SentBytes(log), (Bytes{0x02, 0x15}));

    const struct {
        std::vector<std::string> steps;
        const char* reason;
    } usage[] = {
        {{"trx-on"}, "trx-on needs --station repeater"},
        {{"Band=1"}, "\"Band\" is not a field of the alignment window"},
        {{"wait:-1"}, "bad wait"},
        {{"jump"}, "unknown step \"jump\""},
    };
    for (const auto& u : usage) {
        Child refused(Args(sim.Path(), u.steps), true);
        EXPECT_EQ(refused.Wait(20000), 2);
        EXPECT_NE(refused.Err().find(u.reason), std::string::npos) << refused.Err();
    }
}

}  // namespace
