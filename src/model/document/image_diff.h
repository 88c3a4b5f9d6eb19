// What differs between two memory images, named as the user knows the data: a setting by its
// key ("SerialNumber", "AlphaTagText[3]"), a channel field by the channel and the field's key
// ("Channel 2 RxFreq"), and any other byte by its offset ("byte 0x0CF").
#pragma once

#include "model/image/map.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace qm54 {

struct ImageRange {
    size_t First;
    size_t Count;
};

// The names of what differs between a and b, looking only at the bytes inside ranges: the
// settings table's order, then the channels; when no setting or channel differs, the bytes.
std::vector<std::string> ImageDifferences(const ImageBytes& a, const ImageBytes& b,
                                          std::span<const ImageRange> ranges);

}  // namespace qm54
