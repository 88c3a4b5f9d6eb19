#include "model/settings/setting_entry.h"

#include <gtest/gtest.h>

#include "model/settings/alpha_tags.h"

namespace {

using namespace qm54;

EnteredSetting Enter(std::string_view key, int item, std::string_view value, OperatingMode mode, bool strict = true)
{
    return EnterSetting(FindSetting(key), item, {}, value, mode, strict);
}

// One entry per way a value can be taken or refused; the tool words the refusals.
TEST(EnterSetting, TakesOrRefusesAsTheWindowWould)
{
    const struct {
        const char* key;
        int item;
        const char* value;
        OperatingMode mode;
        EntryOutcome outcome;
    } cases[] = {
        {"BaseTot", 0, "2.5", OperatingMode::Dealer, EntryOutcome::Taken},
        {"BaseTot", 0, "2.5", OperatingMode::Normal, EntryOutcome::ModeMayNot},
        {"BaseTot", 0, "abc", OperatingMode::Dealer, EntryOutcome::NotAValue},
        {"IntermediateFreq", 0, "21.40", OperatingMode::Dealer, EntryOutcome::ModeMayNot},
        {"Band", 0, "uhf", OperatingMode::Dealer, EntryOutcome::Taken},
        {"Band", 0, "SHF", OperatingMode::Dealer, EntryOutcome::NotAChoice},
        {"DtmfTx", 0, "2", OperatingMode::Dealer, EntryOutcome::NotABit},
        {"NsqThreshold", 0, "5", OperatingMode::Manufacture, EntryOutcome::NoDialogEdits},
        {"AlphaTagText", 3, "abc", OperatingMode::Normal, EntryOutcome::ModeMayNot},
    };
    for (const auto& c : cases) {
        const EnteredSetting entered = Enter(c.key, c.item, c.value, c.mode);
        EXPECT_EQ(entered.Outcome, c.outcome) << c.key << "=" << c.value;
    }
}

TEST(EnterSetting, TheEntryNamesTheRowAndWhatIsDoneThere)
{
    const EnteredSetting tot = Enter("BaseTot", 0, "2.5 Min", OperatingMode::Dealer);
    ASSERT_EQ(tot.Outcome, EntryOutcome::Taken);
    EXPECT_EQ(tot.Entry.Dialog, &Dialog(DialogId::Timer));
    EXPECT_EQ(tot.Entry.Kind, EntryKind::TypeText);
    EXPECT_EQ(tot.Entry.Text, "2.5");
    EXPECT_EQ(tot.Entry.Read, 2.5);

    // TxPowerType as a name of the radio status list, after the hardware list knows no "Enable".
    const EnteredSetting power = Enter("TxPowerType", 0, "enable", OperatingMode::Manufacture);
    ASSERT_EQ(power.Outcome, EntryOutcome::Taken);
    EXPECT_EQ(power.Entry.Dialog, &Dialog(DialogId::RadioStatus));

    const EnteredSetting dtmfTx = Enter("DtmfTx", 0, "1", OperatingMode::Dealer);
    ASSERT_EQ(dtmfTx.Outcome, EntryOutcome::Taken);
    EXPECT_EQ(dtmfTx.Entry.Kind, EntryKind::SetBit);
    EXPECT_EQ(dtmfTx.Entry.Index, 2);  // the transmit bit

    const EnteredSetting tag = Enter("AlphaTagText", 3, "abc", OperatingMode::Dealer);
    ASSERT_EQ(tag.Outcome, EntryOutcome::Taken);
    EXPECT_EQ(tag.Entry.Kind, EntryKind::AlphaTagCell);
    EXPECT_EQ(tag.Entry.Row, 3);
    EXPECT_EQ(tag.Entry.Index, AlphaTagTextColumn);
}

TEST(EnterIntoState, ABitSwitchesOnlyItsHalfOfTheSignallingList)
{
    const DialogTable& signalling = Dialog(DialogId::Signalling);
    DialogState state(signalling.Rows.size());
    state[0].Index = 1;  // DTMF: RX Enable
    const EnteredSetting tx = Enter("DtmfTx", 0, "1", OperatingMode::Dealer);
    ASSERT_EQ(tx.Outcome, EntryOutcome::Taken);
    EnterIntoState(signalling, tx.Entry, state);
    EXPECT_EQ(state[0].Index, 3);  // RX/TX Enable
}

}  // namespace
