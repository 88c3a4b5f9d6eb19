// The tool's Prompter: every message goes to stderr as the program would show it, with the
// system's reason on a line under it. A Yes/No question is answered Yes only when the user gave
// --yes; otherwise No. Nothing is read from the terminal, so scripts never hang on a question.
#pragma once

#include "model/storage/prompter.h"

#include <cstdio>

namespace qm54::cli {

class CliPrompter : public Prompter {
public:
    explicit CliPrompter(bool answerYes = false, std::FILE* out = stderr)
        : answerYes_(answerYes), out_(out) {}

    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons,
                   const std::string& detail) override;

private:
    bool answerYes_;
    std::FILE* out_;
};

}  // namespace qm54::cli
