// The assignments of qm54 set: KEY=VALUE arguments read, and each matched to the dialog row that
// takes it and to what that row's control holds once the value is typed in or picked.
#pragma once

#include "model/dialog_rows.h"
#include "model/operating_mode.h"

#include <optional>
#include <string>

namespace qm54::cli {

struct Assignment {
    std::string Key;
    std::string Value;
};

// "KEY=VALUE" split at its first "="; nothing when there is no "=" or the key is empty.
std::optional<Assignment> ReadAssignment(const std::string& argument);

// An accepted assignment: the dialog and the row that take it, and the row's control afterwards.
struct RowEntry {
    const DialogTable* Dialog = nullptr;
    int Row = -1;
    RowState State;
};

struct Taken {
    std::optional<RowEntry> Entry;
    std::string Refusal;  // why not, when there is no entry
};

// The row of a dialog that takes the assignment in mode: an edit field gets the value as typed
// into it (its filter and length) and committed; a list takes the entry whose name the value is,
// in any letter case, trying each dialog's list for a setting that two dialogs show. Refused: a
// setting no dialog edits, a name no list holds (the choices named), a row the mode may not edit
// (the mode it needs named).
Taken TakeAssignment(const Assignment& assignment, OperatingMode mode);

}  // namespace qm54::cli
