// qm54 get and set run as the built tool: values typed into the settings dialogs' fields and
// picked from their lists, read back as the dialogs show them and as the file stores them; what
// the main window does after a dialog; the mode rights; refusals that leave the file as it was.
#include "process.h"
#include "tool_process.h"

#include "model/image/convert.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/settings/settings_table.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>

namespace {

using qm54::SettingValue;
using qm54::TCEmem;
using qm54e2e::ReadText;
using qm54e2e::WriteText;
using qm54test::RunTool;
using qm54test::ToolRun;
using Strings = std::vector<std::string>;

const Strings kDealer = {"--mode", "dealer"};
const Strings kManufacture = {"--mode", "manufacture", "--factory-code", "tidewater-71"};

TCEmem Decoded(const std::string& path)
{
    const std::string bytes = ReadText(path);
    qm54::TMap54 map;
    std::copy_n(bytes.begin(), std::min(bytes.size(), map.Bytes().size()), map.Bytes().begin());
    TCEmem emem;
    map.Decode(emem);
    return emem;
}

SettingValue Stored(const TCEmem& emem, const std::string& key)
{
    const qm54::SettingRow* row = qm54::FindSetting(key);
    return row ? qm54::GetSetting(emem, *row) : SettingValue(std::string("(no such setting)"));
}

std::string Show(const SettingValue& value)
{
    if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    if (const auto* text = std::get_if<std::string>(&value)) return "\"" + *text + "\"";
    return "(a decimal)";
}

int64_t Khz(const qm54::TDecimal& f) { return f.ScaledTrunc(3); }

ino_t Inode(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

Strings Joined(Strings first, const Strings& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class ToolSettingsTest : public ::testing::Test {
protected:
    // A "New" data file of the band, edited by edit when given.
    std::string NewFile(const std::string& name, const std::string& band = "vhf",
                        const std::function<void(TCEmem&)>& edit = {})
    {
        const std::string path = dir_.File(name);
        EXPECT_EQ(RunTool({"new", path, "--band", band}).status, 0);
        if (edit) {
            const std::string bytes = ReadText(path);
            qm54::TMap54 map;
            std::copy_n(bytes.begin(), map.Bytes().size(), map.Bytes().begin());
            TCEmem emem;
            map.Decode(emem);
            edit(emem);
            map.Encode(emem);
            WriteText(path, std::string(map.Bytes().begin(), map.Bytes().end()));
        }
        return path;
    }

    static ToolRun Set(const std::string& file, const Strings& assignments, const Strings& mode)
    {
        return RunTool(Joined(Joined({"set", file}, assignments), mode));
    }

    static std::string Get(const std::string& file, const std::string& key)
    {
        return RunTool({"get", file, key}).out;
    }

    qm54e2e::TempFolder dir_;
};

// Each field's rule and each list through set --as-typed (every text taken as the dialog's field
// takes it), then get and the stored value.
TEST_F(ToolSettingsTest, SetTypesIntoTheDialogsFieldsAndGetShowsWhatTheyStored)
{
    struct Case {
        Strings assignments;
        Strings mode;
        std::string key;
        std::string shown;    // get's line without "Key: "
        SettingValue stored;  // in the file
    };
    const Case cases[] = {
        // The half-step rule: clamped to 60, reduced to the half step, either separator.
        {{"BaseTot=61"}, kDealer, "BaseTot", "60.0 Min", 120},
        {{"BaseTot=2.7"}, kDealer, "BaseTot", "2.5 Min", 5},
        {{"BaseTot=2,5"}, kDealer, "BaseTot", "2.5 Min", 5},
        {{"BaseTot=0.4"}, kDealer, "BaseTot", "0.0 Min", 0},
        {{"BaseTot="}, kDealer, "BaseTot", "0.0 Min", 0},
        {{"BaseTot=2.5 Min"}, kDealer, "BaseTot", "2.5 Min", 5},          // the unit is not typed
        {{"BaseTot=99999999999999999999"}, kDealer, "BaseTot", "60.0 Min", 120},  // cut to 4 characters
        {{"BaseTot=1.2.3"}, kDealer, "BaseTot", "0.0 Min", 0},
        {{"BaseTot=-5"}, kDealer, "BaseTot", "5.0 Min", 10},              // the sign is not typed
        {{"BaseTot=abc"}, kDealer, "BaseTot", "0.0 Min", 0},
        {{"BaseTot=1e1"}, kDealer, "BaseTot", "11.0 Min", 22},
        {{"RepeatHangTime=-"}, kDealer, "RepeatHangTime", "0.0 Sec", 0},
        {{"RepeatHangTime=2"}, kDealer, "RepeatHangTime", "2.0 Sec", 4},
        // The guard rule: whole seconds to 360, down to even.
        {{"BaseGuardTime=7"}, kDealer, "BaseGuardTime", "6 Sec", 3},
        {{"BaseGuardTime=999"}, kDealer, "BaseGuardTime", "360 Sec", 180},
        {{"RepeatGuardTime=2.5"}, kDealer, "RepeatGuardTime", "24 Sec", 12},  // digits only: "25"
        // The frequency rule: 0 to 99.99 MHz, stored in 10 kHz.
        {{"IntermediateFreq=123"}, kManufacture, "IntermediateFreq", "99.99 MHz", 9999},
        {{"IntermediateFreq=1,5"}, kManufacture, "IntermediateFreq", "1.50 MHz", 150},
        {{"IntermediateFreq=1.2.3"}, kManufacture, "IntermediateFreq", "0.00 MHz", 0},
        {{"IntermediateFreq=1,5.0"}, kManufacture, "IntermediateFreq", "0.00 MHz", 0},
        {{"IntermediateFreq=0.29"}, kManufacture, "IntermediateFreq", "0.29 MHz", 29},
        {{"RxReferenceFreq=73.35 MHz"}, kManufacture, "RxReferenceFreq", "73.35 MHz", 7335},
        {{"TxReferenceFreq=\xc3\xa9\xe2\x82\xac"}, kManufacture, "TxReferenceFreq", "0.00 MHz", 0},
        // The CW ID number rule: unreadable gives the minimum, then clamped.
        {{"CwIdDotTime=5"}, kDealer, "CwIdDotTime", "20 msec", 20},
        {{"CwIdDotTime=300"}, kDealer, "CwIdDotTime", "255 msec", 255},
        {{"CwIdInterval=0"}, kDealer, "CwIdInterval", "30 sec", 30},
        {{"CwIdInterval=9999"}, kDealer, "CwIdInterval", "1800 sec", 1800},
        {{"CwIdToneFreq="}, kDealer, "CwIdToneFreq", "300 Hz", 300},
        // The CW ID text: printable ASCII kept as typed, at most 16.
        {{"CwIdText=de k1abc/r, qrz?"}, kDealer, "CwIdText", "de k1abc/r, qrz?", std::string("de k1abc/r, qrz?")},
        {{"CwIdText=caf\xc3\xa9 de k1abc and more"}, kDealer, "CwIdText", "caf de k1abc and", std::string("caf de k1abc and")},
        // The serial number: stored when valid, else the placeholder, which shows as zeros.
        {{"SerialNumber=5B230017"}, kManufacture, "SerialNumber", "5B230017", std::string("5B230017")},
        {{"SerialNumber=5b230017"}, kManufacture, "SerialNumber", "00000000", std::string("12345678")},
        {{"SerialNumber=123"}, kManufacture, "SerialNumber", "00000000", std::string("12345678")},
        {{"SerialNumber=5B230017999"}, kManufacture, "SerialNumber", "5B230017", std::string("5B230017")},
        // Lists: a name in any letter case.
        {{"MarketCode=usa"}, kManufacture, "MarketCode", "USA", 85},
        {{"Beep=disable"}, kDealer, "Beep", "Disable", 0},
        {{"HangOnAudio=NOIZE"}, kDealer, "HangOnAudio", "Noize", 0},
        {{"Accessory=high/low pwr"}, kDealer, "Accessory", "High/Low Pwr", 0},
        {{"Duplexer=Installed"}, kDealer, "Duplexer", "Installed", 1},
        {{"CwIdEnable=Enable"}, kDealer, "CwIdEnable", "Enable", 1},
        // The power-type bit through either dialog; get shows it as the hardware dialog does.
        {{"TxPowerType=25 w"}, kManufacture, "TxPowerType", "25 W", 0},
        {{"TxPowerType=Disable"}, kDealer, "TxPowerType", "25 W", 0},
        // One OK per dialog in the order of first assignment: the later dialog has the last word.
        {{"TxPowerType=Disable", "TxPowerType=50 W"}, kManufacture, "TxPowerType", "50 W", 1},
        {{"TxPowerType=50 W", "TxPowerType=Disable"}, kManufacture, "TxPowerType", "25 W", 0},
        // Two assignments to one dialog make one OK.
        {{"BaseTot=10", "BaseGuardTime=20"}, kDealer, "BaseGuardTime", "20 Sec", 10},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string file = NewFile("case" + std::to_string(n++) + ".q54");
        const std::string what = c.assignments.front();
        const ToolRun set = Set(file, c.assignments, Joined(c.mode, {"--as-typed"}));
        ASSERT_EQ(set.status, 0) << what << ": " << set.err;
        EXPECT_EQ(set.err, "") << what;
        EXPECT_EQ(Get(file, c.key), c.key + ": " + c.shown + "\n") << what;
        EXPECT_EQ(Show(Stored(Decoded(file), c.key)), Show(c.stored)) << what;
    }
}

// Without --as-typed a value must read as a value of its field: what the dialog would turn into
// another value is refused, naming what the field takes; what the field clamps or rounds is stored
// and named on stderr.
TEST_F(ToolSettingsTest, AValueThatIsNotOneOfTheFieldsIsRefusedAndAClampedOneNamed)
{
    const std::string tot = "which takes a number from 0.0 Min to 60.0 Min in steps of 0.5";
    const struct {
        Strings arguments;  // after the file
        std::string err;    // the start of stderr
    } refused[] = {
        {Joined({"BaseTot=abc"}, kDealer), "qm54 set: BaseTot=abc is not a value of its field, " + tot + ", \".\" or \",\" "
                                           "before the decimals; nothing was written\n"},
        {Joined({"BaseTot=1e1"}, kDealer), "qm54 set: BaseTot=1e1 is not a value of its field, " + tot},
        {Joined({"BaseTot="}, kDealer), "qm54 set: BaseTot= is not a value of its field, " + tot},
        {Joined({"Beep=Disable", "BaseTot=-5"}, kDealer), "qm54 set: BaseTot=-5 is not a value of its field"},
        {Joined({"RepeatHangTime=-"}, kDealer), "qm54 set: RepeatHangTime=- is not a value of its field, which takes "
                                                "a number from 0.0 Sec to 60.0 Sec"},
        {Joined({"RepeatGuardTime=2.5"}, kDealer), "qm54 set: RepeatGuardTime=2.5 is not a value of its field, which "
                                                   "takes a whole number from 0 Sec to 360 Sec in steps of 2"},
        {Joined({"CwIdToneFreq="}, kDealer), "qm54 set: CwIdToneFreq= is not a value of its field, which takes a whole "
                                             "number from 300 Hz to 3000 Hz"},
        {Joined({"IntermediateFreq=1.2.3"}, kManufacture), "qm54 set: IntermediateFreq=1.2.3 is not a value of its field"},
        {Joined({"SerialNumber=5b230017"}, kManufacture), "qm54 set: SerialNumber=5b230017 is not a value of its field, "
                                                          "which takes a serial number of 8 characters"},
        {Joined({"SerialNumber=5B230017999"}, kManufacture), "qm54 set: SerialNumber=5B230017999 is not a value"},
        {Joined({"CwIdText=caf\xc3\xa9"}, kDealer), "qm54 set: CwIdText=caf\xc3\xa9 is not a value of its field, which "
                                                    "takes at most 16 characters"},
        {Joined({"RxAdjustFreq[1]=abc"}, kDealer), "qm54 set: RxAdjustFreq[1]=abc is not a value of its field"},
        {Joined({"TxPowerAdjust[15]=3-"}, kDealer), "qm54 set: TxPowerAdjust[15]=3- is not a value of its field, "
                                                    "which takes a whole number from -128 to 127"},
    };
    const std::string file = NewFile("kept.q54");
    const std::string before = ReadText(file);
    for (const auto& c : refused) {
        const ToolRun run = RunTool(Joined({"set", file}, c.arguments));
        EXPECT_EQ(run.status, 1) << c.arguments.front() << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.arguments.front();
        EXPECT_EQ(ReadText(file), before) << c.arguments.front();
    }

    const struct {
        Strings arguments;
        std::string key;
        SettingValue stored;
        std::string err;  // all of stderr
    } taken[] = {
        {Joined({"BaseTot=61"}, kDealer), "BaseTot", 120, "qm54 set: BaseTot=61: stored as 60.0 Min, the largest\n"},
        {Joined({"BaseTot=2.7"}, kDealer), "BaseTot", 5, "qm54 set: BaseTot=2.7: stored as 2.5 Min, rounded as the field rounds\n"},
        {Joined({"BaseTot=2,5", "BaseGuardTime=10 Sec"}, kDealer), "BaseTot", 5, ""},
        {Joined({"BaseTot=2.5 Min"}, {"--mode", "Dealer"}), "BaseTot", 5, ""},
        {Joined({"CwIdDotTime=5"}, kDealer), "CwIdDotTime", 20, "qm54 set: CwIdDotTime=5: stored as 20 msec, the smallest\n"},
        {Joined({"SerialNumber=5B230017"}, kManufacture), "SerialNumber", std::string("5B230017"), ""},
        {Joined({"SqlThreshold[0]=300"}, kDealer), "SqlThreshold", 255,
         "qm54 set: SqlThreshold[0]=300: stored as 255, the largest\n"},
    };
    for (const auto& c : taken) {
        const std::string changed = NewFile("taken.q54");
        const ToolRun run = RunTool(Joined({"set", changed}, c.arguments));
        EXPECT_EQ(run.status, 0) << c.arguments.front() << ": " << run.err;
        EXPECT_EQ(run.err, c.err) << c.arguments.front();
        EXPECT_EQ(Show(Stored(Decoded(changed), c.key)), Show(c.stored)) << c.arguments.front();
    }
}

TEST_F(ToolSettingsTest, BandChangeGivesTheBandsDefaultIfAndFrequenciesUnlessIfIsGiven)
{
    struct Case {
        std::string band;  // of the file
        Strings assignments;
        Strings mode;
        std::string intermediate;  // as get shows it
        int64_t rxKhz;             // every channel
        int64_t txKhz;
    };
    const Case cases[] = {
        {"vhf", {"Band=UHF"}, kDealer, "73.35 MHz", 450000, 455000},
        {"uhf", {"Band=vhf"}, kDealer, "21.40 MHz", 161000, 166000},
        {"vhf", {"Band=UHF", "IntermediateFreq=45.5"}, kManufacture, "45.50 MHz", 450000, 455000},
        {"vhf", {"IntermediateFreq=45.5", "Band=UHF"}, kManufacture, "45.50 MHz", 450000, 455000},
        {"vhf", {"Band=VHF", "IntermediateFreq=45.5"}, kManufacture, "45.50 MHz", 161000, 166000},
    };
    for (const Case& c : cases) {
        const std::string file = NewFile("band.q54", c.band);
        const std::string what = c.band + " " + c.assignments.front();
        ASSERT_EQ(Set(file, c.assignments, c.mode).status, 0) << what;
        EXPECT_EQ(Get(file, "IntermediateFreq"), "IntermediateFreq: " + c.intermediate + "\n") << what;
        const TCEmem e = Decoded(file);
        for (int i = 0; i < qm54::TChannels::Count(); ++i) {
            EXPECT_EQ(Khz(e.Channels.Items(i).RxFreq), c.rxKhz) << what << " channel " << i + 1;
            EXPECT_EQ(Khz(e.Channels.Items(i).TxFreq), c.txKhz) << what << " channel " << i + 1;
        }
    }

    // The same band asks nothing: the IF and the channels stay.
    const std::string file = NewFile("same.q54", "vhf", [](TCEmem& e) {
        e.IntermediateFreq = 5000;
        e.Channels.Items(3).RxFreq.SetValue(150.5);
    });
    ASSERT_EQ(Set(file, {"Band=VHF", "Duplexer=Installed"}, kDealer).status, 0);
    const TCEmem e = Decoded(file);
    EXPECT_EQ(e.IntermediateFreq, 5000);
    EXPECT_EQ(Khz(e.Channels.Items(3).RxFreq), 150500);
    EXPECT_EQ(e.Duplexer, 1);

    // Another band and back, Yes to both questions: the band is as before, so the channels stay,
    // but the IF field holds the band's default IF, which OK stores.
    const std::string back = NewFile("back.q54", "vhf", [](TCEmem& e) {
        e.IntermediateFreq = 5000;
        e.Channels.Items(3).RxFreq.SetValue(150.5);
    });
    const ToolRun there = Set(back, {"Band=UHF", "Band=VHF"}, kDealer);
    ASSERT_EQ(there.status, 0) << there.err;
    EXPECT_EQ(there.out, "IntermediateFreq: 21.40 MHz\n");
    const TCEmem returned = Decoded(back);
    EXPECT_EQ(returned.Band, 0);
    EXPECT_EQ(returned.IntermediateFreq, 2140);
    EXPECT_EQ(Khz(returned.Channels.Items(3).RxFreq), 150500);

    // The band's alignment values come with it, and set lists what it changed.
    const std::string uhf = NewFile("uhf.q54");
    const ToolRun set = Set(uhf, {"Band=uhf"}, kDealer);
    EXPECT_NE(set.out.find("Band: UHF\n"), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("IntermediateFreq: 73.35 MHz\n"), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("RxAdjustFreq[0]: 450.0\n"), std::string::npos) << set.out;
    EXPECT_EQ(set.out.find("Duplexer"), std::string::npos) << set.out;
}

TEST_F(ToolSettingsTest, ChannelStepChangeMovesTheChannelsOntoTheNewRaster)
{
    const auto offRaster = [](TCEmem& e) {
        for (int i : {0, 1}) {
            e.Channels.Items(i).RxFreq.SetValue(150.003);
            e.Channels.Items(i).TxFreq.SetValue(150.003);
        }
        e.Channels.Items(1).TxInhibit = 1;  // the grid shows "Tx Inh" and reads no Tx frequency back
    };
    const std::string file = NewFile("step.q54", "vhf", offRaster);
    ASSERT_EQ(Set(file, {"ChannelStep=2.5/6.25KHZ"}, kDealer).status, 0);
    TCEmem e = Decoded(file);
    EXPECT_EQ(e.ChannelStep, 1);
    EXPECT_EQ(qm54::SnappedFrequencyText(1, e.Channels.Items(0).RxFreq.Value()), "150.00250");
    EXPECT_EQ(Khz(e.Channels.Items(0).RxFreq), 150002);
    EXPECT_EQ(Khz(e.Channels.Items(0).TxFreq), 150002);
    EXPECT_EQ(Khz(e.Channels.Items(1).RxFreq), 150002);
    EXPECT_EQ(Khz(e.Channels.Items(1).TxFreq), 150003);
    EXPECT_EQ(Khz(e.Channels.Items(2).RxFreq), 161000);

    // Without a step change no channel moves.
    const std::string kept = NewFile("kept.q54", "vhf", offRaster);
    ASSERT_EQ(Set(kept, {"ChannelStep=5/6.25kHz", "Duplexer=Installed"}, kDealer).status, 0);
    e = Decoded(kept);
    EXPECT_EQ(Khz(e.Channels.Items(0).RxFreq), 150003);
}

TEST_F(ToolSettingsTest, DialogOkSideEffectsReachChannelsAndUnassignedRows)
{
    // CW ID disabled turns CW-ID channels off and leaves ANI/ENI channels.
    const std::string cw = NewFile("cw.q54", "vhf", [](TCEmem& e) {
        e.CwIdEnable = 1;
        e.Channels.Items(0).IdMode = 2;
        e.Channels.Items(1).IdMode = 1;
        e.Channels.Items(5).IdMode = 2;
    });
    ASSERT_EQ(Set(cw, {"CwIdEnable=Disable"}, kDealer).status, 0);
    TCEmem e = Decoded(cw);
    EXPECT_EQ(e.CwIdEnable, 0);
    EXPECT_EQ(e.Channels.Items(0).IdMode, 0);
    EXPECT_EQ(e.Channels.Items(1).IdMode, 1);
    EXPECT_EQ(e.Channels.Items(5).IdMode, 0);

    // The timer dialog's OK stores every field as shown: a T.O.T outside the range comes back clamped.
    const std::string timer = NewFile("timer.q54", "vhf", [](TCEmem& e) { e.BaseTot = 200; });
    EXPECT_EQ(Get(timer, "BaseTot"), "BaseTot: 60.0 Min\n");
    ASSERT_EQ(Set(timer, {"RepeatTot=1"}, kDealer).status, 0);
    e = Decoded(timer);
    EXPECT_EQ(e.BaseTot, 120);
    EXPECT_EQ(e.RepeatTot, 2);

    // The market dialog's OK validates the serial number it did not edit.
    const std::string market = NewFile("market.q54", "vhf", [](TCEmem& e) { e.SerialNumber = "5O230017"; });
    ASSERT_EQ(Set(market, {"MarketCode=USA"}, kManufacture).status, 0);
    e = Decoded(market);
    EXPECT_EQ(e.SerialNumber, "12345678");
    EXPECT_EQ(e.MarketCode, 85);
}

TEST_F(ToolSettingsTest, SetPrintsWhatChangedAndWritesNothingWhenNothingDid)
{
    const std::string file = NewFile("out.q54");
    const ToolRun set = Set(file, {"BaseTot=61", "Beep=disable", "Monitor=Enable"}, kDealer);
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out, "Beep: Disable\nBaseTot: 60.0 Min\n");

    // Every stored value that changed, also one that shows as it did: a stored value outside its
    // field's range shows clamped, so both stored values are named.
    const std::string hidden = NewFile("hidden.q54", "vhf", [](TCEmem& e) {
        e.FiveToneTable[3] = 600;
        e.MarketCode = 7;
    });
    const ToolRun tone = Set(hidden, {"FiveToneTable[3]=625", "MarketCode=EXP"}, kManufacture);
    ASSERT_EQ(tone.status, 0) << tone.err;
    EXPECT_NE(tone.out.find("FiveToneTable[3]: 625 Hz (stored 625, was 600)\n"), std::string::npos) << tone.out;
    EXPECT_NE(tone.out.find("MarketCode: EXP (stored 0, was 7)\n"), std::string::npos) << tone.out;

    const std::string before = ReadText(file);
    const ino_t inode = Inode(file);
    const ToolRun same = Set(file, {"BaseTot=60", "Band=VHF"}, kDealer);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(ReadText(file), before);
    EXPECT_EQ(Inode(file), inode);
}

// Every refusal names its reason, gives exit 1 or 2 and leaves the file as it was, not even
// replaced by a copy.
TEST_F(ToolSettingsTest, RefusalsAndUsageErrorsLeaveTheFileAsItWas)
{
    struct Case {
        Strings arguments;  // after the file
        int status;
        std::string err;  // the start of stderr
    };
    const Case cases[] = {
        {{"Beep=Enable"}, 1, "qm54 set: Beep can be set in the Dealer and Manufacture modes only"},
        {Joined({"Beep=Enable"}, {"--mode", "normal"}), 1, "qm54 set: Beep can be set in the Dealer and Manufacture modes only"},
        {{"TxPowerType=Enable"}, 1, "qm54 set: TxPowerType can be set in the Dealer and Manufacture modes only"},
        {Joined({"IntermediateFreq=21.4"}, kDealer), 1, "qm54 set: IntermediateFreq can be set in the Manufacture mode only"},
        {Joined({"TxPowerType=50 W"}, kDealer), 1, "qm54 set: TxPowerType can be set in the Manufacture mode only"},
        {Joined({"SerialNumber=5B230017"}, kDealer), 1, "qm54 set: SerialNumber can be set in the Manufacture mode only"},
        {Joined({"MarketCode=USA"}, kDealer), 1, "qm54 set: MarketCode can be set in the Manufacture mode only"},
        // An accepted assignment is not written when a later one is refused.
        {Joined({"Beep=Disable", "RxReferenceFreq=1"}, kDealer), 1, "qm54 set: RxReferenceFreq can be set in the Manufacture mode only"},
        {Joined({"Beep=maybe"}, kDealer), 1, "qm54 set: Beep cannot be \"maybe\"; the choices are \"Disable\", \"Enable\""},
        {Joined({"TxPowerType=60 W"}, kManufacture), 1,
         "qm54 set: TxPowerType cannot be \"60 W\"; the choices are \"25 W\", \"50 W\", \"Disable\", \"Enable\""},
        {Joined({"MarketCode=85"}, kManufacture), 1, "qm54 set: MarketCode cannot be \"85\"; the choices are \"EXP\", \"USA\""},
        {Joined({"Band="}, kDealer), 1, "qm54 set: Band cannot be \"\"; the choices are \"VHF\", \"UHF\""},
        {Joined({"FirmwareVersion=5"}, kManufacture), 1, "qm54 set: FirmwareVersion cannot be set yet: no settings dialog edits it"},
        {{"Beep=Enable", "--mode", "manufacture", "--factory-code", "tidewater-72"}, 1,
         "qm54 set: the factory code is not right"},
        {Joined({"Beep"}, kDealer), 2, "qm54 set: \"Beep\" is not KEY=VALUE"},
        {Joined({"=Enable"}, kDealer), 2, "qm54 set: \"=Enable\" is not KEY=VALUE"},
        {Joined({"Beep=Enable", "Bleep=Enable"}, kDealer), 2, "qm54 set: unknown setting \"Bleep\""},
        {Joined({"beep=Enable"}, kDealer), 2, "qm54 set: unknown setting \"beep\""},
        {{"Beep=Enable", "--mode", "admin"}, 2, "qm54 set: --mode is normal, dealer or manufacture"},
        {{"Beep=Enable", "--mode", "dealers"}, 2, "qm54 set: --mode is normal, dealer or manufacture"},
        {kDealer, 2, "qm54 set: give a FILE and at least one KEY=VALUE"},
    };
    const std::string file = NewFile("kept.q54");
    const std::string before = ReadText(file);
    const ino_t inode = Inode(file);
    for (const Case& c : cases) {
        const std::string what = c.arguments.front();
        const ToolRun run = RunTool(Joined({"set", file}, c.arguments));
        EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << what;
        EXPECT_EQ(run.out, "") << what;
        EXPECT_EQ(ReadText(file), before) << what;
        EXPECT_EQ(Inode(file), inode) << what;
    }
}

TEST_F(ToolSettingsTest, GetPrintsEverySettingAsRecordedOrTheKeysGivenInTheirOrder)
{
    const std::string file = NewFile("a.q54");
    const ToolRun all = RunTool({"get", file});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, ReadText(std::string(QM54_FIXTURES) + "/get_new_vhf.txt"));

    const ToolRun some = RunTool({"get", file, "TxPowerType", "Band", "RxTuning", "TxPowerType"});
    ASSERT_EQ(some.status, 0) << some.err;
    EXPECT_EQ(some.out, "TxPowerType: 50 W\nBand: VHF\nRxTuning[0]: 44\nRxTuning[1]: 128\nRxTuning[2]: 186\n"
                        "RxTuning[3]: 218\nTxPowerType: 50 W\n");
}

TEST_F(ToolSettingsTest, GetAndSetFailuresGiveTheirExitStatusAndMessage)
{
    const std::string file = NewFile("a.q54");
    const std::string missing = dir_.File("missing.q54");
    const std::string shortFile = dir_.File("short.q54");
    WriteText(shortFile, std::string(1985, '\0'));
    struct Case {
        Strings args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"get", file, "Band", "Bandwidth"}, 2, "qm54 get: unknown setting \"Bandwidth\""},
        {{"get"}, 2, "qm54 get: give a FILE and any KEYs"},
        {{"get", missing}, 1, "File read error  File Name = " + missing + "\n  No such file or directory\n"},
        {{"get", shortFile, "Band"}, 1, "The file cannot be opened.\nThe file format is not correct.\n"},
        {{"set", missing, "Beep=Enable", "--mode", "dealer"}, 1,
         "File read error  File Name = " + missing + "\n  No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.size() << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    const ToolRun help = RunTool({"set", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: qm54 set FILE KEY=VALUE... [--mode normal|dealer|manufacture] [--factory-code CODE] [--as-typed]\n", 0), 0u);
    EXPECT_EQ(RunTool({"get", "--help"}).out.rfind("usage: qm54 get FILE [KEY...]\n", 0), 0u);
}

}  // namespace
