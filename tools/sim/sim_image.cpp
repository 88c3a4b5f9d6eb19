#include "sim/sim_image.h"

#include "model/image/emem.h"
#include "model/image/map54.h"

namespace qm54::sim {

// What "New" gives for the band: the blank image decoded, the defaults, the band's values.
CloneImage DefaultImage(int band)
{
    TMap54 map;
    TCEmem emem;
    map.Decode(emem);
    SetDefaults(emem);
    if (band == BandUhf) {
        emem.Band = BandUhf;
        ApplyBandDefaults(emem, BandUhf);
    }
    map.Encode(emem);
    return map.Bytes();
}

}  // namespace qm54::sim
