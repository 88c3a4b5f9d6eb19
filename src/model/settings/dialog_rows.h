// The settings dialogs as data: each dialog is a list of rows, and a row names a setting of the
// settings table, the control that edits it (a drop-down list or an edit field with its rule) and
// the operating modes that may edit it. The Qt dialogs are built from these rows, `qm54 get`
// shows settings through them and `qm54 set` types into them, so all three share one description.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/image/emem.h"
#include "model/settings/field_rules.h"
#include "model/settings/operating_mode.h"
#include "model/settings/settings_table.h"

namespace qm54 {

enum class DialogId { Hardware, RadioStatus, Timer, CwId, Market, Signalling, Ani, Eni, ToneTable };

// Which operating modes may edit a row.
enum class EditableIn { DealerAndManufacture, Manufacture };
bool MayEdit(EditableIn rights, OperatingMode mode);
std::string_view ModeNeeded(EditableIn rights);  // "Dealer" or "Manufacture"

// A list, a list whose index is two bits of two settings (receive bit 1, transmit bit 2), or an edit field.
enum class RowControl { List, BitPairList, Edit };

struct DialogRow {
    std::string_view Caption;    // with the row's accelerator marked "&"
    const SettingRow* Edits = nullptr;  // the settings table's row it edits (BitPairList: the receive bit)
    RowControl Control = RowControl::List;
    int OptionList = -1;         // List: the names shown, index = stored value (see StoredValues)
    std::span<const int32_t> StoredValues = {};  // List: the stored value of each index, when not the index
    std::span<const std::string_view> OwnNames = {};  // List: names of its own instead of an option list
    const FieldRule* Rule = nullptr;        // Edit: the parse and format rule
    EditableIn Rights = EditableIn::DealerAndManufacture;
    bool Accelerator = true;     // Alt + the marked letter moves the focus to the control
    int Item = 0;                // the index of an array setting
    const SettingRow* Pair = nullptr;  // BitPairList: the transmit bit's setting
    std::string_view Name = {};     // the row's name in qm54 get and set when not its key ("DTMF")

    // The rows are built once, each with the settings row of its member, so Edits is never null.
    const SettingRow& Setting() const { return *Edits; }
    std::string_view Key() const { return Edits->Key; }
    const SettingRow* PairSetting() const { return Pair; }
    // Whether the row edits member (the transmit bit of a signalling list aside).
    bool EditsMember(const SettingMember& member) const { return Edits->Member == member; }
    // The row's name in qm54 get and set: Name, or the key with the item of an array ("FiveToneTable[3]").
    std::string RowName() const;
    int ListCount() const;
    std::string ListName(int index) const;
    // The index a stored value shows as (the first whose stored value it is; else 0), and back.
    int IndexOfStored(int32_t stored) const;
    int32_t StoredOfIndex(int index) const;
};

struct DialogTable {
    DialogId Id;
    std::string_view Caption;  // the window's caption
    std::span<const DialogRow> Rows;
    int ColumnRows = 0;  // laid out in two columns of this many rows, the rest below; 0: one column
};

// The tables are built on first use; a row whose member the settings table lacks stops the
// program there with its caption named (the dialog tests build every table).
const DialogTable& Dialog(DialogId id);
std::span<const DialogTable> AllDialogs();
// The place of the first row of dialog that edits member, or -1.
int RowOfMember(const DialogTable& dialog, const SettingMember& member);

// The dialog and row that edit key, or nothing.
struct DialogRowRef {
    const DialogTable* Dialog = nullptr;
    const DialogRow* Row = nullptr;
    int Index = -1;  // the row's place in its dialog
};
// The row whose RowName is name (letter case aside), or nothing.
DialogRowRef FindDialogRow(std::string_view name);
// Every row that edits the setting key at item, in the order of the dialogs (TxPowerType: the
// hardware row, then the radio status row; DtmfRx: the DTMF list).
std::vector<DialogRowRef> FindDialogRows(std::string_view key, int item = 0);

// What a dialog's controls hold: per row the list index or the edit field's text.
struct RowState {
    int Index = 0;
    std::string Text;
};
using DialogState = std::vector<RowState>;

// The controls as the dialog shows them when it opens over emem.
DialogState ShowDialog(const DialogTable& dialog, const TCEmem& emem, char separator = '.');
// A row's value as its dialog shows it when it opens: the list name, or the edit field's text.
std::string ShownValue(const DialogRowRef& ref, const TCEmem& emem, char separator = '.');
// The text of a row's control in state: the list name or the field's text.
std::string StateText(const DialogRow& row, const RowState& state);

// The text an edit field ends up holding after text was typed into it: refused characters
// dropped, cut at the field's length.
std::string TypedIntoField(const FieldRule& rule, std::string_view text);

struct DialogOk {
    bool Modified = false;     // a written setting, or a channel, differs from what the dialog opened with
    bool BandChanged = false;  // Hardware: Band differs
    bool StepChanged = false;  // Hardware: ChannelStep differs
};

// OK of a dialog: every row's value is written into emem in its stored unit, in the dialog's
// order, then its side effects (CW ID disabled: CW-ID channels turned off; the market's serial
// validated; both signalling systems off: ANI/ENI channels turned off). The main window's part
// after OK (band defaults, the grid redrawn) is the caller's.
DialogOk ApplyDialog(const DialogTable& dialog, const DialogState& state, TCEmem& emem, char separator = '.');

// What follows the hardware dialog's OK, for the window and the tool alike: a changed band brings
// the band's defaults (ApplyBandDefaults), a changed channel step moves every channel onto the new
// raster (MoveChannelsOntoRaster), as the redrawn grid shows them.
void ApplyHardwareChanges(const DialogOk& ok, TCEmem& emem);

}  // namespace qm54
