// show's JSON applied back: the round trip on the default and random programmings, the all or
// nothing rule, and errors that name the JSON path, the value and what is allowed; then the
// differences of two programmings.
#include "cli/verbs.h"
#include "model/channels/channel_fields.h"
#include "model/channels/channel_rules.h"
#include "model/settings/dialog_behaviour.h"
#include "model/settings/settings_table.h"
#include "model/document/json_apply.h"
#include "model/image/map54.h"
#include "model/document/programming_diff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace qm54;

TCEmem Defaults()
{
    TCEmem emem;
    SetDefaults(emem);
    return emem;
}

// What a decoded programming holds once its split flags follow its frequencies.
TCEmem WithDerivedFlags(TCEmem emem)
{
    for (int i = 0; i < TChannels::Count(); ++i) DeriveSplitFlags(emem.Channels.Items(i));
    return emem;
}

// A programming with every setting and channel field at a random value of its stored range, as
// an image holds it (encoded and decoded again).
TCEmem RandomProgramming(std::mt19937& random, TMap54& map)
{
    auto in = [&random](int64_t low, int64_t high) { return std::uniform_int_distribution<int64_t>(low, high)(random); };
    TCEmem emem = Defaults();
    for (const SettingRow& row : SettingsTable()) {
        if (row.ReadOnly || row.Kind == SettingKind::ToneSetName) continue;
        for (int i = 0; i < row.Count(); ++i) {
            SettingValue value;
            switch (row.Kind) {
            case SettingKind::Number:
            case SettingKind::Choice:
            case SettingKind::HexDigit:
                value = static_cast<int32_t>(in(row.Min, row.Max));
                break;
            case SettingKind::AlignmentFrequency: {
                TDecimal mhz;
                mhz.SetValue(static_cast<double>(in(0, 9999)) / 10.0);
                value = mhz;
                break;
            }
            case SettingKind::HexCode:
            case SettingKind::Text: {
                std::string text;
                const int64_t length = row.Kind == SettingKind::HexCode ? row.MaxLength : in(0, row.MaxLength);
                for (int64_t k = 0; k < length; ++k)
                    text += row.Kind == SettingKind::HexCode ? "0123456789ABCDEF"[in(0, 15)] : static_cast<char>(in(32, 126));
                value = text;
                break;
            }
            case SettingKind::ToneSetName:
                break;
            }
            (void)SetSetting(emem, row, i, value);  // a serial number that does not validate stays as it was
        }
    }
    // The alignment points in their order, Lowest to Highest, and every channel frequency within
    // them: the band's limits, which an applied frequency is held to.
    std::sort(emem.RxAdjustFreq.begin(), emem.RxAdjustFreq.end(),
              [](const TDecimal& a, const TDecimal& b) { return a.Value() < b.Value(); });
    std::sort(emem.TxAdjustFreq.begin(), emem.TxAdjustFreq.end(),
              [](const TDecimal& a, const TDecimal& b) { return a.Value() < b.Value(); });
    auto khzBetween = [&in](const TDecimal& low, const TDecimal& high) {
        return static_cast<double>(in(low.ScaledTrunc(3), high.ScaledTrunc(3))) / 1000.0;
    };
    for (int c = 0; c < TChannels::Count(); ++c) {
        TChannel& ch = emem.Channels.Items(c);
        for (const ChannelFieldRow& row : ChannelFieldTable()) {
            if (row.Derived) continue;
            if (const auto* number = std::get_if<ChannelIntMember>(&row.Member))
                ch.**number = static_cast<int32_t>(in(row.Min, row.Max));
            else if (const auto* slots = std::get_if<ChannelSlotsMember>(&row.Member))
                for (int32_t& v : ch.**slots) v = static_cast<int32_t>(in(row.Min, row.Max));
        }
        ch.RxFreq.SetValue(khzBetween(emem.RxAdjustFreq[0], emem.RxAdjustFreq[3]));
        ch.TxFreq.SetValue(khzBetween(emem.TxAdjustFreq[0], emem.TxAdjustFreq[3]));
    }
    (void)map.Encode(emem);
    TCEmem decoded;
    (void)map.Decode(decoded);
    return decoded;
}

