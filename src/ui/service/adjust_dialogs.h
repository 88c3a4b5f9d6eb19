// The three offline adjustment dialogs of the service modes: TfrmRxAdjust ("Rx Adjustment", the
// receive alignment values of the four points and the three shared squelch values), TfrmTxAdjust
// ("Tx Adjustment", the transmit alignment values and the two power display calibrations, the
// latter only in the Manufacture mode) and TfrmTxPower ("Tx Power Adjust", one signed power trim
// per channel). In the Normal mode every field only shows its value.
#pragma once

#include "model/settings/operating_mode.h"
#include "ui/service/service_dialog.h"

namespace qm54 {

class TfrmRxAdjust : public ServiceDialog {
    Q_OBJECT
public:
    TfrmRxAdjust(Document& document, OperatingMode mode, QWidget* parent);

protected:
    std::span<const std::string_view> CompareKeys() const override;
};

class TfrmTxAdjust : public ServiceDialog {
    Q_OBJECT
public:
    TfrmTxAdjust(Document& document, OperatingMode mode, QWidget* parent);

protected:
    std::span<const std::string_view> CompareKeys() const override;
};

class TfrmTxPower : public ServiceDialog {
    Q_OBJECT
public:
    TfrmTxPower(Document& document, OperatingMode mode, QWidget* parent);

protected:
    std::span<const std::string_view> CompareKeys() const override;
};

}  // namespace qm54
