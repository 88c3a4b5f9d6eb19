// The narrow-banding rule applied before a Download: in the USA market, wide channels in the
// 150-174 and 421-470 MHz bands are to be made narrow, by a policy fixed from the date.
#pragma once

#include "model/image/channel.h"
#include "model/image/emem.h"
#include "model/storage/prompter.h"

#include <string>

namespace qm54 {

enum class NarrowbandPolicy { None = 0, Caution = 1, Enforced = 2 };

// The policy for a local date written "YYYYMMDD", compared as text: from "20130101" Enforced,
// from "20110101" Caution, before that None.
NarrowbandPolicy NarrowbandPolicyForDate(const std::string& yyyymmdd);

// Today's local date as "YYYYMMDD".
std::string TodayDateText();

// A wide channel whose receive or transmit frequency lies in 150-174 or 421-470 MHz, bounds
// included.
bool IsNarrowbandAffected(const TChannel& channel);

struct NarrowbandOutcome {
    bool Download = true;  // false: the user declined, nothing is to be sent
    bool Changed = false;  // channels were switched to narrow (the data are modified)
};

// The check of Download over the settings about to be written. With affected channels (only
// under a policy other than None and in the USA market) it asks the policy's question; Yes
// switches every affected channel to narrow and downloads; No downloads unchanged under Caution,
// and switches them without downloading under Enforced; closing the box cancels the Download and
// changes nothing.
NarrowbandOutcome NarrowbandCheck(NarrowbandPolicy policy, TCEmem& emem, Prompter& prompter);

}  // namespace qm54