TEST(JsonApply, ShowOutputAppliedToANewProgrammingReproducesIt)
{
    std::mt19937 random(4150);
    for (int round = 0; round < 200; ++round) {
        TMap54 map;
        TCEmem original;
        if (round == 0)
            (void)map.Decode(original);  // the reset image
        else
            original = RandomProgramming(random, map);
        const std::string json = cli::ShowJson(original, map).Dump();

        TCEmem applied = Defaults();
        const JsonApplyResult result = ApplyJson(json, applied);
        ASSERT_EQ(result.Outcome, JsonApplyOutcome::Applied) << "round " << round << ": " << result.Error;
        // Everything but the read-only model name and firmware version, the split flags worked
        // out again from the frequencies.
        TCEmem expected = WithDerivedFlags(original);
        expected.ModelName = applied.ModelName;
        expected.FirmwareVersion = applied.FirmwareVersion;
        ASSERT_TRUE(applied == expected) << "round " << round;
    }
}

TEST(JsonApply, ASubsetOfKeysChangesOnlyThose)
{
    TCEmem emem = Defaults();
    const JsonApplyResult result = ApplyJson(R"({"BaseTot": 4, "AlphaTagText": ["A", "", "", "", "", "", "", "", "",
        "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "", "", "", "", "", "", "", "", "", "", "", ""], "Channels": [{"Number": 3, "InUse": 1,
        "RxFreq": {"kHz": 150500}, "TxFreq": {"MHz": "150.52000"}}], "FiveToneSet": "CCIR"})",
                                             emem);
    ASSERT_EQ(result.Outcome, JsonApplyOutcome::Applied) << result.Error;
    TCEmem expected = Defaults();
    expected.BaseTot = 4;
    expected.AlphaTagText[0] = "A";
    TChannel& ch = expected.Channels.Items(2);
    ch.InUse = 1;
    ch.RxFreq.SetValue(150.5);
    ch.TxFreq.SetValue(150.52);
    DeriveSplitFlags(ch);
    expected.FiveToneTable = emem.FiveToneTable;
    EXPECT_TRUE(emem == expected);
    EXPECT_EQ(emem.FiveToneTable[0], 1981);  // CCIR loaded
    EXPECT_EQ(emem.Channels.Items(2).CloseSplit, 1);
}

TEST(JsonApply, ErrorsNameThePathAndLeaveTheProgrammingAsItWas)
{
    struct Case {
        const char* json;
        JsonApplyOutcome outcome;
        const char* error;  // the start of the message
    };
    const Case cases[] = {
        {R"({"BaseTot": 4, "Beep": 7})", JsonApplyOutcome::Refused, "Beep: 7 is not allowed: one of 0 (Disable), 1 (Enable)"},
        {R"({"BaseTot": "4"})", JsonApplyOutcome::Refused, "BaseTot: \"4\" is not a whole number"},
        {R"({"Bleep": 1})", JsonApplyOutcome::Refused, "Bleep: there is no such setting"},
        {R"({"RxAdjustFreq": [1, 2, 3]})", JsonApplyOutcome::Refused, "RxAdjustFreq: [1,2,3] is not a list of 4 values"},
        {R"({"RxAdjustFreq": [150.05, 160, 170, 174]})", JsonApplyOutcome::Refused, "RxAdjustFreq[0]: 150.05 is not allowed"},
        {R"({"SerialNumber": "123456789"})", JsonApplyOutcome::Refused, "SerialNumber: \"123456789\" is not allowed"},
        {R"({"Channels": [{}, {"TxPower": 7}]})", JsonApplyOutcome::Refused, "Channels[1].TxPower: 7 is outside 0 to"},
        {R"({"Channels": [{"Number": 17}]})", JsonApplyOutcome::Refused, "Channels[0].Number: 17 is outside 1 to 16"},
        {R"({"Channels": [{"RxFreq": {"kHz": 1000000}}]})", JsonApplyOutcome::Refused, "Channels[0].RxFreq.kHz: 1000000 is outside 0 to 999999"},
        {R"({"Channels": [{"DecodeTone": [1]}]})", JsonApplyOutcome::Refused, "Channels[0].DecodeTone: [1] is not a list of 16 values"},
        {R"({"Channels": [{"Colour": 1}]})", JsonApplyOutcome::Refused, "Channels[0].Colour: there is no such channel setting"},
        {R"({"FiveToneTable": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16], "FiveToneSet": "ZVEI1"})",
         JsonApplyOutcome::Refused, "FiveToneSet: \"ZVEI1\" is not the set FiveToneTable matches (USER)"},
        {R"({"FiveToneSet": "USER"})", JsonApplyOutcome::Refused, "FiveToneSet: \"USER\" is not allowed"},
        // Channel frequencies are held to the band (VHF: 150 to 174 MHz), as the grid holds them.
        {R"({"Channels": [{"Number": 1, "RxFreq": {"MHz": "446.0"}, "TxFreq": {"MHz": "20.0"}}]})",
         JsonApplyOutcome::Refused, "Channels[0].RxFreq: {\"MHz\":\"446.0\"} is outside the band, 150.00000 to 174.00000 MHz"},
        {R"({"Channels": [{"TxFreq": {"kHz": 149999}}]})", JsonApplyOutcome::Refused,
         "Channels[0].TxFreq: {\"kHz\":149999} is outside the band, 150.00000 to 174.00000 MHz"},
        {R"({"Channels": [{"RxFreq": {"MHz": "abc"}}]})", JsonApplyOutcome::Refused,
         "Channels[0].RxFreq.MHz: \"abc\" is not a frequency in MHz"},
        {R"({"Channels": [{"RxFreq": {"MHz": "162.00000", "kHz": 161000}}]})", JsonApplyOutcome::Refused,
         "Channels[0].RxFreq: {\"MHz\":\"162.00000\",\"kHz\":161000} gives MHz and kHz of two frequencies"},
        // A number beyond 64 bits is a whole number out of range; one that would wrap to -1 is no -1.
        {R"({"BaseTot": 99999999999999999999})", JsonApplyOutcome::Refused, "BaseTot: 1e+20 is out of range: 0 to 255"},
        {R"({"TxPowerAdjust": [18446744073709551615, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]})",
         JsonApplyOutcome::Refused, "TxPowerAdjust[0]: 18446744073709551615 is out of range: -128 to 127"},
        {R"({"Channels": [{"NsqLevel": -99999999999999999999}]})", JsonApplyOutcome::Refused,
         "Channels[0].NsqLevel: -1e+20 is outside 0 to 255"},
        // A key given twice is named by its path, wherever it is.
        {R"({"BaseTot": 4, "BaseTot": 5})", JsonApplyOutcome::Refused, "BaseTot: the key is given twice"},
        {R"({"Channels": [{}, {"TxPower": 1, "RxFreq": {"kHz": 161000, "kHz": 162000}}]})", JsonApplyOutcome::Refused,
         "Channels[1].RxFreq.kHz: the key is given twice"},
        {R"({"AlphaTagText": [], "Channels": [[{"a": 1}], {"Number": 2, "Number": 3}]})", JsonApplyOutcome::Refused,
         "Channels[1].Number: the key is given twice"},
        {R"([1, 2])", JsonApplyOutcome::NotJson, "the JSON text is not an object of settings"},
        {R"({"BaseTot": )", JsonApplyOutcome::NotJson, "[json.exception.parse_error"},
        {"", JsonApplyOutcome::NotJson, "[json.exception.parse_error"},
    };
    for (const Case& c : cases) {
        TCEmem emem = Defaults();
        const JsonApplyResult result = ApplyJson(c.json, emem);
        EXPECT_EQ(result.Outcome, c.outcome) << c.json;
        EXPECT_EQ(result.Error.substr(0, std::string(c.error).size()), c.error) << c.json << " gave " << result.Error;
        EXPECT_TRUE(emem == Defaults()) << c.json;
    }
}

