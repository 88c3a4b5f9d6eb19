#include "model/storage/prompter.h"

namespace qm54 {

MsgResult ShowMessageBox(Prompter& prompter, const std::string& text, MsgKind kind, MsgButtons buttons)
{
    return prompter.Show(text, kind, buttons, std::string());
}

MsgResult ShowMessageBoxFmt(Prompter& prompter, const std::string& format, const std::string& text,
                            MsgKind kind, MsgButtons buttons)
{
    std::string shown = format;
    const auto at = shown.find("%s");
    if (at != std::string::npos) shown.replace(at, 2, text);
    return ShowMessageBox(prompter, shown, kind, buttons);
}

}  // namespace qm54
