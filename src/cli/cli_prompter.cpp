#include "cli/cli_prompter.h"

#include <string>

namespace qm54::cli {

namespace {

// The program's texts use CR LF between lines; a terminal wants LF alone.
std::string TerminalLines(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

}  // namespace

MsgResult CliPrompter::Show(const std::string& text, MsgKind, MsgButtons buttons, const std::string& detail)
{
    std::fprintf(out_, "%s\n", TerminalLines(text).c_str());
    if (!detail.empty()) {
        // Every line of the detail is indented under the message.
        std::string indented;
        for (char c : TerminalLines(detail)) {
            indented += c;
            if (c == '\n') indented += "  ";
        }
        std::fprintf(out_, "  %s\n", indented.c_str());
    }
    if (buttons != MsgButtons::YesNo) return MsgResult::Ok;
    std::fprintf(out_, "  answered %s\n", answerYes_ ? "Yes (--yes)" : "No (give --yes to answer Yes)");
    return answerYes_ ? MsgResult::Yes : MsgResult::No;
}

}  // namespace qm54::cli
