#include "ui/dialogs/config_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "link/port_discovery.h"
#include "link/port_name.h"
#include "link/radio_port.h"
#include "ui/common/connect_progress.h"
#include "ui/common/help_viewer.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

constexpr const char* kPortProblem = "Problem on COM port";

// The port name of a device path ("/dev/ttyUSB0" gives "ttyUSB0").
std::string NameOfDevice(const std::string& device)
{
    const size_t slash = device.rfind('/');
    return slash == std::string::npos ? device : device.substr(slash + 1);
}

}  // namespace

TfrmConfig::TfrmConfig(const std::string& currentDevice, Prompter& prompter, int settleMs,
                       const std::string& sysfsRoot, QWidget* parent)
    : QDialog(parent), prompter_(prompter), settleMs_(settleMs), sysfsRoot_(sysfsRoot), device_(currentDevice),
      cmbPort_(new QComboBox(this)), edtNetAddress_(new QLineEdit(this)), cmbNetKind_(new QComboBox(this))
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuration"));
    cmbPort_->setObjectName(QStringLiteral("cmbPort"));
    cmbPort_->setEditable(false);
    cmbPort_->setMinimumWidth(180);

    // The first entry that holds the current port's name is chosen (ttyUSB1 also matches
    // ttyUSB10, as the port numbers did), else the first entry; a network port chooses the
    // network entry with its address.
    PortName current;
    std::string why;
    const bool network = ParsePortName(currentDevice, current, why) == PortNameStatus::Ok &&
                         current.Kind != PortKind::Device;
    const std::string currentName = network ? std::string() : NameOfDevice(currentDevice);
    int chosen = -1;
    for (const std::string& entry : ListComPorts(sysfsRoot)) {
        if (chosen < 0 && !currentName.empty() && entry.find(currentName) != std::string::npos)
            chosen = cmbPort_->count();
        cmbPort_->addItem(ToQString(entry));
    }
    if (chosen < 0 && cmbPort_->count() > 0 && !network) chosen = 0;
    cmbPort_->addItem(QString::fromLatin1(NetworkEntry()));
    if (network) chosen = cmbPort_->count() - 1;
    cmbPort_->setCurrentIndex(chosen);

    edtNetAddress_->setObjectName(QStringLiteral("edtNetAddress"));
    edtNetAddress_->setPlaceholderText(QStringLiteral("HOST:PORT"));
    cmbNetKind_->setObjectName(QStringLiteral("cmbNetKind"));
    cmbNetKind_->addItem(QStringLiteral("RFC 2217"));
    cmbNetKind_->addItem(QStringLiteral("Raw TCP"));
    if (network) {
        edtNetAddress_->setText(ToQString(HostAndPort(current)));
        cmbNetKind_->setCurrentIndex(current.Kind == PortKind::Tcp ? 1 : 0);
    }
    connect(cmbPort_, &QComboBox::currentIndexChanged, this, [this] { EnableNetworkFields(); });
    EnableNetworkFields();

    auto* caption = new QLabel(QStringLiteral("&COM Port"), this);
    caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    caption->setBuddy(cmbPort_);
    auto* row = new QGridLayout;
    row->addWidget(caption, 0, 0);
    row->addWidget(cmbPort_, 0, 1);
    auto* addressCaption = new QLabel(QStringLiteral("&Address"), this);
    addressCaption->setBuddy(edtNetAddress_);
    row->addWidget(addressCaption, 1, 0);
    row->addWidget(edtNetAddress_, 1, 1);
    row->addWidget(cmbNetKind_, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmConfig::Ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select COM Port"), this));
    layout->addLayout(row);
    layout->addWidget(buttons);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });
}

const char* TfrmConfig::NetworkEntry() { return "Network port"; }

bool TfrmConfig::NetworkChosen() const { return cmbPort_->currentText() == QString::fromLatin1(NetworkEntry()); }

void TfrmConfig::EnableNetworkFields()
{
    edtNetAddress_->setEnabled(NetworkChosen());
    cmbNetKind_->setEnabled(NetworkChosen());
}

void TfrmConfig::Ok()
{
    if (cmbPort_->currentIndex() < 0) {
        ShowMessageBox(prompter_, kPortProblem, MsgKind::Error);
        accept();
        return;
    }
    if (NetworkChosen()) {
        const PortKind kind = cmbNetKind_->currentIndex() == 1 ? PortKind::Tcp : PortKind::Rfc2217;
        const std::string url = (kind == PortKind::Tcp ? "tcp://" : "rfc2217://") +
                                ToStdString(edtNetAddress_->text().trimmed());
        PortName name;
        std::string why;
        if (ParsePortName(url, name, why) != PortNameStatus::Ok) {
            prompter_.Show(kPortProblem, MsgKind::Error, MsgButtons::Ok, "HOST:PORT: " + why + ".");
            edtNetAddress_->setFocus();
            return;
        }
        device_ = NetworkPortUrl(kind, name.Host, name.Service);
        chosen_ = true;
        // A test open, as for a cable: the port is taken even when nothing answers now.
        OpenPortFromWindow(device_, settleMs_, prompter_, this, sysfsRoot_);
        accept();
        return;
    }
    device_ = PortDevicePath(PortNameOfEntry(ToStdString(cmbPort_->currentText())));
    chosen_ = true;
    // A test open: the port is taken even when it does not open now (the cable may come later).
    OpenRadioPort(device_, settleMs_, prompter_, sysfsRoot_);
    accept();
}

}  // namespace qm54
