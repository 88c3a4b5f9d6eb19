// One value given for a setting as a user gives it in the window: the dialog row (or the
// alpha-tag cell) that edits the setting, and what the user does there: pick a list entry,
// switch one bit of a signalling list, or type a text into a field. `qm54 set` takes every
// assignment through EnterSetting, then edits its dialog's state with EnterIntoState.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings/dialog_rows.h"
#include "model/settings/operating_mode.h"
#include "model/settings/settings_table.h"

namespace qm54 {

enum class EntryKind {
    ChooseEntry,   // a list entry picked: Index
    SetBit,        // one bit of a signalling list switched: Index is the bit (1 receive, 2 transmit)
    TypeText,      // Text typed into an edit field (its filter and length applied), then committed
    AlphaTagCell,  // Text typed into the alpha-tag editor on row Row, column Index, then committed
};

struct SettingEntry {
    const DialogTable* Dialog = nullptr;  // nullptr for the alpha-tag table
    int Row = -1;
    EntryKind Kind = EntryKind::ChooseEntry;
    int Index = 0;
    bool BitOn = false;
    std::string Text;
    std::optional<double> Read;  // TypeText of a number read strictly: the number, before the field's clamping
};

enum class EntryOutcome {
    Taken,
    NoDialogEdits,  // no settings dialog edits the setting
    ModeMayNot,     // the mode may not edit the row: Needed names the rights
    NotAValue,      // strictly, the text is no value of the field: Rule says what it takes
    NotABit,        // a signalling bit takes "0" or "1"
    NotAChoice,     // no list entry has that name: Lists are the lists tried
};

struct EnteredSetting {
    EntryOutcome Outcome = EntryOutcome::Taken;
    SettingEntry Entry;                      // Taken
    EditableIn Needed = EditableIn::DealerAndManufacture;
    const FieldRule* Rule = nullptr;
    std::vector<DialogRowRef> Lists;
};

// value given for the setting at item (or, with no setting, for the dialog row named) in mode.
// An edit field gets the value as typed into it; a list takes the entry whose name the value is,
// in any letter case, trying each dialog's list for a setting that two dialogs show; the bits of
// a signalling list take 0 or 1; an alpha-tag code or text goes to its cell (Dealer or
// Manufacture mode, as in the window). With strict, an edit field's value must read strictly as a
// value of the field (ReadFieldStrictly).
EnteredSetting EnterSetting(const SettingRow* setting, int item, const DialogRowRef& named, std::string_view value,
                            OperatingMode mode, bool strict);

// What the user's entry does to the controls of its dialog, and what the dialog makes of it (the
// dialog's own behaviour, a field's commit).
void EnterIntoState(const DialogTable& dialog, const SettingEntry& entry, DialogState& state, char separator = '.');

}  // namespace qm54
