#include "link/radio_port.h"

namespace qm54 {

std::unique_ptr<TCRsDrv> OpenRadioPort(const std::string& devicePath, int settleMs, Prompter& prompter)
{
    auto driver = std::make_unique<TCRsDrv>();
    driver->SetBaudRate(9600);
    driver->SetParity(0);
    driver->SetByteSize(8);
    driver->SetStopBits(2);
    driver->SetSettleWait(settleMs);
    if (driver->Open(devicePath) != 0) {
        prompter.Show("Problem on COM port", MsgKind::Error, MsgButtons::Ok, driver->SystemReason());
        return nullptr;
    }
    return driver;
}

}  // namespace qm54
