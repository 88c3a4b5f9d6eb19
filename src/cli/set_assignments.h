// The assignments of qm54 set: KEY=VALUE arguments read, each matched to the dialog row (or the
// alpha-tag cell) that takes it and to what the user does there: pick a list entry, switch one
// bit of a signalling list, or type a text into a field.
#pragma once

#include "model/settings/dialog_rows.h"
#include "model/settings/setting_entry.h"
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

// An accepted assignment: the core's entry, and the argument for messages.
struct RowEntry : SettingEntry {
    std::string Argument;  // KEY=VALUE as given
};

struct Taken {
    std::optional<RowEntry> Entry;
    std::string Refusal;  // why not, when there is no entry
};

// The key resolved and the value entered as the core's EnterSetting enters it (strictly unless
// asTyped); a refusal in words: an unknown key, a whole array, a setting no dialog edits, a name
// no list holds (the choices named), a row the mode may not edit (the mode it needs named), a
// value the field does not take (what it takes named).
Taken TakeAssignment(const Assignment& assignment, OperatingMode mode, bool asTyped);

// The refusal of a value that does not read strictly as a value of rule, or empty when it does;
// read is then its number (numeric rules).
std::string StrictRefusal(const FieldRule& rule, const std::string& argument, const std::string& value,
                          std::optional<double>& read);

// "KEY=VALUE: stored as 60.0 Min, the largest" when the field made shown of the number read, or
// empty when it shows that number.
std::string AdjustmentNote(const FieldRule& rule, const std::string& argument, double read, const std::string& shown);

}  // namespace qm54::cli
