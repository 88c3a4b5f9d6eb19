// The table of a channel's fields: one row for every field of TChannel, in its declaration order,
// with the field's key (as `qm54 show` prints it), its stored range and how to reach it. `show`,
// `diff`, the verify's list of differences and the JSON apply walk it; the channel CSV import goes
// by the grid's cells instead.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "model/image/channel.h"

namespace qm54 {

enum class ChannelFieldKind {
    Number,     // a whole number in Min..Max (a choice of option list OptionList where it has one)
    Slots,      // 16 whole numbers in Min..Max, one per multi-tone slot
    Frequency,  // MHz
};

using ChannelIntMember = int32_t TChannel::*;
using ChannelSlotsMember = SlotArray TChannel::*;
using ChannelFreqMember = TDecimal TChannel::*;
using ChannelMember = std::variant<ChannelIntMember, ChannelSlotsMember, ChannelFreqMember>;

struct ChannelFieldRow {
    std::string_view Key;
    ChannelFieldKind Kind;
    ChannelMember Member;
    int32_t Min = 0;
    int32_t Max = 0;
    int OptionList = -1;   // the grid's names of the values, where it shows them
    bool Derived = false;  // worked out from other fields (the number from the position, the
                           // close-split and Tx-above-Rx flags from the frequencies)
};

std::span<const ChannelFieldRow> ChannelFieldTable();
const ChannelFieldRow* FindChannelField(std::string_view key);

}  // namespace qm54
