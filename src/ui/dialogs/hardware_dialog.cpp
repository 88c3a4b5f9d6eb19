#include "ui/dialogs/hardware_dialog.h"
#include "ui/common/qt_text.h"
#include "model/settings/dialog_behaviour.h"

namespace qm54 {

namespace {

const char* const kBandQuestion =
    "NOTE!! Changing the band invalidate all channel frequencies.\r\nThese will be changed to the band default.ok?";
const char* const kStepQuestion =
    "NOTE!! Changing the step may invalidate some channel frequencies.\r\nThese will be shifted to the nearest "
    "valid step. ok?\r\nChange Channel Capacity?";

}  // namespace

TfrmHardware::TfrmHardware(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent)
    : SettingsDialog(Dialog(DialogId::Hardware), document, mode, prompter, parent),
      bandRow_(BandRow(Table())), stepRow_(RowOf(&TCEmem::ChannelStep)),
      confirmedBand_(ListAt(bandRow_)->currentIndex()), confirmedStep_(ListAt(stepRow_)->currentIndex())
{
    setObjectName(QStringLiteral("frmHardware"));
}

void TfrmHardware::UserChangedList(int row, int index)
{
    if (row == bandRow_) {
        if (ShowMessageBox(prompter_, kBandQuestion, MsgKind::Confirmation, MsgButtons::YesNo) != MsgResult::Yes) {
            SetListQuietly(row, confirmedBand_);
            return;
        }
        confirmedBand_ = index;
        // Also in the Dealer mode, where the IF field cannot be edited: the new IF is stored at OK.
        DialogState state = CurrentState();
        AnswerBandQuestionYes(Table(), state, DecimalSeparator());
        ShowState(state);
    } else if (row == stepRow_) {
        if (ShowMessageBox(prompter_, kStepQuestion, MsgKind::Confirmation, MsgButtons::YesNo) != MsgResult::Yes) {
            SetListQuietly(row, confirmedStep_);
            return;
        }
        confirmedStep_ = index;
    }
}

}  // namespace qm54
