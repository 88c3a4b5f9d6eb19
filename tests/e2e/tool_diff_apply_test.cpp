// qm54 diff and qm54 apply run as the built tool: exit statuses, the lines printed, a show text
// applied to another file, and a refused JSON leaving the file as it was.
#include "process.h"
#include "tool_process.h"

#include <gtest/gtest.h>

namespace {

using qm54e2e::ReadText;
using qm54e2e::WriteText;
using qm54test::RunTool;
using qm54test::ToolRun;

class ToolDiffApplyTest : public ::testing::Test {
protected:
    std::string New(const std::string& name, const std::string& band = "vhf")
    {
        const std::string path = dir_ / name;
        EXPECT_EQ(RunTool({"new", path, "--band", band}).status, 0);
        return path;
    }
    qm54e2e::TempDir dir_;
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
    EXPECT_EQ(RunTool({"diff", a, dir_ / "missing.q54"}).status, 1);
}

TEST_F(ToolDiffApplyTest, ApplyTakesShowsOutputAndRefusesWithoutWriting)
{
    const std::string uhf = New("uhf.q54", "uhf"), copy = New("copy.q54");
    const ToolRun shown = RunTool({"show", uhf});
    ASSERT_EQ(shown.status, 0);
    const std::string json = dir_ / "uhf.json";
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
    EXPECT_EQ(RunTool({"apply", copy, dir_ / "none.json"}).status, 1);
    EXPECT_EQ(ReadText(copy), before);
}

// A band given alone changes the band as the hardware dialog does (as qm54 set Band=UHF does), and
// a channel frequency outside the band is refused with nothing written.
TEST_F(ToolDiffApplyTest, ApplyChangesTheBandAsTheHardwareDialogAndHoldsFrequenciesToIt)
{
    const std::string uhf = New("uhf.q54", "uhf"), vhf = New("vhf.q54"), set = New("set.q54");
    const std::string json = dir_ / "band.json";
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
