#include "model/image/frequency.h"

#include "model/image/decimal.h"

#include <algorithm>

namespace qm54 {

namespace {

constexpr int64_t HighestCandidateHz = 999'999'990;

int64_t NearestOnRaster(int64_t hz, int64_t raster)
{
    int64_t n = hz / raster;
    if (hz >= n * raster + raster / 2) ++n;
    n = std::min(n, HighestCandidateHz / raster);  // the highest point at or below the limit
    return n * raster;
}

int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

const ChannelRasters& RastersOf(int step) { return ChannelStepTable[step == 1 ? 1 : 0]; }

// For hz of zero and above, as frequencies are.
int64_t PointAtOrBelow(int64_t hz, int64_t raster) { return hz - hz % raster; }

}  // namespace

int64_t HzOf(double mhz)
{
    // Clamped well inside 64 bits so that the arithmetic of the rules below cannot overflow.
    constexpr double limit = 1.0e15;
    const double hz = mhz * 1'000'000.0;
    if (hz > limit) return static_cast<int64_t>(limit);
    if (hz < -limit) return -static_cast<int64_t>(limit);
    return TruncToInt64(hz);
}

double SnapFrequency(int step, double mhz)
{
    const ChannelRasters& rasters = RastersOf(step);
    const int64_t hz = HzOf(mhz);
    const int64_t a = NearestOnRaster(hz, rasters.A);
    const int64_t b = NearestOnRaster(hz, rasters.B);
    const int64_t chosen = Distance(b, hz) < Distance(a, hz) ? b : a;
    return static_cast<double>(chosen) / 1'000'000.0;
}

bool IsOnRaster(int step, int64_t hz)
{
    const ChannelRasters& rasters = RastersOf(step);
    return hz % rasters.A == 0 || hz % rasters.B == 0;
}

RasterNeighbours NearestRasterPoints(int step, int64_t hz)
{
    if (IsOnRaster(step, hz)) return {hz, hz};
    const ChannelRasters& rasters = RastersOf(step);
    const int64_t belowA = PointAtOrBelow(hz, rasters.A), belowB = PointAtOrBelow(hz, rasters.B);
    return {std::max(belowA, belowB), std::min(belowA + rasters.A, belowB + rasters.B)};
}

int NeedsClockShift(double mhz)
{
    const int64_t r = (HzOf(mhz) + 25'000) % 4'000'000;
    return r >= 0 && r < 50'000 ? 1 : 0;
}

int IsCloseSplit(double txMhz, double rxMhz)
{
    return Distance(HzOf(txMhz), HzOf(rxMhz)) < 50'000 ? 1 : 0;
}

int IsTxAboveRx(double txMhz, double rxMhz) { return HzOf(txMhz) - HzOf(rxMhz) > 0 ? 1 : 0; }

}  // namespace qm54
