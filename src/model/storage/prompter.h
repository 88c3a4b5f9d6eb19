// The one way the core tells the user something: a modal message of one of four kinds.
// The Qt front end shows a QMessageBox, the tool prints to stderr and answers from its flags,
// tests record every text. Core code never prints or shows anything itself.
#pragma once

#include <string>

namespace qm54 {

enum class MsgKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };
enum class MsgButtons { Ok, YesNo };

// Button results, numbered as the message box returns them.
enum class MsgResult { Ok = 1, Closed = 2, Yes = 6, No = 7 };

class Prompter {
public:
    virtual ~Prompter() = default;
    // text is the system's own message, shown exactly; detail, when not empty, is a second line
    // with the operating system's reason (for example "Permission denied").
    virtual MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons,
                           const std::string& detail) = 0;
};

// ShowMessageBox: the message with no detail line.
MsgResult ShowMessageBox(Prompter& prompter, const std::string& text, MsgKind kind,
                         MsgButtons buttons = MsgButtons::Ok);

// ShowMessageBoxFmt: text replaces the one "%s" of format (a format without "%s" is shown as it is).
MsgResult ShowMessageBoxFmt(Prompter& prompter, const std::string& format, const std::string& text,
                            MsgKind kind, MsgButtons buttons = MsgButtons::Ok);

}  // namespace qm54
