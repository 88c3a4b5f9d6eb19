// Applying a programming given as JSON, in the form `qm54 show` prints, to a TCEmem: any subset of
// show's keys, each value checked against its setting's kind and stored range (the settings table
// and the channel field table), derived channel flags worked out again from the frequencies. All
// or nothing: on any error the TCEmem is left as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/image/emem.h"

namespace qm54 {

enum class JsonApplyOutcome {
    Applied,
    NotJson,  // the text is not JSON, or not an object
    Refused,  // a key or value that the programming cannot take
};

struct JsonApplyResult {
    JsonApplyOutcome Outcome = JsonApplyOutcome::Refused;
    std::string Error;               // Refused/NotJson: "Channels[2].TxPower: 7 is outside 0 to 1"
    std::vector<std::string> Notes;  // keys taken no notice of: read only, derived, checksums
};

[[nodiscard]] JsonApplyResult ApplyJson(std::string_view text, TCEmem& emem);

}  // namespace qm54
