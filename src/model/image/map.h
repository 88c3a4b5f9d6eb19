// TMap: the repeater's memory image and the bit-field primitives that read and write it.
// Every primitive checks its FieldRef against the image: a ref that does not lie inside the
// image (or is malformed) writes nothing and reads 0 or an empty text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm54 {

inline constexpr std::size_t ImageSize = 1986;
using ImageBytes = std::array<uint8_t, ImageSize>;

// One bit field of the image: from StartBit of StartByte down to EndBit of EndByte, bits
// numbered 7 (most significant) to 0, bytes big-endian.
struct FieldRef {
    uint16_t StartByte;
    uint16_t StartBit;
    uint16_t EndByte;
    uint16_t EndBit;

    constexpr int ByteCount() const { return EndByte - StartByte + 1; }
    // The same field moved by bytes (a record-relative ref made absolute, or a repeated entry).
    constexpr FieldRef Moved(int bytes) const
    {
        return {static_cast<uint16_t>(StartByte + bytes), StartBit,
                static_cast<uint16_t>(EndByte + bytes), EndBit};
    }
    bool operator==(const FieldRef&) const = default;
};

// Whole byte b, bit b.n, and a big-endian 16-bit number from b.
constexpr FieldRef ByteRef(uint16_t b) { return {b, 7, b, 0}; }
constexpr FieldRef BitRef(uint16_t b, uint16_t bit) { return {b, bit, b, bit}; }
constexpr FieldRef WordRef(uint16_t b) { return {b, 7, static_cast<uint16_t>(b + 1), 0}; }
constexpr FieldRef BytesRef(uint16_t first, uint16_t last) { return {first, 7, last, 0}; }

class TMap {
public:
    TMap() = default;

    ImageBytes& Bytes() { return bytes_; }
    const ImageBytes& Bytes() const { return bytes_; }
    bool operator==(const TMap&) const = default;

    // Numeric fields of 1 to 4 bytes. WriteField masks value to the field's width (a negative
    // value goes in as two's complement) and leaves the other bits of the bytes alone.
    void WriteField(FieldRef ref, int64_t value);
    uint32_t ReadUnsigned(FieldRef ref) const;
    // Two's complement of the field's bytes' width when the field holds bit 7 of its first byte
    // (a set bit 7 alone reads -1, a byte 0xF0 reads -16); otherwise as ReadUnsigned.
    int32_t ReadSigned(FieldRef ref) const;

    // Decimal digits one per nibble, high nibble first from the start byte (its low nibble when
    // StartBit is 3); stops at the text's end, at a non-digit or past the end byte. Nibbles not
    // reached keep their value.
    void WriteDigits(FieldRef ref, std::string_view text);
    // Every nibble from the start byte to the end byte as "0".."9"; nibbles 10..15 give nothing.
    std::string ReadDigits(FieldRef ref) const;

    // One byte per hexadecimal digit: "1".."9", "A".."F" give their value, anything else 0.
    void WriteHexDigits(FieldRef ref, std::string_view text);
    // "0".."F" for byte values 0..15; other values give nothing.
    std::string ReadHexDigits(FieldRef ref) const;

    // NUL-padded text, cut to the field's byte count.
    void WriteText(FieldRef ref, std::string_view text);
    // One character per byte; NUL, control bytes and bytes of 127 and above become blanks.
    std::string ReadText(FieldRef ref) const;
    // As ReadText, except that a complete UTF-8 multi-byte character is kept whole.
    std::string ReadTextDbcs(FieldRef ref) const;

    void FillBytes(FieldRef ref, uint8_t value);

    // One bit per element from bit 7 of the start byte down, on into the next bytes, at most
    // count elements and never past the end byte. ReadFlags gives count elements of 0 or 1
    // (0 for bits past the end byte); counts beyond what an image can hold are cut to that.
    void WriteFlags(FieldRef ref, std::span<const int32_t> list, int count);
    std::vector<int32_t> ReadFlags(FieldRef ref, int count) const;

    // Entry e uses ref moved by e times its byte count; entries past the image are left out
    // (ReadRepeated gives 0 for them).
    void WriteRepeated(FieldRef ref, std::span<const int32_t> values, int count);
    std::vector<int32_t> ReadRepeated(FieldRef ref, int count, bool isSigned) const;

    bool ByteEquals(std::size_t offset, uint8_t value) const;
    // ByteSum of count bytes from first, limited to the image.
    uint8_t ByteSum(std::size_t first, std::size_t count) const;

protected:
    ImageBytes bytes_{};
};

// Length of the well-formed UTF-8 multi-byte character at bytes[0..available), or 0 (an ASCII
// byte, a stray continuation byte, an overlong form, a surrogate, past U+10FFFF, or cut short).
int Utf8SequenceLength(const uint8_t* bytes, std::size_t available);

// Sum of the bytes modulo 256.
uint8_t ByteSum(std::span<const uint8_t> data);

}  // namespace qm54
