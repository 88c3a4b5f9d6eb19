#include "sim_image.h"

namespace qm54::sim {

namespace {
// BCD of tenths of MHz, two bytes.
void PutBcd4(CloneImage& image, size_t offset, int value)
{
    image[offset] = static_cast<uint8_t>(((value / 1000) % 10) << 4 | ((value / 100) % 10));
    image[offset + 1] = static_cast<uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}
}  // namespace

// A blank image that carries the band in its receive alignment points (offsets 2 to 9, highest
// point first), which is where the clone write compares bands.
CloneImage DefaultImage(int band)
{
    CloneImage image{};
    image.front() = 0x5A;
    image.back() = 0x5A;
    const int vhf[] = {1740, 1700, 1600, 1500};
    const int uhf[] = {4800, 4700, 4600, 4500};
    for (size_t k = 0; k < 4; ++k) PutBcd4(image, 2 + 2 * k, band == 1 ? uhf[k] : vhf[k]);
    return image;
}

}  // namespace qm54::sim
