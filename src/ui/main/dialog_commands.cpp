// The main window's dialogs: the settings dialogs, each opened over the document after the
// preparation, then what the window does after it (the band defaults and the grid redrawn after
// the hardware dialog, the channels taken again after CW ID, the system panel after the market);
// the configuration of the serial port, the column groups shown, and the about box.
#include "ui/main/main_window.h"
#include "ui/qt_text.h"

#include "ui/dialogs/hardware_dialog.h"
#include "ui/dialogs/settings_dialogs.h"
#include "ui/main/about_dialog.h"
#include "ui/main/channel_grid.h"
#include "ui/main/config_dialog.h"
#include "ui/main/main_window_support.h"
#include "ui/main/visible_dialog.h"

#include <QAction>

namespace qm54 {

void TfrmMain::OpenCommonDialog(DialogId dialog)
{
    Prepare();
    switch (dialog) {
    case DialogId::Hardware: {
        TfrmHardware hardware(doc_, mode_, prompter_, this);
        if (hardware.exec() != QDialog::Accepted) return;
        ApplyHardwareChanges(hardware.Result(), doc_.Emem());
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

void TfrmMain::FileConfigure()
{
    Prepare();
    TfrmConfig config(ToStdString(PortDevice()), prompter_, options_.Timing.SettleMs, options_.SysfsRoot, this);
    // With no port to choose the port stays as it was, a --port of this run included.
    if (config.exec() != QDialog::Accepted || !config.Chosen()) return;
    // The chosen port replaces the one of this run's --port too.
    settings_.PortDevice = config.Device();
    options_.PortDevice.clear();
    Refresh();
}

void TfrmMain::ViewVisible()
{
    Prepare();
    TfrmVisible visible(settings_.ItemVisible, this);
    if (visible.exec() != QDialog::Accepted) return;
    settings_.ItemVisible = visible.Visible();
    for (int i = 0; i < ColumnGroupCount; ++i) {
        miItem_[i]->setChecked(settings_.ItemVisible[i]);
        grdCh_->SetColumnGroupVisible(i, settings_.ItemVisible[i]);
    }
}

void TfrmMain::HelpAbout()
{
    TfrmAbout about(this);
    about.exec();
}

}  // namespace qm54
