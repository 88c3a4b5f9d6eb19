// The keys of qm54 get and set: a setting as show names it ("BaseTot", "FiveToneTable" for all
// sixteen values), one value of an array ("FiveToneTable[3]", "AlphaTagText[0]"), or a row of a
// settings dialog that edits more than one setting ("DTMF", "FiveTone": the signalling lists).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings/dialog_rows.h"
#include "model/settings/settings_table.h"

namespace qm54::cli {

struct KeyRef {
    const SettingRow* Setting = nullptr;  // the setting, or nullptr for a dialog row of its own
    int Item = -1;                        // the array index given, -1 for every value
    DialogRowRef Named;                   // a dialog row named by the key ("DTMF")

    bool IsAlphaTag() const;
    std::string Name() const;  // the key as get prints it for Item ("FiveToneTable[3]")
};

// The key resolved, or nothing for a key that is none of these (or an index outside the array).
std::optional<KeyRef> ResolveKey(std::string_view key);

// The lines qm54 get prints for key: "Key: value" as the first dialog that shows it shows it (the
// alpha tags as the alpha-tag grid shows them), else the stored value in a plain form; a whole
// array gives one "Key[i]: value" line per index.
std::vector<std::string> KeyLines(const TCEmem& emem, const KeyRef& key);

}  // namespace qm54::cli