// A frequency the channel already holds is no change, even outside the band (as an Upload may
// bring): show's text of such a programming applies back onto it, and MHz and kHz of one
// off-raster stored frequency, as show prints them, are the same frequency.
TEST(JsonApply, AFrequencyTheChannelAlreadyHoldsIsTakenOutsideTheBand)
{
    TMap54 map;
    TCEmem held = Defaults();
    held.Channels.Items(1).RxFreq.SetValue(446.0);
    held.Channels.Items(1).TxFreq.SetValue(150.003);  // shown 150.00500 on the 5/6.25 kHz raster
    DeriveSplitFlags(held.Channels.Items(1));
    TCEmem applied = held;
    JsonApplyResult result = ApplyJson(cli::ShowJson(held, map).Dump(), applied);
    ASSERT_EQ(result.Outcome, JsonApplyOutcome::Applied) << result.Error;
    EXPECT_TRUE(applied.Channels == held.Channels);

    result = ApplyJson(R"({"Channels": [{"Number": 2, "RxFreq": {"MHz": 446}, "TxFreq": {"MHz": "150.00500", "kHz": 150003}}]})", applied);
    ASSERT_EQ(result.Outcome, JsonApplyOutcome::Applied) << result.Error;
    EXPECT_TRUE(applied.Channels == held.Channels);

    // Another out-of-band value for that channel is a change, and refused.
    result = ApplyJson(R"({"Channels": [{"Number": 2, "RxFreq": {"MHz": 447}}]})", applied);
    EXPECT_EQ(result.Outcome, JsonApplyOutcome::Refused);
    EXPECT_EQ(result.Error, "Channels[0].RxFreq: {\"MHz\":447} is outside the band, 150.00000 to 174.00000 MHz");
}

