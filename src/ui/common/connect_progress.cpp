#include "ui/common/connect_progress.h"

#include <QApplication>
#include <QProgressDialog>

#include "link/port_name.h"
#include "link/radio_port.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

// Hides the connecting window before a message, so that the message is not under it.
class AfterConnecting final : public Prompter {
public:
    AfterConnecting(Prompter& inner, QProgressDialog& dialog) : inner_(inner), dialog_(dialog) {}
    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& detail) override
    {
        dialog_.hide();
        return inner_.Show(text, kind, buttons, detail);
    }

private:
    Prompter& inner_;
    QProgressDialog& dialog_;
};

}  // namespace

std::unique_ptr<SerialPort> OpenPortFromWindow(const std::string& portName, int settleMs, Prompter& prompter,
                                               QWidget* parent, const std::string& sysfsRoot)
{
    if (!IsNetworkPortName(portName)) return OpenLinkPort(portName, settleMs, prompter, {}, sysfsRoot);
    QProgressDialog dialog(ToQString("Connecting to " + portName + " ..."), QStringLiteral("Cancel"), 0, 0, parent);
    dialog.setObjectName(QStringLiteral("frmConnecting"));
    dialog.setWindowTitle(QStringLiteral("Connecting"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.show();
    NetConnectOptions options;
    options.Cancelled = [&dialog] { return dialog.wasCanceled(); };
    options.PumpEvents = [] { QApplication::processEvents(); };
    AfterConnecting told(prompter, dialog);
    std::unique_ptr<SerialPort> port = OpenLinkPort(portName, settleMs, told, options, sysfsRoot);
    dialog.hide();
    return port;
}

}  // namespace qm54
