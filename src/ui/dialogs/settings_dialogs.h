// The settings dialogs that are nothing but their rows (src/model/settings/dialog_rows.cpp) and what the
// rows do to each other (src/model/settings/dialog_behaviour.cpp): radio status, timer, CW ID, market,
// signalling type, ANI, ENI and the 5-tone table. The hardware dialog, which asks questions of its
// own, is TfrmHardware; the alpha tags, a grid, are TfrmAlphaTag.
#pragma once

#include "ui/dialogs/dialog_conventions.h"

namespace qm54 {

template <DialogId Id>
class RowsOnlyDialog : public SettingsDialog {
public:
    RowsOnlyDialog(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent)
        : SettingsDialog(Dialog(Id), document, mode, prompter, parent)
    {
    }
};

// "Radio Status": beep, monitor, accessory, microphone monitor, the fan and temperature alerts,
// the two power-low switches and hang-on audio.
using TfrmRadioStatus = RowsOnlyDialog<DialogId::RadioStatus>;
// "Timer": the base and repeat time-out timers, guard times and the repeat hang-on time.
using TfrmTimer = RowsOnlyDialog<DialogId::Timer>;
// "CW ID": enable, dot time, interval, tone frequency and text; disabling it turns the CW-ID
// channels off at OK.
using TfrmCWID = RowsOnlyDialog<DialogId::CwId>;
// "Marketing Parameters": the serial number, validated at OK, and the market.
using TfrmMarket = RowsOnlyDialog<DialogId::Market>;
// "Signaling Type": DTMF or 5-tone (one of them), the mark and space times, the repeat code; both
// off turns the ANI/ENI channels off at OK.
using TfrmSignal = RowsOnlyDialog<DialogId::Signalling>;
// "ENI Parameters": delay, transmit, receive and dead times, repeat count, header and code.
using TfrmEni = RowsOnlyDialog<DialogId::Eni>;
// "5-Tone Table": the sixteen digit frequencies and the set list that loads and follows them.
using TfrmToneTbl = RowsOnlyDialog<DialogId::ToneTable>;

// "ANI Parameters": mode, delay, header and code; its focus order starts at its buttons.
class TfrmAni : public SettingsDialog {
public:
    TfrmAni(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent);
};

}  // namespace qm54
