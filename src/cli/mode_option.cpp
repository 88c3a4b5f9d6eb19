// --mode and --factory-code, as download and set take them.
#include "cli/verbs.h"
#include "model/image/convert.h"
#include "model/settings/factory_code.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace qm54::cli {

namespace {

// One line from stdin, not echoed when stdin is a terminal.
std::string ReadFactoryCode()
{
    std::fprintf(stderr, "Factory code: ");
    std::fflush(stderr);
    termios saved{};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fprintf(stderr, "\n");
    }
    return line;
}

}  // namespace

std::optional<OperatingMode> ModeNamed(const std::string& name)
{
    const std::string upper = ToUpperAscii(name);
    if (upper == "NORMAL") return OperatingMode::Normal;
    if (upper == "DEALER") return OperatingMode::Dealer;
    if (upper == "MANUFACTURE") return OperatingMode::Manufacture;
    return std::nullopt;
}

bool FactoryCodeAccepted(const ParsedArgs& parsed)
{
    const std::string code = parsed.Values.count("--factory-code") ? parsed.Value("--factory-code", "")
                                                                     : ReadFactoryCode();
    return FactoryCodeMatches(code);
}

}  // namespace qm54::cli
