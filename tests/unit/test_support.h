// Helpers shared by the unit tests: file access in whole strings, the hex fixture reader, and a
// prompter that records every message. Temporary folders are TempFolder (temp_folder.h).
#pragma once

#include "model/storage/prompter.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace qm54::test {

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// Reads the hex fixture format: two hex digits a byte, "XX*N" for N bytes, "@OFF" to check the
// offset of the next byte, "#" to the end of the line is a comment.
inline std::vector<uint8_t> ReadHexFixture(const std::string& path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream tokens(line.substr(0, line.find('#')));
        std::string token;
        while (tokens >> token) {
            if (token[0] == '@') {
                EXPECT_EQ(std::stoul(token.substr(1), nullptr, 16), bytes.size()) << token;
                continue;
            }
            const auto star = token.find('*');
            const auto value = static_cast<uint8_t>(std::stoul(token.substr(0, star), nullptr, 16));
            const size_t count = star == std::string::npos ? 1 : std::stoul(token.substr(star + 1));
            bytes.insert(bytes.end(), count, value);
        }
    }
    return bytes;
}

struct RecordedMessage {
    std::string text;
    MsgKind kind;
    MsgButtons buttons;
    std::string detail;
};

// Answers every message with answer and keeps what was shown.
struct RecordingPrompter : Prompter {
    explicit RecordingPrompter(MsgResult answer = MsgResult::Ok) : answer(answer) {}
    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& detail) override
    {
        messages.push_back({text, kind, buttons, detail});
        return answer;
    }
    MsgResult answer;
    std::vector<RecordedMessage> messages;
};

}  // namespace qm54::test
