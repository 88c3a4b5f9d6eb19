// The image of "New" for a band, as the seeds and the clone write target use it.
#pragma once

#include "model/image/map54.h"

namespace qm54fuzz {

// The reset image decoded, the defaults of the band set, encoded again; emem gets the settings.
inline qm54::TMap54 NewImage(int band, qm54::TCEmem& emem)
{
    qm54::TMap54 map;
    map.Decode(emem);
    qm54::SetDefaults(emem);
    emem.Band = band;
    qm54::ApplyBandDefaults(emem, band);
    map.Encode(emem);
    return map;
}

}  // namespace qm54fuzz
