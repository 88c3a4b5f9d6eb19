// qm54 diff and qm54 apply run as the built tool: exit statuses, the lines printed, a show text
// applied to another file, and a refused JSON leaving the file as it was.
#include "process.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using qm54e2e::ReadText;
using qm54e2e::WriteText;
using qm54test::RunTool;
using qm54test::ToolRun;

class ToolDiffApplyTest : public ::testing::Test {
protected:
    std::string New(const std::string& name, const std::string& band = "vhf")
    {
        const std::string path = dir_.File(name);
        EXPECT_EQ(RunTool({"new", path, "--band", band}).status, 0);
        return path;
    }
    qm54e2e::TempFolder dir_;
};

TEST_F(ToolDiffApplyTest, DiffExitsZeroWhenEqualAndListsEachDifference)
{
    const std::string a = New("a.q54"), b = New("b.q54");
    ToolRun run = RunTool({"diff", a, b});
    EXPECT_EQ(run.status, 1);  // the stored file names differ
    EXPECT_EQ(run.out, "StoredFileName: a        | b       \n");
    EXPECT_EQ(RunTool({"diff", a, a}).status, 0);
    ASSERT_EQ(RunTool({"set", b, "BaseTot=2.5", "DTMF=RX Enable", "AlphaTagText[0]=HILL", "--mode", "dealer"}).status, 0);
    run = RunTool({"diff", a, b});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("BaseTot: 3.0 Min | 2.5 Min\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("DtmfRx: 0 | 1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("AlphaTagCode[0]: ---- | 0001\nAlphaTagText[0]: -------- | HILL    \n"), std::string::npos)
        << run.out;
    EXPECT_EQ(RunTool({"diff", a}).status, 2);
}

