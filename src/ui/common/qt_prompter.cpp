#include "ui/common/qt_prompter.h"

#include <QApplication>
#include <QPushButton>
#include <QMessageBox>

#include "ui/common/qt_text.h"

namespace qm54 {

int QtPrompter::Show(const std::string& text, MsgKind kind, MsgButtons buttons,
                     const std::string& detail)
{
    QMessageBox box(parent_);
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                   QMessageBox::Information, QMessageBox::Question};
    box.setIcon(kIcons[static_cast<int>(kind)]);
    box.setWindowTitle(title_.isEmpty() ? QApplication::applicationName() : title_);
    box.setText(ToQString(text));
    if (!detail.empty()) box.setInformativeText(ToQString(detail));
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the close box answer "closed", which cancels a command, not "No".
        QAbstractButton* closed = box.addButton(QMessageBox::Cancel);
        closed->hide();
        box.setEscapeButton(closed);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return MrYes;
    case QMessageBox::No: return MrNo;
    case QMessageBox::Ok: return MrOk;
    default: return MrClosed;
    }
}

}  // namespace qm54
