// The memory image the simulator starts with when no data file is given.
#pragma once

#include "sim/sim_repeater.h"

namespace qm54::sim {

// band BandVhf or BandUhf: the image of the "New" command for that band.
CloneImage DefaultImage(int band);

}  // namespace qm54::sim
