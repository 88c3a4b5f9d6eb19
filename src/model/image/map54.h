// TMap54: the memory image with the repeater's layout. One table of the common area, one of the
// channel record and one of the alpha-tag record drive both Encode and Decode.
#pragma once

#include <cstdint>

#include "model/image/emem.h"
#include "model/image/map.h"

namespace qm54 {

namespace image {
inline constexpr uint16_t CommonArea = 0x000;      // hardware, alignment and dealer settings up to 0x0CF
inline constexpr uint16_t StartMarker = 0x000;
inline constexpr uint16_t BandCheck = 0x004;       // RxAdjustFreq[2], compared with the repeater's before a clone write
inline constexpr uint16_t BandCheckSize = 2;
inline constexpr uint16_t MarketCode = 0x016;
inline constexpr uint16_t SerialNumber = 0x048;
inline constexpr uint16_t SerialNumberSize = 8;
inline constexpr uint16_t EndMarker = 0x7C1;
inline constexpr uint8_t MarkerValue = 0x5A;
inline constexpr uint16_t ChecksumA = 0x0CF;        // ByteSum of 0x050..0x0CD
inline constexpr uint16_t ChecksumAFirst = 0x050;
inline constexpr uint16_t ChecksumACount = 126;
inline constexpr uint16_t ChecksumB = 0x5B0;        // ByteSum of 0x000..0x5AF
inline constexpr uint16_t ChecksumBCount = 1456;
inline constexpr uint16_t FirmwareMajor = 0x0CD;
inline constexpr uint16_t FirmwareMinor = 0x0CE;
inline constexpr uint16_t ChannelArea = 0x0D0;
inline constexpr uint16_t ChannelRecordSize = 48;
inline constexpr uint16_t AlphaTagArea = 0x3D0;
inline constexpr uint16_t AlphaTagRecordSize = 10;
inline constexpr uint16_t ResetFillFirst = 0x5C0;  // 512 bytes of 0x01 after Reset
inline constexpr uint16_t ResetFillLast = 0x7BF;
inline constexpr uint8_t ResetFillValue = 0x01;
inline constexpr uint8_t AlphaTagEmptyText = 0x25;  // "%"
}  // namespace image

class TMap54 : public TMap {
public:
    TMap54() { Reset(); }

    // All bytes 0, the two markers 0x5A, and 0x5C0..0x7BF set to 0x01.
    void Reset();
    // Writes every mapped item of emem into the image, then both checksums. Bytes and bits that
    // are not mapped keep their value.
    bool Encode(const TCEmem& emem);
    // Reads every mapped item into emem. False when 0x014 or 0x015 holds no decimal digit (the
    // rest is still read); every other item falls back to 0, -1 or a zero frequency.
    bool Decode(TCEmem& emem) const;
};

}  // namespace qm54
