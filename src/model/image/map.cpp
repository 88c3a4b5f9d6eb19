#include "model/image/map.h"

#include <algorithm>

namespace qm54 {

namespace {

// A ref whose bytes lie inside the image, in order, with bit numbers 0..7.
bool IsByteRun(FieldRef ref)
{
    return ref.StartByte <= ref.EndByte && ref.EndByte < ImageSize && ref.StartBit <= 7 &&
           ref.EndBit <= 7;
}

// A byte run that can be a number: 1 to 4 bytes, and within one byte the bits in order.
bool IsNumeric(FieldRef ref)
{
    return IsByteRun(ref) && ref.ByteCount() <= 4 &&
           (ref.ByteCount() > 1 || ref.StartBit >= ref.EndBit);
}

// The field's bits within the big-endian word of its bytes.
uint64_t FieldMask(FieldRef ref)
{
    const int top = (ref.ByteCount() - 1) * 8 + ref.StartBit;
    return ((uint64_t{1} << (top + 1)) - 1) & ~((uint64_t{1} << ref.EndBit) - 1);
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c)
{
    if (c >= '1' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

char TextChar(uint8_t b) { return b < 32 || b >= 127 ? ' ' : static_cast<char>(b); }


}  // namespace

int Utf8SequenceLength(const uint8_t* bytes, std::size_t available)
{
    const uint8_t lead = bytes[0];
    int length = 0;
    uint8_t low = 0x80;  // the allowed range of the second byte (excludes overlong forms,
    uint8_t high = 0xBF; // surrogates and code points past U+10FFFF)
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (available < static_cast<std::size_t>(length)) return 0;
    if (bytes[1] < low || bytes[1] > high) return 0;
    for (int i = 2; i < length; ++i)
        if (bytes[i] < 0x80 || bytes[i] > 0xBF) return 0;
    return length;
}

void TMap::WriteField(FieldRef ref, int64_t value)
{
    if (!IsNumeric(ref)) return;
    const int count = ref.ByteCount();
    uint64_t word = 0;
    for (int i = 0; i < count; ++i) word = (word << 8) | bytes_[ref.StartByte + i];
    const uint64_t mask = FieldMask(ref);
    word = (word & ~mask) | ((static_cast<uint64_t>(value) << ref.EndBit) & mask);
    for (int i = count - 1; i >= 0; --i) {
        bytes_[ref.StartByte + i] = static_cast<uint8_t>(word & 0xFF);
        word >>= 8;
    }
}

uint32_t TMap::ReadUnsigned(FieldRef ref) const
{
    if (!IsNumeric(ref)) return 0;
    uint64_t word = 0;
    for (int i = 0; i < ref.ByteCount(); ++i) word = (word << 8) | bytes_[ref.StartByte + i];
    return static_cast<uint32_t>((word & FieldMask(ref)) >> ref.EndBit);
}

int32_t TMap::ReadSigned(FieldRef ref) const
{
    if (!IsNumeric(ref)) return 0;
    const int bits = ref.ByteCount() * 8;
    uint64_t word = 0;
    for (int i = 0; i < ref.ByteCount(); ++i) word = (word << 8) | bytes_[ref.StartByte + i];
    int64_t masked = static_cast<int64_t>(word & FieldMask(ref));
    if (masked & (int64_t{1} << (bits - 1))) masked -= int64_t{1} << bits;
    return static_cast<int32_t>(masked >> ref.EndBit);
}

void TMap::WriteDigits(FieldRef ref, std::string_view text)
{
    if (!IsByteRun(ref)) return;
    std::size_t byte = ref.StartByte;
    bool high = ref.StartBit != 3;
    for (const char c : text) {
        if (!IsDigitChar(c) || byte > ref.EndByte) return;
        const auto digit = static_cast<uint8_t>(c - '0');
        uint8_t& target = bytes_[byte];
        if (high) {
            target = static_cast<uint8_t>((target & 0x0F) | (digit << 4));
        } else {
            target = static_cast<uint8_t>((target & 0xF0) | digit);
            ++byte;
        }
        high = !high;
    }
}

std::string TMap::ReadDigits(FieldRef ref) const
{
    std::string digits;
    if (!IsByteRun(ref)) return digits;
    for (std::size_t b = ref.StartByte; b <= ref.EndByte; ++b)
        for (const int nibble : {bytes_[b] >> 4, bytes_[b] & 0x0F})
            if (nibble <= 9) digits += static_cast<char>('0' + nibble);
    return digits;
}

void TMap::WriteHexDigits(FieldRef ref, std::string_view text)
{
    if (!IsByteRun(ref)) return;
    for (std::size_t i = 0; i < static_cast<std::size_t>(ref.ByteCount()); ++i)
        bytes_[ref.StartByte + i] =
            static_cast<uint8_t>(i < text.size() ? HexDigitValue(text[i]) : 0);
}

std::string TMap::ReadHexDigits(FieldRef ref) const
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    if (!IsByteRun(ref)) return text;
    for (std::size_t b = ref.StartByte; b <= ref.EndByte; ++b)
        if (bytes_[b] < 16) text += digits[bytes_[b]];
    return text;
}

void TMap::WriteText(FieldRef ref, std::string_view text)
{
    if (!IsByteRun(ref)) return;
    const auto count = static_cast<std::size_t>(ref.ByteCount());
    std::fill_n(bytes_.begin() + ref.StartByte, count, uint8_t{0});
    std::copy_n(text.begin(), std::min(count, text.size()), bytes_.begin() + ref.StartByte);
}

std::string TMap::ReadText(FieldRef ref) const
{
    std::string text;
    if (!IsByteRun(ref)) return text;
    for (std::size_t b = ref.StartByte; b <= ref.EndByte; ++b) text += TextChar(bytes_[b]);
    return text;
}

// The program's code page is UTF-8, which has no double-byte lead bytes. What the lead-byte rule
// protects, a character of more than one byte, is a UTF-8 sequence here: a complete, well-formed
// sequence inside the field is kept whole; any other byte of 127 and above becomes a blank.
std::string TMap::ReadTextDbcs(FieldRef ref) const
{
    std::string text;
    if (!IsByteRun(ref)) return text;
    std::size_t b = ref.StartByte;
    while (b <= ref.EndByte) {
        const int length = Utf8SequenceLength(&bytes_[b], ref.EndByte + 1 - b);
        if (length > 0) {
            text.append(reinterpret_cast<const char*>(&bytes_[b]), static_cast<std::size_t>(length));
            b += static_cast<std::size_t>(length);
        } else {
            text += TextChar(bytes_[b]);
            ++b;
        }
    }
    return text;
}

void TMap::FillBytes(FieldRef ref, uint8_t value)
{
    if (!IsByteRun(ref)) return;
    std::fill_n(bytes_.begin() + ref.StartByte, ref.ByteCount(), value);
}

void TMap::WriteFlags(FieldRef ref, std::span<const int32_t> list, int count)
{
    if (!IsByteRun(ref) || count <= 0) return;
    const std::size_t n = std::min({static_cast<std::size_t>(count), list.size(),
                                    static_cast<std::size_t>(ref.ByteCount()) * 8});
    for (std::size_t i = 0; i < n; ++i) {
        uint8_t& target = bytes_[ref.StartByte + i / 8];
        const auto bit = static_cast<uint8_t>(0x80 >> (i % 8));
        target = static_cast<uint8_t>(list[i] != 0 ? target | bit : target & ~bit);
    }
}

std::vector<int32_t> TMap::ReadFlags(FieldRef ref, int count) const
{
    std::vector<int32_t> flags(std::min(static_cast<std::size_t>(std::max(count, 0)), ImageSize * 8), 0);
    if (!IsByteRun(ref)) return flags;
    const std::size_t n = std::min(flags.size(), static_cast<std::size_t>(ref.ByteCount()) * 8);
    for (std::size_t i = 0; i < n; ++i)
        flags[i] = (bytes_[ref.StartByte + i / 8] >> (7 - i % 8)) & 1;
    return flags;
}

void TMap::WriteRepeated(FieldRef ref, std::span<const int32_t> values, int count)
{
    if (!IsByteRun(ref)) return;
    const std::size_t n = std::min({static_cast<std::size_t>(std::max(count, 0)), values.size(), ImageSize});
    for (std::size_t e = 0; e < n; ++e) {
        const int shift = static_cast<int>(e) * ref.ByteCount();
        if (ref.EndByte + shift >= static_cast<int>(ImageSize)) return;
        WriteField(ref.Moved(shift), values[e]);
    }
}

std::vector<int32_t> TMap::ReadRepeated(FieldRef ref, int count, bool isSigned) const
{
    std::vector<int32_t> values(std::min(static_cast<std::size_t>(std::max(count, 0)), ImageSize), 0);
    if (!IsByteRun(ref)) return values;
    for (std::size_t e = 0; e < values.size(); ++e) {
        const int shift = static_cast<int>(e) * ref.ByteCount();
        if (ref.EndByte + shift >= static_cast<int>(ImageSize)) break;
        const FieldRef entry = ref.Moved(shift);
        values[e] = isSigned ? ReadSigned(entry) : static_cast<int32_t>(ReadUnsigned(entry));
    }
    return values;
}

bool TMap::ByteEquals(std::size_t offset, uint8_t value) const
{
    return offset < ImageSize && bytes_[offset] == value;
}

uint8_t TMap::ByteSum(std::size_t first, std::size_t count) const
{
    if (first >= ImageSize) return 0;
    return qm54::ByteSum(std::span(bytes_).subspan(first, std::min(count, ImageSize - first)));
}

uint8_t ByteSum(std::span<const uint8_t> data)
{
    unsigned sum = 0;
    for (const uint8_t b : data) sum += b;
    return static_cast<uint8_t>(sum);
}

}  // namespace qm54
