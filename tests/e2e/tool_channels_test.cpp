// qm54 channels run as the built tool: an export edited and imported into another file, a file
// with a bad cell refused with the file left byte for byte, and a foreign channel file's report.
#include "process.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qm54e2e::ReadText;
using qm54e2e::WriteText;
using qm54test::RunTool;

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class ToolChannelsTest : public ::testing::Test {
protected:
    std::string NewFile(const std::string& name)
    {
        const std::string path = dir_.File(name);
        EXPECT_EQ(RunTool({"new", path}).status, 0);
        return path;
    }
    qm54e2e::TempFolder dir_;
};

TEST_F(ToolChannelsTest, ExportEditedAndImportedIntoAnotherFile)
{
    const std::string a = NewFile("a.q54");
    const std::string b = NewFile("b.q54");
    const qm54test::ToolRun exported = RunTool({"channels", a, "--export", "-"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ASSERT_EQ(exported.out.substr(0, 24), "Ch,In Use,Rx Freq,CTCSS,");
    // Channel 2 switched on with a new receive frequency and tone, the whole file with LF ends
    // and a byte-order mark, as a spreadsheet may save it.
    std::string edited = Replaced(exported.out, "\r\n2,no,161.00000,off", "\r\n2,yes,162.50000,88.5");
    std::string lf;
    for (const char c : edited)
        if (c != '\r') lf += c;
    WriteText(dir_.File("edited.csv"), "\xEF\xBB\xBF" + lf);

    const qm54test::ToolRun imported = RunTool({"channels", b, "--import", dir_.File("edited.csv")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("16 channel row(s) imported"), std::string::npos);
    EXPECT_EQ(RunTool({"channels", b, "--export", "-"}).out, edited);

    ASSERT_EQ(RunTool({"channels", b, "--export", dir_.File("b.csv")}).status, 0);
    EXPECT_EQ(ReadText(dir_.File("b.csv")), edited);
}

TEST_F(ToolChannelsTest, BadCellRefusesTheFileAndLeavesItAsItWas)
{
    const std::string a = NewFile("a.q54");
    const std::string before = ReadText(a);
    WriteText(dir_.File("bad.csv"), "Ch,Rx Freq,TX Pwr\n1,162.00000,Hi\n2,162.0x,Lo\n");
    const qm54test::ToolRun run = RunTool({"channels", a, "--import", dir_.File("bad.csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("line 3, column \"Rx Freq\", \"162.0x\": not a frequency in MHz"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nothing was imported"), std::string::npos);
    EXPECT_EQ(ReadText(a), before);
    WriteText(dir_.File("big.csv"), std::string(10 << 20, 'a'));
    const qm54test::ToolRun big = RunTool({"channels", a, "--import", dir_.File("big.csv")});
    EXPECT_EQ(big.status, 1);
    EXPECT_NE(big.err.find("big.csv: the file is larger than 1048576 bytes, more than any channel list\n"),
              std::string::npos)
        << big.err;
    EXPECT_EQ(RunTool({"channels", a}).status, 2);
    EXPECT_EQ(RunTool({"channels", a, "--import", dir_.File("missing.csv")}).status, 1);
    EXPECT_EQ(ReadText(a), before);
}

TEST_F(ToolChannelsTest, ForeignFileImportsWhatFitsAndListsTheRest)
{
    const std::string a = NewFile("a.q54");
    WriteText(dir_.File("foreign.csv"),
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode\r\n"
              "0,Site,162.550000,+,0.600000,TSQL,88.5,100.0,023,NN,FM\r\n"
              "1,Far,50.000000,,0.000000,,88.5,88.5,023,NN,AM\r\n"
              "2,Dcs,162.600000,,0.000000,DTCS,88.5,88.5,023,RN,FM\r\n");
    const qm54test::ToolRun run = RunTool({"channels", a, "--import", dir_.File("foreign.csv")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 channel row(s) imported from a foreign channel file"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n  note: line 2, column \"Name\", \"Site\": the column has no place"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\n  note: line 3, column \"Frequency\", \"50.000000\": outside the band, 150.00000 to "
                           "174.00000 MHz; channel 2 left as it was\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\n  note: line 4, column \"DtcsPolarity\", \"RN\": this repeater has no reversed DCS "
                           "polarity; the code is imported with normal polarity on both sides (NN)"),
              std::string::npos)
        << run.out;
    const std::string csv = RunTool({"channels", a, "--export", "-"}).out;
    EXPECT_NE(csv.find("\r\n1,yes,162.55000,100.0,off,W,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",163.15000,100.0,off,"), std::string::npos) << csv;
}

}  // namespace
