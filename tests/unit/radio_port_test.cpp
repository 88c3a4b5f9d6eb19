#include "link/radio_port.h"

#include "pty_pair.h"

#include <gtest/gtest.h>

#include <termios.h>

#include <vector>

namespace {

struct Prompts : qm54::Prompter {
    std::vector<std::string> texts, details;
    qm54::MsgResult Show(const std::string& text, qm54::MsgKind, qm54::MsgButtons, const std::string& detail) override
    {
        texts.push_back(text);
        details.push_back(detail);
        return qm54::MsgResult::Ok;
    }
};

TEST(OpenRadioPort, FailureShowsTheMessageWithTheSystemsReasonAndTheDiagnosis)
{
    Prompts p;
    EXPECT_EQ(qm54::OpenRadioPort("/nonexistent/ttyUSB9", 0, p), nullptr);
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_EQ(p.texts[0], "Problem on COM port");
    EXPECT_EQ(p.details[0].substr(0, p.details[0].find('\n')), "No such file or directory");
    EXPECT_NE(p.details[0].find("\n/nonexistent/ttyUSB9 does not exist."), std::string::npos) << p.details[0];
}

TEST(OpenRadioPort, APortAlreadyOpenedByTheProgramIsRefusedAsBusy)
{
    qm54test::PtyPair pty;
    ASSERT_FALSE(pty.slavePath.empty());
    Prompts p;
    auto first = qm54::OpenRadioPort(pty.slavePath, 0, p);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(qm54::OpenRadioPort(pty.slavePath, 0, p), nullptr);
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_EQ(p.details[0].substr(0, p.details[0].find('\n')), "Device or resource busy") << p.details[0];
}

TEST(OpenRadioPort, OpensTheCloneLineSettings)
{
    qm54test::PtyPair pty;
    ASSERT_FALSE(pty.slavePath.empty());
    Prompts p;
    auto port = qm54::OpenRadioPort(pty.slavePath, 0, p);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(p.texts.empty());
    termios t{};
    ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
}

}  // namespace
