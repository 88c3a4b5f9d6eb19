// The assignments of qm54 set: KEY=VALUE arguments read, each matched to the dialog row (or the
// alpha-tag cell) that takes it and to what the user does there: pick a list entry, switch one
// bit of a signalling list, or type a text into a field.
#pragma once

#include "model/settings/dialog_rows.h"
#include "model/settings/operating_mode.h"

#include <optional>
#include <string>

namespace qm54::cli {

struct Assignment {
    std::string Key;
    std::string Value;
};

// "KEY=VALUE" split at its first "="; nothing when there is no "=" or the key is empty.
std::optional<Assignment> ReadAssignment(const std::string& argument);

enum class EntryKind {
    ChooseEntry,   // a list entry picked: Index
    SetBit,        // one bit of a signalling list switched: Index is the bit (1 receive, 2 transmit)
    TypeText,      // Text typed into an edit field (its filter and length applied), then committed
    AlphaTagCell,  // Text typed into the alpha-tag editor on row Row, column Index, then committed
};

// An accepted assignment.
struct RowEntry {
    const DialogTable* Dialog = nullptr;  // nullptr for the alpha-tag table
    int Row = -1;
    EntryKind Kind = EntryKind::ChooseEntry;
    int Index = 0;
    bool BitOn = false;
    std::string Text;
    std::string Argument;  // KEY=VALUE as given, for messages
    std::optional<double> Read;  // TypeText of a number read strictly: the number, before the field's clamping
};

struct Taken {
    std::optional<RowEntry> Entry;
    std::string Refusal;  // why not, when there is no entry
};

// The row of a dialog that takes the assignment in mode: an edit field gets the value as typed
// into it; a list takes the entry whose name the value is, in any letter case, trying each
// dialog's list for a setting that two dialogs show; DtmfRx, DtmfTx, FiveToneRx and FiveToneTx
// take 0 or 1; an alpha-tag code or text goes to its cell. Refused: a setting no dialog edits, a
// whole array, a name no list holds (the choices named), a row the mode may not edit (the mode it
// needs named). The alpha tags need the Dealer or Manufacture mode, as in the window.
// Unless asTyped, an edit field's value must read strictly as a value of the field
// (ReadFieldStrictly); otherwise it is refused with what the field takes.
Taken TakeAssignment(const Assignment& assignment, OperatingMode mode, bool asTyped);

// The refusal of a value that does not read strictly as a value of rule, or empty when it does;
// read is then its number (numeric rules).
std::string StrictRefusal(const FieldRule& rule, const std::string& argument, const std::string& value,
                          std::optional<double>& read);

// "KEY=VALUE: stored as 60.0 Min, the largest" when the field made shown of the number read, or
// empty when it shows that number.
std::string AdjustmentNote(const FieldRule& rule, const std::string& argument, double read, const std::string& shown);

}  // namespace qm54::cli
