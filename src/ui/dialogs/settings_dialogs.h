// The settings dialogs that are nothing but their rows (src/model/dialog_rows.cpp): radio status,
// timer, CW ID and market. The hardware dialog, which asks questions of its own, is TfrmHardware.
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

}  // namespace qm54
