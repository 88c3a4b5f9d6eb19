// The texts of the file data view: a byte as two lower-case hexadecimal digits and the address of
// a row of sixteen bytes ("00000h", "00010h", ...), and a byte read back from such a cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm54 {

inline constexpr int HexBytesPerRow = 16;

// "5a" for 0x5A.
std::string HexByteText(uint8_t byte);

// The address of row row (0-based) of sixteen bytes: "00000h", "00010h", ... "007c0h".
std::string HexRowAddressText(std::size_t row);

// One or two hexadecimal digits of either case, blanks around them allowed; nothing otherwise.
std::optional<uint8_t> ReadHexByte(std::string_view text);

}  // namespace qm54
