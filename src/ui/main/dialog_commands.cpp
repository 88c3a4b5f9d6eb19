// The main window's settings dialogs: each opened over the document after the preparation, then
// what the window does after it (the band defaults and the grid redrawn after the hardware
// dialog, the channels taken again after CW ID, the system panel after the market).
#include "ui/main/main_window.h"

#include "ui/dialogs/hardware_dialog.h"
#include "ui/dialogs/settings_dialogs.h"

namespace qm54 {

void TfrmMain::OpenCommonDialog(DialogId dialog)
{
    Prepare();
    switch (dialog) {
    case DialogId::Hardware: {
        TfrmHardware hardware(doc_, mode_, prompter_, this);
        if (hardware.exec() != QDialog::Accepted) return;
        if (hardware.BandChanged()) ApplyBandDefaults(doc_.Emem(), doc_.Emem().Band);
        // The grid is redrawn on the new channel raster; what it shows is what the next command
        // parses back into the channels.
        doc_.ReplaceWorkingList();
        Refresh();
        return;
    }
    case DialogId::RadioStatus: {
        TfrmRadioStatus status(doc_, mode_, prompter_, this);
        status.exec();
        return;
    }
    case DialogId::Timer: {
        TfrmTimer timer(doc_, mode_, prompter_, this);
        timer.exec();
        return;
    }
    case DialogId::CwId: {
        TfrmCWID cwId(doc_, mode_, prompter_, this);
        cwId.exec();
        doc_.ReplaceWorkingList();
        Refresh();
        return;
    }
    case DialogId::Market: {
        TfrmMarket market(doc_, mode_, prompter_, this);
        if (market.exec() == QDialog::Accepted) Refresh();
        return;
    }
    }
}

}  // namespace qm54
