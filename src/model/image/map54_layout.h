// The layout of the memory image as data: one row for every item of the common area and of the
// channel record, with how it is stored and which member of TCEmem or TChannel it fills. Encode
// and Decode (map54.cpp) walk these rows, so one table drives both directions.
#pragma once

#include <array>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

#include "model/image/emem.h"
#include "model/image/map.h"

namespace qm54::layout {

using SixteenValues = std::array<int32_t, 16>;
static_assert(std::is_same_v<ChannelValueArray, SixteenValues>);
static_assert(std::is_same_v<FiveToneArray, SixteenValues>);

// How an item of the common area is stored.
enum class Codec {
    Unsigned,      // WriteField / ReadUnsigned
    Accessory,     // stored 2 for "Acc" (1), 1 for "High/Low Pwr" (0)
    Bcd2Required,  // two BCD digits; no digit at all fails the decode
    Bcd4,          // four BCD digits, 0 when none
    Bcd4Tenths,    // MHz as four BCD digits of tenths
    TrimmedText,   // NUL-padded text, trailing blanks dropped on reading
    FileStem,      // the stored name without its extension, read with UTF-8 characters whole
    FileExtension, // always written as "rpt", never read
    HexDigits,     // one byte per hexadecimal digit
    SignedBytes,   // 16 signed entries, the ref is the first
    UnsignedWords, // 16 unsigned entries, the ref is the first
    Firmware,      // read only: "%X.%02X" of the major and minor version bytes
};

using IntTarget = int32_t TCEmem::*;
using PointTarget = PointArray TCEmem::*;
using PointFreqTarget = PointFreqArray TCEmem::*;
using TextTarget = std::string TCEmem::*;
using SixteenTarget = SixteenValues TCEmem::*;
using Target = std::variant<IntTarget, PointTarget, PointFreqTarget, TextTarget, SixteenTarget>;

// An item of the common area. Items are made only through the named makers below, each of which
// takes the one kind of TCEmem member its encoding can fill, so that an encoding paired with the
// wrong kind of field does not compile.
class CommonItem {
public:
    static CommonItem Unsigned(FieldRef ref, IntTarget field) { return {ref, Codec::Unsigned, field}; }
    static CommonItem Unsigned(FieldRef ref, PointTarget field, int point) { return {ref, Codec::Unsigned, field, point}; }
    static CommonItem Accessory(FieldRef ref, IntTarget field) { return {ref, Codec::Accessory, field}; }
    static CommonItem Bcd2Required(FieldRef ref, IntTarget field) { return {ref, Codec::Bcd2Required, field}; }
    static CommonItem Bcd4(FieldRef ref, IntTarget field) { return {ref, Codec::Bcd4, field}; }
    static CommonItem Bcd4Tenths(FieldRef ref, PointFreqTarget field, int point)
    {
        return {ref, Codec::Bcd4Tenths, field, point};
    }
    static CommonItem TrimmedText(FieldRef ref, TextTarget field) { return {ref, Codec::TrimmedText, field}; }
    static CommonItem FileStem(FieldRef ref, TextTarget field) { return {ref, Codec::FileStem, field}; }
    static CommonItem FileExtension(FieldRef ref, TextTarget field) { return {ref, Codec::FileExtension, field}; }
    static CommonItem HexDigits(FieldRef ref, TextTarget field) { return {ref, Codec::HexDigits, field}; }
    static CommonItem SignedBytes(FieldRef ref, SixteenTarget field) { return {ref, Codec::SignedBytes, field}; }
    static CommonItem UnsignedWords(FieldRef ref, SixteenTarget field) { return {ref, Codec::UnsignedWords, field}; }
    static CommonItem Firmware(FieldRef ref, TextTarget field) { return {ref, Codec::Firmware, field}; }