// diff(1)'s exit statuses: 0 equal, 1 different, 2 trouble (a file that does not load).
TEST_F(ToolDiffApplyTest, DiffTellsTroubleFromADifferenceAndListsUnmappedBytesAsRanges)
{
    const std::string a = New("a.q54");
    const std::string shortFile = dir_.File("short.q54");
    WriteText(shortFile, std::string(100, '\0'));
    ToolRun run = RunTool({"diff", a, dir_.File("missing.q54")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(RunTool({"diff", shortFile, a}).status, 2);

    // The 512 bytes at 0x5C0 that no setting holds: one line with their count, not 512.
    std::string bytes = ReadText(a);
    const std::string b = dir_.File("a.Q54");  // the same stored name
    for (size_t i = 0x5C0; i <= 0x7BF; ++i) bytes[i] = '\x02';
    bytes[0x017] = '\x01';
    WriteText(b, bytes);
    run = RunTool({"diff", a, b});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Byte 0x017: 00 | 01\n"
                       "Bytes 0x5C0 to 0x7BF (512 differ): 01 01 01 01 01 01 01 01 ... | 02 02 02 02 02 02 02 02 ...\n");
}

// set, apply and channels --import never rewrite an RPT file in place (the window stores RPT
// data only with Save As); --output writes the result to another file and leaves FILE alone.
TEST_F(ToolDiffApplyTest, AnRptFileIsNeverRewrittenInPlaceAndOutputTakesTheResult)
{
    const std::string json = dir_.File("tot.json");
    WriteText(json, R"({"BaseTot": 4})");
    const std::string csv = dir_.File("two.csv");
    WriteText(csv, "Ch,Rx Freq\n2,162.55000\n");
    const std::vector<std::vector<std::string>> edits = {
        {"set", "FILE", "BaseTot=2", "--mode", "dealer"},
        {"apply", "FILE", json},
        {"channels", "FILE", "--import", csv},
    };
    for (const auto& edit : edits) {
        const std::string rpt = dir_.File("site.RPT");
        WriteText(rpt, ReadText(New("site.q54")));
        const std::string before = ReadText(rpt);
        auto with = [&](std::vector<std::string> extra) {
            std::vector<std::string> args = edit;
            args[1] = rpt;
            args.insert(args.end(), extra.begin(), extra.end());
            return args;
        };
        ToolRun run = RunTool(with({}));
        EXPECT_EQ(run.status, 1) << edit[0];
        EXPECT_NE(run.err.find(rpt + " is an RPT file, which is not written in place"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("give --output NEW.Q54"), std::string::npos) << run.err;
        EXPECT_EQ(ReadText(rpt), before) << edit[0];

        EXPECT_EQ(RunTool(with({"--output", dir_.File("new.rpt")})).status, 1) << edit[0];
        EXPECT_FALSE(std::filesystem::exists(dir_.File("new.rpt"))) << edit[0];

        const std::string made = dir_.File("new.Q54");
        run = RunTool(with({"--output", made}));
        EXPECT_EQ(run.status, 0) << edit[0] << ": " << run.err;
        EXPECT_EQ(ReadText(rpt), before) << edit[0];
        EXPECT_NE(RunTool({"diff", rpt, made}).out.find(edit[0] == "channels" ? "Channel 2 Rx Freq" : "BaseTot"),
                  std::string::npos)
            << edit[0];
        std::filesystem::remove(made);
    }

    // --output from an ordinary file leaves it as it was, and writes the result even when
    // nothing changed.
    const std::string q54 = New("plain.q54");
    const std::string before = ReadText(q54);
    const std::string copy = dir_.File("copy.q54");
    ASSERT_EQ(RunTool({"set", q54, "BaseTot=3", "--mode", "dealer", "--output", copy}).status, 0);
    EXPECT_EQ(ReadText(q54), before);
    EXPECT_EQ(RunTool({"get", copy, "BaseTot"}).out, "BaseTot: 3.0 Min\n");
}

TEST_F(ToolDiffApplyTest, ApplyTakesShowsOutputAndRefusesWithoutWriting)
{
    const std::string uhf = New("uhf.q54", "uhf"), copy = New("copy.q54");
    const ToolRun shown = RunTool({"show", uhf});
    ASSERT_EQ(shown.status, 0);
    const std::string json = dir_.File("uhf.json");
    WriteText(json, shown.out);
    ToolRun run = RunTool({"apply", copy, json});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("qm54 apply: note: ModelName is read only: ignored"), std::string::npos) << run.err;
    EXPECT_EQ(RunTool({"diff", uhf, copy}).out, "StoredFileName: uhf      | copy    \n");

    const std::string before = ReadText(copy);
    WriteText(json, R"({"BaseTot": 4, "Channels": [{"TxPower": 9}]})");
    run = RunTool({"apply", copy, json});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "qm54 apply: Channels[0].TxPower: 9 is outside 0 to 1; nothing was written\n");
    WriteText(json, "{not json");
    EXPECT_EQ(RunTool({"apply", copy, json}).status, 1);
    EXPECT_EQ(RunTool({"apply", copy, dir_.File("none.json")}).status, 1);
    EXPECT_EQ(ReadText(copy), before);
}

// A band given alone changes the band as the hardware dialog does (as qm54 set Band=UHF does), and
// a channel frequency outside the band is refused with nothing written.
TEST_F(ToolDiffApplyTest, ApplyChangesTheBandAsTheHardwareDialogAndHoldsFrequenciesToIt)
{
    const std::string uhf = New("uhf.q54", "uhf"), vhf = New("vhf.q54"), set = New("set.q54");
    const std::string json = dir_.File("band.json");
    WriteText(json, R"({"Band": 1})");
    ToolRun run = RunTool({"apply", vhf, json});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(RunTool({"diff", uhf, vhf}).out, "StoredFileName: uhf      | vhf     \n");
    ASSERT_EQ(RunTool({"set", set, "--mode", "dealer", "Band=UHF"}).status, 0);
    EXPECT_EQ(RunTool({"diff", set, vhf}).out, "StoredFileName: set      | vhf     \n");

    const std::string f = New("f.q54");
    const std::string before = ReadText(f);
    WriteText(json, R"({"Channels":[{"Number":1,"RxFreq":{"MHz":"446.0"},"TxFreq":{"MHz":"20.0"}}]})");
    run = RunTool({"apply", f, json});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "qm54 apply: Channels[0].RxFreq: {\"MHz\":\"446.0\"} is outside the band, 150.00000 to "
                       "174.00000 MHz; nothing was written\n");
    EXPECT_EQ(ReadText(f), before);
}

}  // namespace
