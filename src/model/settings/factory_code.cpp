#include "model/settings/factory_code.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm54 {

namespace {

// Each byte is the code's character XOR a four-byte key XOR 17 times its position.
constexpr std::array<uint8_t, 12> kScrambled{0x2F, 0xBB, 0x61, 0xC8, 0x68, 0xF7,
                                             0x35, 0x8C, 0xA1, 0x77, 0xBA, 0x14};
constexpr std::array<uint8_t, 4> kKey{0x5B, 0xC3, 0x27, 0x9E};

std::string Unscramble()
{
    std::string code;
    for (size_t i = 0; i < kScrambled.size(); ++i)
        code.push_back(static_cast<char>(kScrambled[i] ^ kKey[i % kKey.size()] ^ static_cast<uint8_t>(i * 17)));
    return code;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool FactoryCodeMatches(const std::string& typed)
{
    size_t first = 0;
    size_t last = typed.size();
    while (first < last && IsBlank(typed[first])) ++first;
    while (last > first && IsBlank(typed[last - 1])) --last;
    std::string normal;
    for (size_t i = first; i < last; ++i) {
        const char c = typed[i];
        normal.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return normal == Unscramble();
}

}  // namespace qm54
