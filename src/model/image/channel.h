// One channel record of the repeater and the fixed list of its 16 channels.
#pragma once

#include <array>
#include <cstdint>

#include "model/image/decimal.h"
#include "model/image/indexed.h"

namespace qm54 {

inline constexpr int ChannelCount = 16;
inline constexpr int SlotCount = 16;

using SlotArray = std::array<int32_t, SlotCount>;

class TChannel {
public:
    int32_t InUse = 0;            // 1 programmed, 0 blank
    int32_t Number = 0;           // 1..16, index + 1
    int32_t TxInhibit = 0;        // non-zero: inhibited (a decoded set bit gives -1)
    int32_t Wide = 0;             // 0 narrow, 1 wide
    int32_t ClockShift = 0;
    int32_t NsqMode = 0;          // 0 preprogrammed, 1 user level
    int32_t CourtesyBlip = 0;
    int32_t ReverseBurst = 0;
    int32_t DcsType = 0;          // 0 A, 1 B
    int32_t DcsDecodeType = 0;    // 0 fixed, 1 auto
    int32_t UseBaseTot = 0;
    int32_t UseBaseGuard = 0;
    int32_t Lockout = 0;          // 0 off, 1 BCLO, 2 BTLO
    int32_t CloseSplit = 0;       // derived from the frequencies
    int32_t TxAboveRx = 0;        // derived from the frequencies
    int32_t TxPower = 0;          // 0 high, 1 low
    int32_t MultiTone = 0;
    int32_t UseRptTot = 0;
    int32_t UseRptHangTime = 0;
    int32_t UseRptGuardTime = 0;
    int32_t TotBeep = 0;
    int32_t ActionMode = 0;       // 0 simplex, 1 duplex
    int32_t TotMute = 0;
    int32_t IdMode = 0;           // 0 off, 1 ANI/ENI, 2 CW-ID
    int32_t NsqLevel = 0;         // 0..255
    SlotArray SlotUsed{};
    SlotArray DecodeDcs{};        // 1: the decode tone of the slot is a DCS code index
    SlotArray DecodeTone{};       // CTCSS index (0 off) or DCS code index
    SlotArray EncodeDcs{};
    SlotArray EncodeTone{};
    TDecimal RxFreq;              // MHz
    TDecimal TxFreq;              // MHz

    int32_t GetSlotUsed(int slot) const { return ItemAt(SlotUsed, slot); }
    int32_t GetDecodeDcs(int slot) const { return ItemAt(DecodeDcs, slot); }
    int32_t GetDecodeTone(int slot) const { return ItemAt(DecodeTone, slot); }
    int32_t GetEncodeDcs(int slot) const { return ItemAt(EncodeDcs, slot); }
    int32_t GetEncodeTone(int slot) const { return ItemAt(EncodeTone, slot); }
    void SetSlotUsed(int slot, int32_t v) { SetItemAt(SlotUsed, slot, v); }
    void SetDecodeDcs(int slot, int32_t v) { SetItemAt(DecodeDcs, slot, v); }
    void SetDecodeTone(int slot, int32_t v) { SetItemAt(DecodeTone, slot, v); }
    void SetEncodeDcs(int slot, int32_t v) { SetItemAt(EncodeDcs, slot, v); }
    void SetEncodeTone(int slot, int32_t v) { SetItemAt(EncodeTone, slot, v); }

    // Field by field in declaration order; a frequency held with another digit count differs.
    bool operator==(const TChannel&) const = default;
};

class TChannels {
public:
    TChannels();

    static constexpr int Count() { return ChannelCount; }
    // i is 0..15; an index outside is clamped to that range, so it never reaches past the list.
    TChannel& Items(int i) { return channels_[Clamped(i)]; }
    const TChannel& Items(int i) const { return channels_[Clamped(i)]; }

    bool operator==(const TChannels&) const = default;

private:
    static std::size_t Clamped(int i)
    {
        return static_cast<std::size_t>(i < 0 ? 0 : i >= ChannelCount ? ChannelCount - 1 : i);
    }
    std::array<TChannel, ChannelCount> channels_;
};

}  // namespace qm54
