#include "model/settings/setting_entry.h"

#include "model/image/convert.h"
#include "model/settings/alpha_tags.h"
#include "model/settings/dialog_behaviour.h"

namespace qm54 {

namespace {

EnteredSetting Outcome(EntryOutcome outcome) { return {.Outcome = outcome}; }

EnteredSetting ModeMayNot(EditableIn rights) { return {.Outcome = EntryOutcome::ModeMayNot, .Needed = rights}; }

// The list entry named name in any letter case, or -1.
int ListIndexOf(const DialogRow& row, std::string_view name)
{
    const std::string wanted = ToUpperAscii(name);
    for (int i = 0; i < row.ListCount(); ++i)
        if (ToUpperAscii(row.ListName(i)) == wanted) return i;
    return -1;
}

// The row whose rights are the widest: the one a refusal for the mode names.
const DialogRowRef& WidestRights(const std::vector<DialogRowRef>& rows)
{
    for (const DialogRowRef& ref : rows)
        if (ref.Row->Rights == EditableIn::DealerAndManufacture) return ref;
    return rows.front();
}

}  // namespace

EnteredSetting EnterSetting(const SettingRow* setting, int item, const DialogRowRef& named, std::string_view value,
                            OperatingMode mode, bool strict)
{
    if (setting != nullptr) {
        if (const int column = AlphaTagColumnOf(setting->Key); column >= 0) {
            if (!MayEdit(EditableIn::DealerAndManufacture, mode)) return ModeMayNot(EditableIn::DealerAndManufacture);
            return {.Entry = {.Row = item, .Kind = EntryKind::AlphaTagCell, .Index = column,
                              .Text = TypedIntoAlphaTag(column, value)}};
        }
    }
    const std::vector<DialogRowRef> rows =
        setting == nullptr ? std::vector<DialogRowRef>{named} : FindDialogRows(setting->Key, item);
    if (rows.empty() || rows.front().Row == nullptr) return Outcome(EntryOutcome::NoDialogEdits);
    if (const DialogRowRef& widest = WidestRights(rows); !MayEdit(widest.Row->Rights, mode))
        return ModeMayNot(widest.Row->Rights);

    for (const DialogRowRef& ref : rows) {
        const DialogRow& row = *ref.Row;
        SettingEntry entry{.Dialog = ref.Dialog, .Row = ref.Index};
        if (row.Control == RowControl::Edit) {
            entry.Kind = EntryKind::TypeText;
            entry.Text = TypedIntoField(*row.Rule, value);
            if (strict && MayEdit(row.Rights, mode)) {
                const StrictReading reading = ReadFieldStrictly(*row.Rule, value);
                if (!reading.Readable) return {.Outcome = EntryOutcome::NotAValue, .Rule = row.Rule};
                if (!IsTextRule(*row.Rule)) entry.Read = reading.Number;
            }
        } else if (row.Control == RowControl::BitPairList && setting != nullptr) {
            if (value != "0" && value != "1") return Outcome(EntryOutcome::NotABit);
            entry.Kind = EntryKind::SetBit;
            entry.Index = setting == row.Edits ? 1 : 2;
            entry.BitOn = value == "1";
        } else {
            entry.Index = ListIndexOf(row, value);
            if (entry.Index < 0) continue;
        }
        if (!MayEdit(row.Rights, mode)) return ModeMayNot(row.Rights);
        return {.Entry = std::move(entry)};
    }
    return {.Outcome = EntryOutcome::NotAChoice, .Lists = rows};
}

void EnterIntoState(const DialogTable& dialog, const SettingEntry& entry, DialogState& state, char separator)
{
    if (entry.Row < 0 || static_cast<size_t>(entry.Row) >= state.size()) return;
    RowState& control = state[static_cast<size_t>(entry.Row)];
    switch (entry.Kind) {
    case EntryKind::ChooseEntry:
        control.Index = entry.Index;
        UserChoseListEntry(dialog, state, entry.Row);
        break;
    case EntryKind::SetBit:
        control.Index = entry.BitOn ? (control.Index | entry.Index) : (control.Index & ~entry.Index);
        UserChoseListEntry(dialog, state, entry.Row);
        break;
    case EntryKind::TypeText:
        CommitRowText(dialog, state, entry.Row, entry.Text, separator);
        break;
    case EntryKind::AlphaTagCell:
        break;
    }
}

}  // namespace qm54
