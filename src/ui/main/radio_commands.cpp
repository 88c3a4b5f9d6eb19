// The main window's radio commands: Upload and Download, each run in the progress window with
// the main window disabled.
#include "ui/main/main_window.h"
#include "ui/common/connect_progress.h"
#include "ui/common/qt_text.h"

#include "link/clone.h"
#include "link/radio_port.h"
#include "link/safeguards.h"
#include "model/storage/user_folders.h"
#include "ui/dialogs/backups_dialog.h"
#include "ui/main/main_window_support.h"
#include "ui/main/radio_window.h"

namespace qm54 {

void TfrmMain::RadioUpload()
{
    doc_.AllowSave();
    Prepare();
    if (!SavePrompt()) return;
    if (!RunClone(false)) return;
    doc_.TakeUpload();
    RememberChange("Upload");
    Refresh();
}

void TfrmMain::RadioDownload()
{
    doc_.AllowSave();
    Prepare();
    if (!SavePrompt()) return;
    ownPrompter_.SetTitle(QStringLiteral("Download"));
    const NarrowbandOutcome outcome = doc_.CheckNarrowband(policy_);
    ownPrompter_.SetTitle(QString());
    if (outcome.Download) RunClone(true);
    RememberChange("Download");  // channels the narrow-banding check switched
    Refresh();
}

bool TfrmMain::RunClone(bool download)
{
    std::unique_ptr<SerialPort> port = OpenPortFromWindow(ToStdString(PortDevice()), options_.Timing.SettleMs, prompter_, this);
    if (!port) return false;
    setEnabled(false);
    TfrmRadio radio(download);
    radio.show();
    // The main window is disabled, and so would be any message box it owned.
    ownPrompter_.SetParent(&radio);
    CloneLink link{*port, radio, SystemClock(), options_.Timing};
    const Safeguards guards =
        DefaultSafeguards(ToStdString(PortDevice()), settings_.VerifyAfterDownload, settings_.Backups);
    // A download's outcome reaches the user only through its messages.
    bool done = true;
    if (download)
        static_cast<void>(GuardedDownload(link, prompter_, mode_, doc_.Emem(), doc_.Map(), guards));
    else
        done = GuardedUpload(link, prompter_, doc_.Map(), doc_.Emem(), guards) == CloneResult::Ok;
    port.reset();
    ownPrompter_.SetParent(this);
    setEnabled(true);
    radio.Finish();
    activateWindow();
    return done;
}

void TfrmMain::FileBackups()
{
    doc_.AllowSave();
    Prepare();
    TfrmBackups dialog(BackupFolder(), this);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen().empty()) return;
    if (!SavePrompt()) return;
    if (!doc_.OpenBackup(dialog.Chosen())) return;
    RememberChange("Backup");
    Refresh();
}

void TfrmMain::HelpLastTrace()
{
    ShowLastSerialTrace(TraceFolder(), this, prompter_);
}


}  // namespace qm54
