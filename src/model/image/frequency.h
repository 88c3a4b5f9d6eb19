// The frequency rules shared by the grid, the dialogs and the report: snapping to the channel
// raster, the clock-shift rule and the two flags derived from a channel's Rx and Tx frequencies.
// Frequencies are MHz as doubles; "Hz of f" is Trunc(f x 1,000,000).
#pragma once

#include <array>
#include <cstdint>

namespace qm54 {

struct ChannelRasters {
    int32_t A;  // Hz
    int32_t B;  // Hz
};

// Indexed by the ChannelStep setting: 0 = 5 and 6.25 kHz, 1 = 2.5 and 6.25 kHz.
inline constexpr std::array<ChannelRasters, 2> ChannelStepTable{{{5000, 6250}, {2500, 6250}}};

int64_t HzOf(double mhz);

// The point of the nearer raster of the step (a tie goes to raster A), never above
// 999.99999 MHz. A step outside 0..1 is taken as 0.
double SnapFrequency(int step, double mhz);

// Whether hz is a point of either raster of the step (a step outside 0..1 is taken as 0).
bool IsOnRaster(int step, int64_t hz);

// The raster points of the step nearest to hz (zero or above) from below and from above (either
// raster); both are hz when it is a point.
struct RasterNeighbours {
    int64_t Below;
    int64_t Above;
};
RasterNeighbours NearestRasterPoints(int step, int64_t hz);

// 1 when the frequency lies from 25 kHz below to just under 25 kHz above a multiple of 4 MHz.
int NeedsClockShift(double mhz);

// 1 when Tx and Rx differ by less than 50 kHz.
int IsCloseSplit(double txMhz, double rxMhz);

// 1 when Tx is above Rx.
int IsTxAboveRx(double txMhz, double rxMhz);

}  // namespace qm54
