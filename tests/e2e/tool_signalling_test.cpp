// qm54 get and set over the signalling type, ANI, ENI, 5-tone table and alpha-tag dialogs, run as
// the built tool: the four-way lists and their exclusive choice, the greyed fields, the tone set
// loaded and followed, the alpha-tag commits, duplicate refusal and sort, and the file saved.
#include "process.h"
#include "tool_process.h"

#include "model/image/emem.h"
#include "model/image/map54.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using qm54::TCEmem;
using qm54e2e::ReadText;
using qm54test::RunTool;
using qm54test::ToolRun;
using Strings = std::vector<std::string>;

const Strings kDealer = {"--mode", "dealer"};

TCEmem Decoded(const std::string& path)
{
    const std::string bytes = ReadText(path);
    qm54::TMap54 map;
    std::copy_n(bytes.begin(), std::min(bytes.size(), map.Bytes().size()), map.Bytes().begin());
    TCEmem emem;
    map.Decode(emem);
    return emem;
}

class ToolSignallingTest : public ::testing::Test {
protected:
    std::string NewFile()
    {
        const std::string path = dir_.File("site.q54");
        EXPECT_EQ(RunTool({"new", path}).status, 0);
        return path;
    }
    ToolRun Set(const Strings& assignments, const Strings& mode = kDealer)
    {
        Strings args = {"set", file_};
        args.insert(args.end(), assignments.begin(), assignments.end());
        args.insert(args.end(), mode.begin(), mode.end());
        return RunTool(args);
    }
    std::string Get(const Strings& keys)
    {
        Strings args = {"get", file_};
        args.insert(args.end(), keys.begin(), keys.end());
        return RunTool(args).out;
    }

    qm54e2e::TempFolder dir_;
    std::string file_ = NewFile();
};

