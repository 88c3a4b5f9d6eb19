// The main window's service commands: the three adjustment dialogs, and the alignment mode of one
// frequency point against the repeater on the configured port, with the main window disabled.
#include "ui/main/main_window.h"
#include "ui/common/connect_progress.h"
#include "ui/common/qt_text.h"

#include <ctime>

#include "link/radio_port.h"
#include "link/trace.h"
#include "model/storage/user_folders.h"
#include "ui/service/adjust_dialogs.h"
#include "ui/service/alignment_window.h"

namespace qm54 {

void TfrmMain::OpenServiceDialog(ServiceDialogId dialog)
{
    Prepare();
    switch (dialog) {
    case ServiceDialogId::RxAdjust: {
        TfrmRxAdjust rx(doc_, mode_, this);
        rx.exec();
        break;
    }
    case ServiceDialogId::TxAdjust: {
        TfrmTxAdjust tx(doc_, mode_, this);
        tx.exec();
        break;
    }
    case ServiceDialogId::TxPower: {
        TfrmTxPower power(doc_, mode_, this);
        power.exec();
        break;
    }
    }
    static constexpr const char* kLabels[] = {"Rx Adjustment", "Tx Adjustment", "Tx Power Adjust"};
    RememberChange(kLabels[static_cast<int>(dialog)]);
    Refresh();  // the grid's frequency limits are the outer alignment points
}

void TfrmMain::OpenAlignment(int point)
{
    if (mode_ != OperatingMode::Manufacture) return;
    Prepare();
    std::unique_ptr<SerialPort> port = OpenPortFromWindow(ToStdString(PortDevice()), options_.Timing.SettleMs, prompter_, this);
    if (!port) return;
    setEnabled(false);
    {
        // The session's bytes go into a serial trace, kept with the others (Help > Last Serial Trace).
        const std::time_t started = std::time(nullptr);
        TraceRecorder trace(SystemClock(), "alignment " + ToStdString(PortDevice()) + " " + TimeStamp(started));
        TracingPort traced(*port, trace);
        TfrmAlignment window(point, doc_, traced, prompter_, options_.Timing);
        // The main window is disabled, and so would be any message box it owned.
        ownPrompter_.SetParent(&window);
        const bool entered = window.Enter();
        if (entered) window.exec();
        ownPrompter_.SetParent(this);
        trace.Result(entered ? "alignment left" : "alignment not entered");
        std::string reason;
        static_cast<void>(StoreTrace(TraceFolder(), UtcTimeStamp(started), "alignment", trace.Text(), reason));
    }
    port.reset();
    setEnabled(true);
    activateWindow();
    RememberChange("Alignment");
    Refresh();
}

}  // namespace qm54
