// The memory image the simulator starts with when no data file is given.
#pragma once

#include "link/sim_repeater.h"

namespace qm54::sim {

// band 0 VHF, 1 UHF.
CloneImage DefaultImage(int band);

}  // namespace qm54::sim
