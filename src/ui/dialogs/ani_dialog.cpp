#include "ui/dialogs/settings_dialogs.h"

#include <QPushButton>

namespace qm54 {

TfrmAni::TfrmAni(Document& document, OperatingMode mode, Prompter& prompter, QWidget* parent)
    : SettingsDialog(Dialog(DialogId::Ani), document, mode, prompter, parent)
{
    // OK, Cancel, then mode, code, header code and delay.
    const QList<QWidget*> order{OkButton(),           CancelButton(),           Control(RowOf(&TCEmem::AniMode)),
                                Control(RowOf(&TCEmem::AniCode)), Control(RowOf(&TCEmem::AniHeaderCode)), Control(RowOf(&TCEmem::AniDelay))};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    OkButton()->setFocus();
}

}  // namespace qm54