    FieldRef Ref;
    Codec Kind;
    Target Field;
    int Index = 0;  // the alignment point of a PointTarget or PointFreqTarget

private:
    CommonItem(FieldRef ref, Codec kind, Target field, int index = 0)
        : Ref(ref), Kind(kind), Field(field), Index(index) {}
};


// How an item of a channel record is stored.
enum class ChannelCodec {
    Plain,        // WriteField / ReadUnsigned
    PlainSigned,  // WriteField / ReadSigned
    Inhibit,      // any non-zero value sets the bit; a set bit reads -1
    NotInUse,     // 1 for a blank channel
    Number,       // tens digit in bits 6-4, units in bits 3-0; written from the index, not read
    LockoutBclo,  // lockout 1; read first
    LockoutBtlo,  // lockout 2; read after BCLO and wins over it
    SlotFlags,    // 16 flags, slot 0 at bit 7 of the first byte
    FreqKhz,      // MHz as six BCD digits of whole kHz
    Tones,        // 16 tone bytes: bit 7 the DCS flag, bits 6-0 the index
};

using ChannelInt = int32_t TChannel::*;
using ChannelSlots = SlotArray TChannel::*;
using ChannelFreq = TDecimal TChannel::*;
struct ToneSlots {
    ChannelSlots IsDcs;
    ChannelSlots Index;
};
using ChannelTarget = std::variant<ChannelInt, ChannelSlots, ChannelFreq, ToneSlots>;

// An item of the channel record, made only through the makers below, as the common items are.
class ChannelItem {
public:
    static ChannelItem Plain(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::Plain, field}; }
    static ChannelItem PlainSigned(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::PlainSigned, field}; }
    static ChannelItem Inhibit(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::Inhibit, field}; }
    static ChannelItem NotInUse(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::NotInUse, field}; }
    static ChannelItem Number(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::Number, field}; }
    static ChannelItem LockoutBclo(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::LockoutBclo, field}; }
    static ChannelItem LockoutBtlo(FieldRef ref, ChannelInt field) { return {ref, ChannelCodec::LockoutBtlo, field}; }
    static ChannelItem SlotFlags(FieldRef ref, ChannelSlots field) { return {ref, ChannelCodec::SlotFlags, field}; }
    static ChannelItem FreqKhz(FieldRef ref, ChannelFreq field) { return {ref, ChannelCodec::FreqKhz, field}; }
    static ChannelItem Tones(FieldRef ref, ToneSlots field) { return {ref, ChannelCodec::Tones, field}; }

    FieldRef Ref;  // relative to the start of the record
    ChannelCodec Kind;
    ChannelTarget Field;

private:
    ChannelItem(FieldRef ref, ChannelCodec kind, ChannelTarget field) : Ref(ref), Kind(kind), Field(field) {}
};


// The common area, 0x001 to 0x0CE.
std::span<const CommonItem> CommonLayout();
// The 48-byte channel record, offsets relative to the record's start.
std::span<const ChannelItem> ChannelLayout();

// Bits that Encode leaves as the image held them: bits no item maps, the markers and the read-only
// firmware version. Written here once; the map's tests and the diff of unmapped bytes follow it.
struct KeptBits {
    uint16_t First;
    uint16_t Last;  // First to Last inclusive, each byte with Mask
    uint8_t Mask = 0xFF;
};
// Image offsets, outside the channel records.
std::span<const KeptBits> KeptImageBits();
// Offsets within each 48-byte channel record.
std::span<const KeptBits> KeptChannelBits();
// Per image offset, the mask of the bits Encode never writes.
std::array<uint8_t, ImageSize> KeptBitMask();

// The 10-byte alpha tag record.
constexpr FieldRef AlphaTagCodeRef = BytesRef(0, 1);  // four BCD digits, 0xFF 0xFF when unused
constexpr FieldRef AlphaTagTextRef = BytesRef(2, 9);  // eight characters, "%" x 8 when empty
constexpr int AlphaTagTextLength = 8;

}  // namespace qm54::layout