// "Band" runs the hardware dialog's band change first (the band's IF, alignment and channel
// frequencies, as qm54 set Band=UHF does), then every other key given is applied over it, and
// the channel frequencies are held to the new band.
TEST(JsonApply, ABandChangeBringsTheBandsDefaultsAndTheOtherKeysGoOverThem)
{
    TCEmem uhf = Defaults();
    ChangeBandAsHardwareOk(uhf, BandUhf);
    EXPECT_EQ(uhf.Band, BandUhf);
    EXPECT_EQ(uhf.IntermediateFreq, 7335);
    EXPECT_DOUBLE_EQ(uhf.Channels.Items(5).RxFreq.Value(), 450.0);
    EXPECT_DOUBLE_EQ(uhf.GetTxAdjustFreq(3).Value(), 480.0);
    EXPECT_EQ(uhf.TxPowerHigh[0], 173);

    TCEmem emem = Defaults();
    JsonApplyResult result = ApplyJson(R"({"Band": 1})", emem);
    ASSERT_EQ(result.Outcome, JsonApplyOutcome::Applied) << result.Error;
    EXPECT_TRUE(emem == uhf);

    emem = Defaults();
    result = ApplyJson(R"({"SqlHysteresis": 33, "IntermediateFreq": 7000, "Band": 1,
                           "Channels": [{"Number": 2, "RxFreq": {"MHz": "460.0"}}]})", emem);
    ASSERT_EQ(result.Outcome, JsonApplyOutcome::Applied) << result.Error;
    TCEmem expected = uhf;
    expected.SqlHysteresis = 33;
    expected.IntermediateFreq = 7000;
    expected.Channels.Items(1).RxFreq.SetValue(460.0);
    DeriveSplitFlags(expected.Channels.Items(1));
    EXPECT_TRUE(emem == expected);

    // A VHF frequency given with the change to UHF is outside the new band; the band given again
    // changes nothing.
    emem = Defaults();
    result = ApplyJson(R"({"Band": 1, "Channels": [{"RxFreq": {"MHz": "161.5"}}]})", emem);
    EXPECT_EQ(result.Outcome, JsonApplyOutcome::Refused);
    EXPECT_EQ(result.Error.substr(0, 55), "Channels[0].RxFreq: {\"MHz\":\"161.5\"} is outside the band");
    EXPECT_TRUE(emem == Defaults());
    TCEmem edited = Defaults();
    edited.IntermediateFreq = 2000;
    emem = edited;
    ASSERT_EQ(ApplyJson(R"({"Band": 0})", emem).Outcome, JsonApplyOutcome::Applied);
    EXPECT_TRUE(emem == edited);
}

TEST(ProgrammingDiff, NamesEveryDifferenceAsTheDialogsAndTheGridShowIt)
{
    TMap54 map;
    TCEmem a = Defaults();
    (void)map.Encode(a);
    EXPECT_TRUE(DiffProgrammings(a, map, a, map).empty());

    TCEmem b = a;
    b.BaseTot = 5;
    b.BaseGuardTime = 200;  // shows clamped, like 181 would
    TCEmem c = a;
    c.BaseGuardTime = 190;
    b.Channels.Items(2).RxFreq.SetValue(150.5);
    b.Channels.Items(4).DecodeTone[3] = 7;  // a slot the grid does not show
    b.AlphaTagCode[1] = 12;
    TMap54 mapB;
    (void)mapB.Encode(b);
    mapB.Bytes()[0x017] ^= 0x01;  // a byte no setting holds
    std::vector<std::string> lines;
    for (const Difference& d : DiffProgrammings(a, map, b, mapB)) lines.push_back(DifferenceLine(d));
    const std::vector<std::string> expected = {
        "BaseTot: 3.0 Min | 2.5 Min",
        "BaseGuardTime: 2 Sec | 360 Sec",
        "Channel 3 Rx Freq: " + std::string(lines.size() > 2 ? lines[2].substr(19, 9) : "") + " | 150.50000",
        "Channel 5 DecodeTone[3]: 0 | 7",
        "AlphaTagCode[1]: ---- | 0012",
    };
    ASSERT_GE(lines.size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]);
    EXPECT_EQ(lines.back(), "Byte 0x017: 00 | 01");

    // Two values that show alike are told apart by what is stored.
    const std::vector<Difference> clamped = DiffProgrammings(b, mapB, c, map);
    bool found = false;
    for (const Difference& d : clamped)
        if (d.Name == "BaseGuardTime") {
            found = true;
            EXPECT_EQ(d.A, "360 Sec (stored 200)");
            EXPECT_EQ(d.B, "360 Sec (stored 190)");
        }
    EXPECT_TRUE(found);
}

}  // namespace
