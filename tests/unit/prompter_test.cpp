#include "model/storage/prompter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RecordingPrompter : qm54::Prompter {
    std::vector<std::string> texts;
    qm54::MsgResult Show(const std::string& text, qm54::MsgKind, qm54::MsgButtons, const std::string&) override
    {
        texts.push_back(text);
        return qm54::MsgResult::Ok;
    }
};

TEST(ShowMessageBoxFmt, SubstitutesTheOnePlaceholderOnly)
{
    RecordingPrompter p;
    qm54::ShowMessageBoxFmt(p, "File read error  File Name = %s", "/tmp/a.q54", qm54::MsgKind::Error);
    qm54::ShowMessageBoxFmt(p, "Timeout", "ignored", qm54::MsgKind::Error);
    qm54::ShowMessageBoxFmt(p, "%s", "100%s", qm54::MsgKind::Error);
    ASSERT_EQ(p.texts.size(), 3u);
    EXPECT_EQ(p.texts[0], "File read error  File Name = /tmp/a.q54");
    EXPECT_EQ(p.texts[1], "Timeout");
    EXPECT_EQ(p.texts[2], "100%s");
}

}  // namespace
