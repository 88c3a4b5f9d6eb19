#include "model/channels/channel_rules.h"

#include "model/image/convert.h"

#include "model/image/frequency.h"

namespace qm54 {

namespace {

constexpr int AlwaysInUseChannel = 0;

}  // namespace

void ApplyRxFrequencyChange(TChannel& ch)
{
    SetTxInhibit(ch, false);
    ch.TxFreq = ch.RxFreq;
    ch.ClockShift = NeedsClockShift(ch.RxFreq.Value());
    DeriveSplitFlags(ch);
}

void ApplyTxFrequencyChange(TChannel& ch) { DeriveSplitFlags(ch); }

void DeriveSplitFlags(TChannel& ch)
{
    const double rx = ch.RxFreq.Value();
    const double tx = ch.TxFreq.Value();
    ch.CloseSplit = IsCloseSplit(tx, rx);
    ch.TxAboveRx = IsTxAboveRx(tx, rx);
}

bool SetInUse(TChannel& ch, int index, bool inUse)
{
    if (!inUse && index == AlwaysInUseChannel) return false;
    const int32_t wanted = inUse ? 1 : 0;
    if (ch.InUse == wanted) return false;
    ch.InUse = wanted;
    return true;
}

bool ToggleInUse(TChannel& ch, int index)
{
    return index != AlwaysInUseChannel && SetInUse(ch, index, ch.InUse == 0);
}

void SetTxInhibit(TChannel& ch, bool inhibited) { ch.TxInhibit = inhibited ? 1 : 0; }

void MoveChannelsOntoRaster(TCEmem& emem)
{
    const auto onRaster = [&](TDecimal& f) {
        f.SetValue(CellKhzFrequency(SnappedFrequencyText(emem.ChannelStep, f.Value())));
    };
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& channel = emem.Channels.Items(i);
        onRaster(channel.RxFreq);
        if (channel.TxInhibit == 0) onRaster(channel.TxFreq);
    }
}

}  // namespace qm54
