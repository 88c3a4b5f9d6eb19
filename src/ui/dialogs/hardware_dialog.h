// TfrmHardware, "Hardware Parameters": band, IF and reference frequencies, local offsets, channel
// step, duplexer and TX power type. A band change asks and puts the band's default IF into the IF
// field; a step change asks; after OK the caller applies the band defaults when BandChanged.
#pragma once

#include "ui/dialogs/dialog_conventions.h"

namespace qm54 {

class TfrmHardware : public SettingsDialog {
    Q_OBJECT
public:
    TfrmHardware(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent);
    bool BandChanged() const { return Result().BandChanged; }

protected:
    void UserChangedList(int row, int index) override;

private:
    int bandRow_;
    int stepRow_;
    int confirmedBand_;
    int confirmedStep_;
};

}  // namespace qm54
