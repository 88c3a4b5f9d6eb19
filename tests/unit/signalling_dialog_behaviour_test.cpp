// The signalling type, ANI, ENI and 5-tone table dialogs as rows and behaviour, without Qt: what
// typed text becomes, which controls grey out, what a list choice does to the others, and what
// OK stores.
#include "model/settings/dialog_behaviour.h"
#include "model/settings/dialog_rows.h"
#include "model/image/tables.h"

#include <gtest/gtest.h>

namespace {

using namespace qm54;

TCEmem Defaults()
{
    TCEmem emem;
    SetDefaults(emem);
    return emem;
}

int RowIn(const DialogTable& dialog, std::string_view name)
{
    for (size_t i = 0; i < dialog.Rows.size(); ++i)
        if (dialog.Rows[i].RowName() == name) return static_cast<int>(i);
    ADD_FAILURE() << "no row " << name;
    return 0;
}

RowState& At(DialogState& state, const DialogTable& dialog, std::string_view name)
{
    return state[static_cast<size_t>(RowIn(dialog, name))];
}

// Types text into a field of a shown dialog and commits it, as the user (and qm54 set) does.
void Type(const DialogTable& dialog, DialogState& state, std::string_view name, std::string_view text)
{
    const int row = RowIn(dialog, name);
    CommitRowText(dialog, state, row, TypedIntoField(*dialog.Rows[static_cast<size_t>(row)].Rule, text));
}

void Choose(const DialogTable& dialog, DialogState& state, std::string_view name, int index)
{
    At(state, dialog, name).Index = index;
    UserChoseListEntry(dialog, state, RowIn(dialog, name));
}

TEST(SignallingDialogs, TypedDelaysTimesCountsAndCodes)
{
    struct Case {
        DialogId dialog;
        const char* row;
        const char* typed;
        const char* shown;
        const char* setting;
        int32_t stored;  // -1: a text setting, compared with shown
    };
    const Case cases[] = {
        {DialogId::Ani, "AniDelay", "303", "300 ms", "AniDelay", 60},
        {DialogId::Ani, "AniDelay", "7", "20 ms", "AniDelay", 4},
        {DialogId::Ani, "AniDelay", "", "20 ms", "AniDelay", 4},
        {DialogId::Ani, "AniDelay", "99999", "1275 ms", "AniDelay", 255},
        {DialogId::Eni, "EniDelay", "1234", "1200 ms", "EniDelay", 24},
        {DialogId::Eni, "EniDelay", "99999", "12750 ms", "EniDelay", 255},
        {DialogId::Eni, "EniDelay", "x", "50 ms", "EniDelay", 1},
        {DialogId::Eni, "EniTxTime", "0", "1 sec", "EniTxTime", 1},
        {DialogId::Eni, "EniRxTime", "", "20 sec", "EniRxTime", 20},
        {DialogId::Eni, "EniDeadTime", "256", "255 sec", "EniDeadTime", 255},
        {DialogId::Eni, "EniRepeatCount", "300", "255", "EniRepeatCount", 255},
        {DialogId::Eni, "EniRepeatCount", "", "20", "EniRepeatCount", 20},
        {DialogId::Signalling, "FiveToneMarkTime", "0", "1 ms", "FiveToneMarkTime", 1},
        {DialogId::Signalling, "FiveToneMarkTime", "999", "600 ms", "FiveToneMarkTime", 600},
        {DialogId::Signalling, "FiveToneSpaceTime", "", "1 ms", "FiveToneSpaceTime", 1},
        {DialogId::Ani, "AniCode", "a7", "00A7", "AniCode", -1},
        {DialogId::Ani, "AniCode", "", "0000", "AniCode", -1},
        {DialogId::Eni, "EniCode", "fFfF", "FFFF", "EniCode", -1},
        {DialogId::Eni, "EniCode", "1g2", "0012", "EniCode", -1},  // g is no hexadecimal digit
    };
    for (const Case& c : cases) {
        const DialogTable& dialog = Dialog(c.dialog);
        TCEmem emem = Defaults();
        DialogState state = ShowDialog(dialog, emem);
        Type(dialog, state, c.row, c.typed);
        EXPECT_EQ(At(state, dialog, c.row).Text, c.shown) << c.row << " " << c.typed;
        (void)ApplyDialog(dialog, state, emem);
        const SettingValue stored = GetSetting(emem, *FindSetting(c.setting));
        if (c.stored >= 0)
            EXPECT_EQ(stored, SettingValue(c.stored)) << c.row << " " << c.typed;
        else
            EXPECT_EQ(stored, SettingValue(std::string(c.shown))) << c.row << " " << c.typed;
    }
}

TEST(SignallingDialogs, AStoredCodeIsShownAndStoredBackAsItIsUntilCommitted)
{
    const DialogTable& ani = Dialog(DialogId::Ani);
    TCEmem emem = Defaults();
    emem.AniCode = "12G";  // not four hexadecimal digits
    DialogState state = ShowDialog(ani, emem);
    EXPECT_EQ(At(state, ani, "AniCode").Text, "12G");
    DialogOk ok = ApplyDialog(ani, state, emem);
    EXPECT_EQ(emem.AniCode, "12G");
    EXPECT_FALSE(ok.Modified);
    // Committed (or left), it is formatted: 1, 2 and a non-digit counting 0.
    CommitRowText(ani, state, RowIn(ani, "AniCode"), At(state, ani, "AniCode").Text);
    EXPECT_EQ(At(state, ani, "AniCode").Text, "0120");
    ok = ApplyDialog(ani, state, emem);
    EXPECT_EQ(emem.AniCode, "0120");
    EXPECT_TRUE(ok.Modified);
    EXPECT_EQ(TypingText(ani, state, RowIn(ani, "AniCode"), "0120"), "0120");  // typing keeps the text
}

TEST(SignallingDialogs, TheTwoListsStoreTheirBitsAndExcludeEachOther)
{
    const DialogTable& signal = Dialog(DialogId::Signalling);
    struct Case {
        int dtmf, fiveTone;  // chosen in this order: DTMF first, then 5-tone when not -1
        int32_t dtmfRx, dtmfTx, fiveRx, fiveTx;
    };
    const Case cases[] = {
        {3, -1, 1, 1, 0, 0},  // "RX/TX Enable"
        {2, -1, 0, 1, 0, 0},  // "TX Enable"
        {1, -1, 1, 0, 0, 0},
        {2, 1, 0, 0, 1, 0},   // 5-tone "RX Enable" chosen after DTMF "TX Enable": DTMF off
        {2, 0, 0, 0, 0, 0},   // choosing 5-tone "off" turns DTMF off too
    };
    for (const Case& c : cases) {
        TCEmem emem = Defaults();
        DialogState state = ShowDialog(signal, emem);
        Choose(signal, state, "DTMF", c.dtmf);
        if (c.fiveTone >= 0) Choose(signal, state, "FiveTone", c.fiveTone);
        (void)ApplyDialog(signal, state, emem);
        EXPECT_EQ(emem.DtmfRx, c.dtmfRx) << c.dtmf << "," << c.fiveTone;
        EXPECT_EQ(emem.DtmfTx, c.dtmfTx) << c.dtmf << "," << c.fiveTone;
        EXPECT_EQ(emem.FiveToneRx, c.fiveRx) << c.dtmf << "," << c.fiveTone;
        EXPECT_EQ(emem.FiveToneTx, c.fiveTx) << c.dtmf << "," << c.fiveTone;
    }
}

TEST(SignallingDialogs, StoredDataWithBothOnShowsBothAndOkKeepsDtmf)
{
    const DialogTable& signal = Dialog(DialogId::Signalling);
    TCEmem emem = Defaults();
    emem.DtmfTx = 1;
    emem.FiveToneRx = 1;
    const DialogState state = ShowDialog(signal, emem);
    EXPECT_EQ(signal.Rows[0].ListName(state[0].Index), "TX Enable");
    EXPECT_EQ(signal.Rows[1].ListName(state[1].Index), "RX Enable");
    const DialogOk ok = ApplyDialog(signal, state, emem);
    EXPECT_EQ(emem.DtmfTx, 1);
    EXPECT_EQ(emem.FiveToneRx, 0);
    EXPECT_TRUE(ok.Modified);
}

TEST(SignallingDialogs, TimesAndRepeatCodeGreyOutAsTheListsSay)
{
    const DialogTable& signal = Dialog(DialogId::Signalling);
    struct Case {
        int dtmf, fiveTone;
        bool times, repeatCode;
    };
    const Case cases[] = {{0, 0, false, false}, {1, 0, true, false}, {0, 2, true, true}, {3, 3, true, true}};
    for (const Case& c : cases) {
        DialogState state = ShowDialog(signal, Defaults());
        At(state, signal, "DTMF").Index = c.dtmf;
        At(state, signal, "FiveTone").Index = c.fiveTone;
        for (const OperatingMode mode : {OperatingMode::Dealer, OperatingMode::Manufacture}) {
            EXPECT_EQ(RowEnabled(signal, state, RowIn(signal, "FiveToneMarkTime"), mode), c.times);
            EXPECT_EQ(RowEnabled(signal, state, RowIn(signal, "FiveToneSpaceTime"), mode), c.times);
            EXPECT_EQ(RowEnabled(signal, state, RowIn(signal, "FiveToneRepeatCode"), mode), c.repeatCode);
            EXPECT_TRUE(RowEnabled(signal, state, RowIn(signal, "DTMF"), mode));
        }
        // The Normal mode is read only, whatever the lists show.
        for (int row = 0; row < int(signal.Rows.size()); ++row)
            EXPECT_FALSE(RowEnabled(signal, state, row, OperatingMode::Normal));
    }
}

TEST(SignallingDialogs, BothListsOffTurnEveryAniEniChannelOff)
{
    const DialogTable& signal = Dialog(DialogId::Signalling);
    TCEmem emem = Defaults();
    emem.DtmfRx = 1;
    emem.Channels.Items(0).IdMode = 1;  // ANI/ENI
    emem.Channels.Items(5).IdMode = 1;
    emem.Channels.Items(6).IdMode = 2;  // CW-ID
    DialogState state = ShowDialog(signal, emem);
    Choose(signal, state, "DTMF", 0);
    const DialogOk ok = ApplyDialog(signal, state, emem);
    EXPECT_EQ(emem.Channels.Items(0).IdMode, 0);
    EXPECT_EQ(emem.Channels.Items(5).IdMode, 0);
    EXPECT_EQ(emem.Channels.Items(6).IdMode, 2);
    EXPECT_TRUE(ok.Modified);

    // With a system left on, the channels keep ANI/ENI.
    emem.Channels.Items(0).IdMode = 1;
    state = ShowDialog(signal, emem);
    Choose(signal, state, "FiveTone", 3);
    (void)ApplyDialog(signal, state, emem);
    EXPECT_EQ(emem.Channels.Items(0).IdMode, 1);

    // Stored data with both off and an ANI/ENI channel: OK with nothing chosen changes only the
    // channel, and that is a change all the same.
    emem.FiveToneRx = emem.FiveToneTx = 0;
    EXPECT_TRUE(ApplyDialog(signal, ShowDialog(signal, emem), emem).Modified);
    EXPECT_EQ(emem.Channels.Items(0).IdMode, 0);
    EXPECT_FALSE(ApplyDialog(signal, ShowDialog(signal, emem), emem).Modified);
}

std::string ToneSetShown(const DialogTable& tones, const DialogState& state)
{
    const int row = RowIn(tones, "FiveToneSet");
    return tones.Rows[static_cast<size_t>(row)].ListName(state[static_cast<size_t>(row)].Index);
}

TEST(FiveToneTable, TheSetListFollowsTheFieldsAndLoadsASet)
{
    const DialogTable& tones = Dialog(DialogId::ToneTable);
    TCEmem emem = Defaults();
    emem.FiveToneTable = FiveToneSets[6].Tones;  // CCIR
    DialogState state = ShowDialog(tones, emem);
    EXPECT_EQ(ToneSetShown(tones, state), "CCIR");
    EXPECT_EQ(At(state, tones, "FiveToneTable[0]").Text, "1981 Hz");

    // Choosing EIA: digit 0 keeps 600 Hz and digit E 459 Hz; typing 600 into digit 1 gives 625.
    Choose(tones, state, "FiveToneSet", FiveToneEiaSet);
    EXPECT_EQ(At(state, tones, "FiveToneTable[0]").Text, "600 Hz");
    EXPECT_EQ(At(state, tones, "FiveToneTable[14]").Text, "459 Hz");
    EXPECT_EQ(TypingText(tones, state, 0, "600 Hz"), "600");
    Type(tones, state, "FiveToneTable[0]", "600");
    EXPECT_EQ(At(state, tones, "FiveToneTable[0]").Text, "600 Hz");
    EXPECT_EQ(ToneSetShown(tones, state), "EIA");
    Type(tones, state, "FiveToneTable[1]", "600");
    EXPECT_EQ(At(state, tones, "FiveToneTable[1]").Text, "625 Hz");
    EXPECT_EQ(ToneSetShown(tones, state), "USER");
    Type(tones, state, "FiveToneTable[2]", "4000");
    EXPECT_EQ(At(state, tones, "FiveToneTable[2]").Text, "3000 Hz");
    Type(tones, state, "FiveToneTable[3]", "");
    EXPECT_EQ(At(state, tones, "FiveToneTable[3]").Text, "625 Hz");

    // USER loads its own row, ZVEI1 with digits 0 to 9 in another order.
    Choose(tones, state, "FiveToneSet", FiveToneUserSet);
    for (int digit = 0; digit < 16; ++digit)
        EXPECT_EQ(At(state, tones, "FiveToneTable[" + std::to_string(digit) + "]").Text,
                  std::to_string(FiveToneSets[FiveToneUserSet].Tones[size_t(digit)]) + " Hz");
    const DialogOk ok = ApplyDialog(tones, state, emem);
    EXPECT_EQ(emem.FiveToneTable, FiveToneSets[FiveToneUserSet].Tones);
    EXPECT_TRUE(ok.Modified);
}

TEST(FiveToneTable, TypingBelowTheLimitInZvei1GivesTheLimitAndTheUserSet)
{
    const DialogTable& tones = Dialog(DialogId::ToneTable);
    TCEmem emem = Defaults();
    DialogState state = ShowDialog(tones, emem);
    EXPECT_EQ(ToneSetShown(tones, state), "ZVEI1");
    Type(tones, state, "FiveToneTable[7]", "500");
    EXPECT_EQ(At(state, tones, "FiveToneTable[7]").Text, "625 Hz");
    EXPECT_EQ(ToneSetShown(tones, state), "USER");
    (void)ApplyDialog(tones, state, emem);
    EXPECT_EQ(emem.FiveToneTable[7], 625);
}

TEST(FiveToneTable, TheEiaExceptionsHoldOnlyForATableThatIsEia)
{
    const DialogTable& tones = Dialog(DialogId::ToneTable);
    TCEmem emem = Defaults();
    emem.FiveToneTable = FiveToneSets[FiveToneEiaSet].Tones;
    EXPECT_EQ(ShownValue(FindDialogRow("FiveToneTable[0]"), emem), "600 Hz");
    emem.FiveToneTable[5] = 1300;  // EIA but for digit 5
    const DialogState state = ShowDialog(tones, emem);
    EXPECT_EQ(ToneSetShown(tones, state), "USER");
    EXPECT_EQ(state[0].Text, "625 Hz");
    EXPECT_EQ(state[14].Text, "625 Hz");
    (void)ApplyDialog(tones, state, emem);
    EXPECT_EQ(emem.FiveToneTable[0], 625);
    EXPECT_EQ(emem.FiveToneTable[14], 625);
}

}  // namespace
