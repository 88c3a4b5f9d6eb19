// The main window's dialogs: the settings dialogs, each opened over the document after the
// preparation, then what the window does after it (the band defaults and the grid redrawn after
// the hardware dialog, the channels taken again after CW ID and the signalling type, the system
// panel after the market); the alpha tags;
// the configuration of the serial port, the column groups shown, and the about box.
#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include "ui/dialogs/alpha_tag_dialog.h"
#include "ui/dialogs/hardware_dialog.h"
#include "ui/dialogs/settings_dialogs.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/main/channel_grid.h"
#include "ui/dialogs/config_dialog.h"
#include "ui/main/main_window_support.h"
#include "ui/dialogs/visible_dialog.h"

#include <QAction>

namespace qm54 {

namespace {

template <class SettingsDialogType>
int RunDialog(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent)
{
    SettingsDialogType dialog(document, mode, prompter, parent);
    return dialog.exec();
}

}  // namespace

void TfrmMain::OpenCommonDialog(DialogId dialog)
{
    RunCommonDialog(dialog);
    RememberChange(std::string(Dialog(dialog).Caption));
}

void TfrmMain::RunCommonDialog(DialogId dialog)
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
    case DialogId::RadioStatus:
        RunDialog<TfrmRadioStatus>(doc_, mode_, prompter_, this);
        return;
    case DialogId::Timer:
        RunDialog<TfrmTimer>(doc_, mode_, prompter_, this);
        return;
    case DialogId::CwId:
    case DialogId::Signalling:
        // OK or Cancel: the grid shows the channels again, a CW-ID or ANI/ENI channel turned off
        // included.
        if (dialog == DialogId::CwId)
            RunDialog<TfrmCWID>(doc_, mode_, prompter_, this);
        else
            RunDialog<TfrmSignal>(doc_, mode_, prompter_, this);
        doc_.ReplaceWorkingList();
        Refresh();
        return;
    case DialogId::Market:
        if (RunDialog<TfrmMarket>(doc_, mode_, prompter_, this) == QDialog::Accepted) Refresh();
        return;
    case DialogId::Ani:
        RunDialog<TfrmAni>(doc_, mode_, prompter_, this);
        return;
    case DialogId::Eni:
        RunDialog<TfrmEni>(doc_, mode_, prompter_, this);
        return;
    case DialogId::ToneTable:
        RunDialog<TfrmToneTbl>(doc_, mode_, prompter_, this);
        return;
    }
}

void TfrmMain::CommonAlphaTag()
{
    Prepare();
    TfrmAlphaTag alphaTag(doc_, mode_, prompter_, this);
    alphaTag.exec();
    RememberChange("Alpha Tag");
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
