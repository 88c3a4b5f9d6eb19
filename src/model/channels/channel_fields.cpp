#include "model/channels/channel_fields.h"

#include "model/image/tables.h"

namespace qm54 {

namespace {

constexpr int32_t kLevelMax = 255;
constexpr int32_t kToneIndexMax = 127;

ChannelFieldRow Choice(std::string_view key, ChannelIntMember member, OptionListId list)
{
    return {key, ChannelFieldKind::Number, member, 0, OptionLists[list].Count - 1, list};
}

ChannelFieldRow Number(std::string_view key, ChannelIntMember member, int32_t min, int32_t max)
{
    return {key, ChannelFieldKind::Number, member, min, max};
}

ChannelFieldRow Derived(std::string_view key, ChannelIntMember member, int32_t min, int32_t max)
{
    return {key, ChannelFieldKind::Number, member, min, max, -1, true};
}

ChannelFieldRow Slots(std::string_view key, ChannelSlotsMember member, int32_t max)
{
    return {key, ChannelFieldKind::Slots, member, 0, max};
}

ChannelFieldRow Frequency(std::string_view key, ChannelFreqMember member)
{
    return {key, ChannelFieldKind::Frequency, member};
}

const ChannelFieldRow kRows[] = {
    Number("InUse", &TChannel::InUse, 0, 1),
    Derived("Number", &TChannel::Number, 1, ChannelCount),
    Number("TxInhibit", &TChannel::TxInhibit, -1, 1),  // a decoded set bit reads -1
    Choice("Wide", &TChannel::Wide, OptBandwidth),
    Choice("ClockShift", &TChannel::ClockShift, OptNoYes),
    Choice("NsqMode", &TChannel::NsqMode, OptNsqMode),
    Choice("CourtesyBlip", &TChannel::CourtesyBlip, OptOffOn),
    Choice("ReverseBurst", &TChannel::ReverseBurst, OptOffOn),
    Choice("DcsType", &TChannel::DcsType, OptDcsType),
    Choice("DcsDecodeType", &TChannel::DcsDecodeType, OptDcsDecodeType),
    Choice("UseBaseTot", &TChannel::UseBaseTot, OptNoYes),
    Choice("UseBaseGuard", &TChannel::UseBaseGuard, OptNoYes),
    Choice("Lockout", &TChannel::Lockout, OptLockout),
    Derived("CloseSplit", &TChannel::CloseSplit, 0, 1),
    Derived("TxAboveRx", &TChannel::TxAboveRx, 0, 1),
    Choice("TxPower", &TChannel::TxPower, OptTxPower),
    Choice("MultiTone", &TChannel::MultiTone, OptNoYes),
    Choice("UseRptTot", &TChannel::UseRptTot, OptNoYes),
    Choice("UseRptHangTime", &TChannel::UseRptHangTime, OptNoYes),
    Choice("UseRptGuardTime", &TChannel::UseRptGuardTime, OptNoYes),
    Choice("TotBeep", &TChannel::TotBeep, OptNoYes),
    Choice("ActionMode", &TChannel::ActionMode, OptActionMode),
    Choice("TotMute", &TChannel::TotMute, OptOffOn),
    Choice("IdMode", &TChannel::IdMode, OptIdMode),
    Number("NsqLevel", &TChannel::NsqLevel, 0, kLevelMax),
    Slots("SlotUsed", &TChannel::SlotUsed, 1),
    Slots("DecodeDcs", &TChannel::DecodeDcs, 1),
    Slots("DecodeTone", &TChannel::DecodeTone, kToneIndexMax),
    Slots("EncodeDcs", &TChannel::EncodeDcs, 1),
    Slots("EncodeTone", &TChannel::EncodeTone, kToneIndexMax),
    Frequency("RxFreq", &TChannel::RxFreq),
    Frequency("TxFreq", &TChannel::TxFreq),
};

}  // namespace

std::span<const ChannelFieldRow> ChannelFieldTable() { return kRows; }

const ChannelFieldRow* FindChannelField(std::string_view key)
{
    for (const ChannelFieldRow& row : kRows)
        if (row.Key == key) return &row;
    return nullptr;
}

}  // namespace qm54