TEST_F(ToolSignallingTest, SignallingListsStoreTheirBitsAndExcludeEachOther)
{
    ToolRun run = Set({"DTMF=RX/TX Enable"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "DtmfTx: 1\nDtmfRx: 1\n");
    EXPECT_EQ(Get({"DTMF", "FiveTone", "DtmfRx"}), "DTMF: RX/TX Enable\nFiveTone: off\nDtmfRx: 1\n");

    // 5-tone chosen: DTMF turns off; the repeat code can be set now that 5-tone is on.
    run = Set({"FiveTone=rx enable", "FiveToneRepeatCode=3", "FiveToneMarkTime=0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Get({"DTMF", "FiveTone", "FiveToneRepeatCode", "FiveToneMarkTime"}),
              "DTMF: off\nFiveTone: RX Enable\nFiveToneRepeatCode: 3\nFiveToneMarkTime: 1 ms\n");

    // A single bit through its list: DtmfTx=1 is "TX Enable", and 5-tone goes off.
    run = Set({"DtmfTx=1"});
    ASSERT_EQ(run.status, 0) << run.err;
    const TCEmem emem = Decoded(file_);
    EXPECT_EQ(std::vector<int32_t>({emem.DtmfRx, emem.DtmfTx, emem.FiveToneRx, emem.FiveToneTx}),
              std::vector<int32_t>({0, 1, 0, 0}));
}

TEST_F(ToolSignallingTest, ToneSetsAniEniAndAlphaTagsAsTheirDialogsTakeThem)
{
    ToolRun run = Set({"FiveToneSet=eia", "AniCode=a7", "AniDelay=303", "EniDelay=1234", "EniTxTime=0",
                       "EniRepeatCount=300", "AniMode=TX On/Off", "EniHeaderCode=F"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Get({"FiveToneSet", "FiveToneTable[0]", "FiveToneTable[14]", "AniCode", "AniDelay", "EniDelay",
                   "EniTxTime", "EniRepeatCount", "AniMode", "EniHeaderCode"}),
              "FiveToneSet: EIA\nFiveToneTable[0]: 600 Hz\nFiveToneTable[14]: 459 Hz\nAniCode: 00A7\nAniDelay: 300 ms\n"
              "EniDelay: 1200 ms\nEniTxTime: 1 sec\nEniRepeatCount: 255\nAniMode: TX On/Off\nEniHeaderCode: F\n");
    TCEmem emem = Decoded(file_);
    EXPECT_EQ(emem.AniDelay, 60);
    EXPECT_EQ(emem.EniDelay, 24);
    EXPECT_EQ(emem.FiveToneTable[0], 600);

    // 600 typed into digit 1 is 625, and the table is no set any more.
    run = Set({"FiveToneTable[1]=600"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Decoded(file_).FiveToneTable[1], 625);
    EXPECT_EQ(Get({"FiveToneSet"}), "FiveToneSet: USER\n");

    // Alpha tags: a tag in a free row gets number 1, a number in row 0, then OK sorts.
    run = Set({"AlphaTagText[2]=north!", "AlphaTagCode[0]=7"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Alpha Tag will be sorted in order of table number\n");
    EXPECT_EQ(Get({"AlphaTagCode[0]", "AlphaTagText[0]", "AlphaTagCode[1]", "AlphaTagText[1]", "AlphaTagCode[2]"}),
              "AlphaTagCode[0]: 0001\nAlphaTagText[0]: NORTH   \nAlphaTagCode[1]: 0007\nAlphaTagText[1]:         \n"
              "AlphaTagCode[2]: ----\n");
    // Clearing a number clears its entry; already packed and in order, nothing is sorted.
    run = Set({"AlphaTagCode[1]="});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Get({"AlphaTagText[1]"}), "AlphaTagText[1]: --------\n");
}

TEST_F(ToolSignallingTest, RefusalsLeaveTheFileAsItWas)
{
    ASSERT_EQ(Set({"AlphaTagCode[0]=7"}).status, 0);
    const std::string before = ReadText(file_);
    struct Case {
        Strings arguments;
        Strings mode;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"FiveToneMarkTime=50"}, kDealer, 1,
         "qm54 set: FiveToneMarkTime=50 cannot be set while DTMF and 5-Tone are off; nothing was written\n"},
        {{"DTMF=TX Enable", "FiveToneRepeatCode=3"}, kDealer, 1,
         "qm54 set: FiveToneRepeatCode=3 cannot be set while 5-Tone is off; nothing was written\n"},
        {{"AlphaTagCode[5]=7"}, kDealer, 1,
         "qm54 set: This code is already exsists. (AlphaTagCode[5]=7); nothing was written\n"},
        {{"AlphaTagText[0]=X"}, {}, 1,
         "qm54 set: AlphaTagText[0] can be set in the Dealer and Manufacture modes only; nothing was written\n"},
        {{"DTMF=both"}, kDealer, 1,
         "qm54 set: DTMF cannot be \"both\"; the choices are \"off\", \"RX Enable\", \"TX Enable\", \"RX/TX "
         "Enable\"; nothing was written\n"},
        {{"DtmfRx=2"}, kDealer, 1, "qm54 set: DtmfRx is 0 or 1; nothing was written\n"},
        {{"FiveToneTable=1000"}, kDealer, 1,
         "qm54 set: FiveToneTable holds 16 values: set FiveToneTable[0] to FiveToneTable[15] one by one; nothing "
         "was written\n"},
        {{"FiveToneSet=nosuch"}, kDealer, 1, "qm54 set: FiveToneSet cannot be \"nosuch\""},
        {{"FiveToneTable[16]=1000"}, kDealer, 2, "qm54 set: unknown setting \"FiveToneTable[16]\""},
        {{"AlphaTagCode[x]=1"}, kDealer, 2, "qm54 set: unknown setting \"AlphaTagCode[x]\""},
    };
    for (const Case& c : cases) {
        Strings args = c.arguments;
        args.insert(args.end(), c.mode.begin(), c.mode.end());
        const ToolRun run = RunTool([&] {
            Strings all = {"set", file_};
            all.insert(all.end(), args.begin(), args.end());
            return all;
        }());
        EXPECT_EQ(run.status, c.status) << c.arguments.front() << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.arguments.front();
        EXPECT_EQ(ReadText(file_), before) << c.arguments.front();
    }
}

}  // namespace
