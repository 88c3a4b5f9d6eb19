// The alignment values in qm54 set and get: the settings the Rx, Tx and Tx power adjustment
// dialogs edit, shown and typed with those dialogs' rules. An array value is named with its
// index ("RxAdjustFreq[1]", "TxPowerAdjust[15]"), a single value without ("SqlHysteresis").
#pragma once

#include "cli/set_assignments.h"
#include "model/image/emem.h"
#include "model/settings/settings_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm54::cli {

struct ServiceAssignment {
    std::string_view Key;  // the setting
    int Index = 0;
    std::string Name;      // as given, for messages
    std::string Typed;     // the value as the field holds it after typing
    std::string Argument;  // KEY=VALUE as given, for messages
    std::optional<double> Read;  // the number read strictly, when it was checked
};

// The assignment when its key names an alignment value of an adjustment dialog; error says why
// a key of such a setting is malformed (an index missing, out of range, or given to a single value).
std::optional<ServiceAssignment> ReadServiceAssignment(const Assignment& assignment, std::string& error);

// Why mode may not set one of the assignments, or nothing when it may.
std::optional<std::string> ServiceRefusal(const std::vector<ServiceAssignment>& assignments, OperatingMode mode);

// Stores the assignments in order into emem, each as its dialog's field would take it. A frequency
// that would not lie strictly between its neighbouring points is refused with a message naming
// them; emem may then be partly changed and must not be written. A number read strictly that the
// field stores otherwise (clamped, rounded) gets a line in notes.
std::optional<std::string> ApplyServiceAssignments(const std::vector<ServiceAssignment>& assignments, TCEmem& emem,
                                                   std::vector<std::string>& notes);

}  // namespace qm54::cli
