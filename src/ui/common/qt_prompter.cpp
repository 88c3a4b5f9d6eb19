#include "ui/common/qt_prompter.h"

#include <QPushButton>
#include <QMessageBox>

#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

// The icon and caption of each kind of box, in the order of MsgKind.
struct BoxLook {
    QMessageBox::Icon Icon;
    const char* Caption;
};
constexpr BoxLook kLooks[] = {{QMessageBox::Warning, "Warning"},
                              {QMessageBox::Critical, "Error"},
                              {QMessageBox::Information, "Information"},
                              {QMessageBox::Question, "Confirm"}};

}  // namespace

MsgResult QtPrompter::Show(const std::string& text, MsgKind kind, MsgButtons buttons,
                           const std::string& detail)
{
    QMessageBox box(parent_);
    const BoxLook& look = kLooks[static_cast<int>(kind)];
    box.setIcon(look.Icon);
    box.setWindowTitle(title_.isEmpty() ? QString::fromLatin1(look.Caption) : title_);
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
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Ok: return MsgResult::Ok;
    default: return MsgResult::Closed;
    }
}

}  // namespace qm54
