#include "model/settings/dialog_rows.h"

#include <gtest/gtest.h>

#include "model/image/tables.h"

namespace {

using namespace qm54;

TCEmem Defaults()
{
    TCEmem emem;
    SetDefaults(emem);
    return emem;
}

TEST(DialogRows, EveryRowNamesASettingOfItsKindAndEveryListFitsItsRange)
{
    for (const DialogTable& dialog : AllDialogs()) {
        for (const DialogRow& row : dialog.Rows) {
            const SettingRow* setting = FindSetting(row.Key());
            ASSERT_NE(setting, nullptr) << row.Key();
            if (row.Control == RowControl::Edit) {
                ASSERT_NE(row.Rule, nullptr) << row.Key();
                EXPECT_EQ(IsTextRule(*row.Rule), setting->Kind == SettingKind::Text || setting->Kind == SettingKind::HexCode)
                    << row.Key();
                EXPECT_LT(row.Item, setting->Count()) << row.Key();
                continue;
            }
            ASSERT_GT(row.ListCount(), 0) << row.Key();
            if (row.Control == RowControl::BitPairList) {
                // Index = receive bit + 2 x transmit bit, over two 0/1 settings.
                ASSERT_NE(row.PairSetting(), nullptr) << row.Key();
                EXPECT_EQ(row.ListCount(), 4) << row.Key();
                EXPECT_EQ(setting->Max, 1) << row.Key();
                EXPECT_EQ(row.PairSetting()->Max, 1) << row.Key();
                continue;
            }
            if (setting->Kind == SettingKind::ToneSetName) {  // shows the matching set, stores nothing
                ASSERT_EQ(row.ListCount(), FiveToneSetCount);
                for (int i = 0; i < row.ListCount(); ++i) EXPECT_EQ(row.ListName(i), FiveToneSets[size_t(i)].Name);
                continue;
            }
            for (int i = 0; i < row.ListCount(); ++i) {
                EXPECT_FALSE(row.ListName(i).empty()) << row.Key();
                EXPECT_EQ(row.IndexOfStored(row.StoredOfIndex(i)), i) << row.Key();
                EXPECT_GE(row.StoredOfIndex(i), setting->Min) << row.Key();
                EXPECT_LE(row.StoredOfIndex(i), setting->Max) << row.Key();
            }
        }
    }
}

TEST(DialogRows, ShownValuesOfTheDefaults)
{
    const TCEmem e = Defaults();
    const struct {
        const char* key;
        const char* shown;
    } cases[] = {
        {"Band", "VHF"},           {"IntermediateFreq", "21.40 MHz"}, {"ChannelStep", "5/6.25kHz"},
        {"TxPowerType", "50 W"},   {"HangOnAudio", "Quiet"},          {"BaseTot", "3.0 Min"},
        {"RepeatGuardTime", "10 Sec"}, {"RepeatHangTime", "2.0 Sec"}, {"CwIdEnable", "Disable"},
        {"CwIdDotTime", "50 msec"}, {"CwIdInterval", "600 sec"},     {"CwIdToneFreq", "600 Hz"},
        {"CwIdText", "0000000000000000"}, {"SerialNumber", "00000000"}, {"MarketCode", "EXP"},
    };
    for (const auto& c : cases) {
        const DialogRowRef ref = FindDialogRow(c.key);
        ASSERT_NE(ref.Row, nullptr) << c.key;
        EXPECT_EQ(ShownValue(ref, e), c.shown) << c.key;
    }
    // The radio status dialog shows the power-type bit as its own choice.
    const std::vector<DialogRowRef> power = FindDialogRows("TxPowerType");
    ASSERT_EQ(power.size(), 2u);
    EXPECT_EQ(power[0].Dialog->Id, DialogId::Hardware);
    EXPECT_EQ(power[1].Dialog->Id, DialogId::RadioStatus);
    EXPECT_EQ(power[1].Row, &Dialog(DialogId::RadioStatus).Rows[static_cast<size_t>(power[1].Index)]);
    EXPECT_EQ(ShownValue(power[1], e), "Enable");
    EXPECT_TRUE(FindDialogRows("NsqThreshold").empty());
}

TEST(DialogRows, OkUnchangedLeavesModifiedAndAChangedBackValueToo)
{
    for (const DialogTable& dialog : AllDialogs()) {
        TCEmem e = Defaults();
        e.SerialNumber = "5B230017";
        const TCEmem before = e;
        const DialogOk ok = ApplyDialog(dialog, ShowDialog(dialog, e), e);
        EXPECT_FALSE(ok.Modified) << dialog.Caption;
        EXPECT_TRUE(e == before) << dialog.Caption;
    }
    TCEmem e = Defaults();
    const DialogTable& timer = Dialog(DialogId::Timer);
    DialogState state = ShowDialog(timer, e);
    state[0].Text = "5";
    state[0].Text = "3.0 Min";  // changed and changed back
    EXPECT_FALSE(ApplyDialog(timer, state, e).Modified);
}

TEST(DialogRows, OkStoresClampedValuesAndRunsTheDialogsSideEffects)
{
    TCEmem e = Defaults();
    e.BaseTot = 200;  // outside the dialog's range
    const DialogTable& timer = Dialog(DialogId::Timer);
    DialogState state = ShowDialog(timer, e);
    EXPECT_EQ(state[0].Text, "60.0 Min");
    state[1].Text = "999";
    EXPECT_TRUE(ApplyDialog(timer, state, e).Modified);
    EXPECT_EQ(e.BaseTot, 120);
    EXPECT_EQ(e.BaseGuardTime, 180);

    e = Defaults();
    e.CwIdEnable = 1;
    e.Channels.Items(0).IdMode = 2;
    e.Channels.Items(1).IdMode = 1;
    const DialogTable& cw = Dialog(DialogId::CwId);
    state = ShowDialog(cw, e);
    state[0].Index = 0;  // Disable
    EXPECT_TRUE(ApplyDialog(cw, state, e).Modified);
    EXPECT_EQ(e.Channels.Items(0).IdMode, 0);
    EXPECT_EQ(e.Channels.Items(1).IdMode, 1);
    state = ShowDialog(cw, e);
    state[0].Index = 1;  // Enable changes no channel
    e.Channels.Items(2).IdMode = 2;
    ApplyDialog(cw, state, e);
    EXPECT_EQ(e.Channels.Items(2).IdMode, 2);

    e = Defaults();
    e.SerialNumber = "5b230017";  // not valid
    e.MarketCode = 7;
    const DialogTable& market = Dialog(DialogId::Market);
    EXPECT_TRUE(ApplyDialog(market, ShowDialog(market, e), e).Modified);
    EXPECT_EQ(e.SerialNumber, "12345678");
    EXPECT_EQ(e.MarketCode, 0);

    e = Defaults();
    const DialogTable& hardware = Dialog(DialogId::Hardware);
    state = ShowDialog(hardware, e);
    state[0].Index = BandUhf;
    const DialogOk ok = ApplyDialog(hardware, state, e);
    EXPECT_TRUE(ok.BandChanged);
    EXPECT_TRUE(ok.Modified);
    EXPECT_EQ(e.Band, BandUhf);
}

TEST(DialogRows, TextTypedIntoAFieldPassesItsFilterAndLength)
{
    EXPECT_EQ(TypedIntoField(*FindDialogRow("BaseTot").Row->Rule, "2.5 Min"), "2.5");
    EXPECT_EQ(TypedIntoField(*FindDialogRow("IntermediateFreq").Row->Rule, "73.35 MHz"), "73.35");
    EXPECT_EQ(TypedIntoField(*FindDialogRow("BaseGuardTime").Row->Rule, "1234"), "123");
    EXPECT_EQ(TypedIntoField(*FindDialogRow("CwIdText").Row->Rule, "caf\xc3\xa9 de k1abc\tand more"), "caf de k1abcand ");
    EXPECT_EQ(MayEdit(EditableIn::Manufacture, OperatingMode::Dealer), false);
    EXPECT_EQ(MayEdit(EditableIn::DealerAndManufacture, OperatingMode::Dealer), true);
    EXPECT_EQ(MayEdit(EditableIn::DealerAndManufacture, OperatingMode::Normal), false);
}

}  // namespace
