#include "model/map54.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace qm54 {

namespace {

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

struct CommonItem {
    FieldRef Ref;
    Codec Kind;
    Target Field;
    int Index = 0;  // the alignment point of a PointTarget or PointFreqTarget
};

// The common area, 0x001 to 0x0CE. Not mapped: 0x017, +2 and +3 of each Tx point block,
// 0x051 bit 1, 0x05D bit 0, 0x05E-0x05F, 0x0C0-0x0C3 and 0x0C8-0x0CB.
const CommonItem CommonLayout[] = {
    {ByteRef(0x001), Codec::Unsigned, &TCEmem::NsqThreshold},
    {WordRef(0x002), Codec::Bcd4Tenths, &TCEmem::RxAdjustFreq, 3},
    {WordRef(0x004), Codec::Bcd4Tenths, &TCEmem::RxAdjustFreq, 2},
    {WordRef(0x006), Codec::Bcd4Tenths, &TCEmem::RxAdjustFreq, 1},
    {WordRef(0x008), Codec::Bcd4Tenths, &TCEmem::RxAdjustFreq, 0},
    {ByteRef(0x00A), Codec::Unsigned, &TCEmem::SqlThreshold, 3},
    {ByteRef(0x00B), Codec::Unsigned, &TCEmem::SqlThreshold, 2},
    {ByteRef(0x00C), Codec::Unsigned, &TCEmem::SqlThreshold, 1},
    {ByteRef(0x00D), Codec::Unsigned, &TCEmem::SqlThreshold, 0},
    {ByteRef(0x00E), Codec::Unsigned, &TCEmem::SqlNarrowOffset},
    {ByteRef(0x00F), Codec::Unsigned, &TCEmem::SqlHysteresis},
    {ByteRef(0x010), Codec::Unsigned, &TCEmem::RxTuning, 3},
    {ByteRef(0x011), Codec::Unsigned, &TCEmem::RxTuning, 2},
    {ByteRef(0x012), Codec::Unsigned, &TCEmem::RxTuning, 1},
    {ByteRef(0x013), Codec::Unsigned, &TCEmem::RxTuning, 0},
    {ByteRef(0x014), Codec::Bcd2Required, &TCEmem::TxPowerDisplayHigh},
    {ByteRef(0x015), Codec::Bcd2Required, &TCEmem::TxPowerDisplayLow},
    {ByteRef(image::MarketCode), Codec::Unsigned, &TCEmem::MarketCode},
    {WordRef(0x018), Codec::Bcd4Tenths, &TCEmem::TxAdjustFreq, 3},
    {WordRef(0x01A), Codec::Bcd4Tenths, &TCEmem::TxAdjustFreq, 2},
    {WordRef(0x01C), Codec::Bcd4Tenths, &TCEmem::TxAdjustFreq, 1},
    {WordRef(0x01E), Codec::Bcd4Tenths, &TCEmem::TxAdjustFreq, 0},
    // Tx point 3 block at 0x020 (+2 and +3 are not mapped)
    {ByteRef(0x020), Codec::Unsigned, &TCEmem::TxPowerHigh, 3},
    {ByteRef(0x021), Codec::Unsigned, &TCEmem::TxPowerLow, 3},
    {ByteRef(0x024), Codec::Unsigned, &TCEmem::MaxDevWide, 3},
    {ByteRef(0x025), Codec::Unsigned, &TCEmem::MaxDevNarrow, 3},
    {ByteRef(0x026), Codec::Unsigned, &TCEmem::CtcssDevWide, 3},
    {ByteRef(0x027), Codec::Unsigned, &TCEmem::CtcssDevNarrow, 3},
    {ByteRef(0x028), Codec::Unsigned, &TCEmem::DcsDevWide, 3},
    {ByteRef(0x029), Codec::Unsigned, &TCEmem::DcsDevNarrow, 3},
    // Tx point 2 block at 0x02A (+2 and +3 are not mapped)
    {ByteRef(0x02A), Codec::Unsigned, &TCEmem::TxPowerHigh, 2},
    {ByteRef(0x02B), Codec::Unsigned, &TCEmem::TxPowerLow, 2},
    {ByteRef(0x02E), Codec::Unsigned, &TCEmem::MaxDevWide, 2},
    {ByteRef(0x02F), Codec::Unsigned, &TCEmem::MaxDevNarrow, 2},
    {ByteRef(0x030), Codec::Unsigned, &TCEmem::CtcssDevWide, 2},
    {ByteRef(0x031), Codec::Unsigned, &TCEmem::CtcssDevNarrow, 2},
    {ByteRef(0x032), Codec::Unsigned, &TCEmem::DcsDevWide, 2},
    {ByteRef(0x033), Codec::Unsigned, &TCEmem::DcsDevNarrow, 2},
    // Tx point 1 block at 0x034 (+2 and +3 are not mapped)
    {ByteRef(0x034), Codec::Unsigned, &TCEmem::TxPowerHigh, 1},
    {ByteRef(0x035), Codec::Unsigned, &TCEmem::TxPowerLow, 1},
    {ByteRef(0x038), Codec::Unsigned, &TCEmem::MaxDevWide, 1},
    {ByteRef(0x039), Codec::Unsigned, &TCEmem::MaxDevNarrow, 1},
    {ByteRef(0x03A), Codec::Unsigned, &TCEmem::CtcssDevWide, 1},
    {ByteRef(0x03B), Codec::Unsigned, &TCEmem::CtcssDevNarrow, 1},
    {ByteRef(0x03C), Codec::Unsigned, &TCEmem::DcsDevWide, 1},
    {ByteRef(0x03D), Codec::Unsigned, &TCEmem::DcsDevNarrow, 1},
    // Tx point 0 block at 0x03E (+2 and +3 are not mapped)
    {ByteRef(0x03E), Codec::Unsigned, &TCEmem::TxPowerHigh, 0},
    {ByteRef(0x03F), Codec::Unsigned, &TCEmem::TxPowerLow, 0},
    {ByteRef(0x042), Codec::Unsigned, &TCEmem::MaxDevWide, 0},
    {ByteRef(0x043), Codec::Unsigned, &TCEmem::MaxDevNarrow, 0},
    {ByteRef(0x044), Codec::Unsigned, &TCEmem::CtcssDevWide, 0},
    {ByteRef(0x045), Codec::Unsigned, &TCEmem::CtcssDevNarrow, 0},
    {ByteRef(0x046), Codec::Unsigned, &TCEmem::DcsDevWide, 0},
    {ByteRef(0x047), Codec::Unsigned, &TCEmem::DcsDevNarrow, 0},
    {BytesRef(image::SerialNumber, image::SerialNumber + image::SerialNumberSize - 1), Codec::TrimmedText,
     &TCEmem::SerialNumber},
    {BitRef(0x050, 7), Codec::Unsigned, &TCEmem::Band},
    {BitRef(0x050, 6), Codec::Unsigned, &TCEmem::Duplexer},
    {BitRef(0x050, 5), Codec::Unsigned, &TCEmem::Beep},
    {BitRef(0x050, 4), Codec::Unsigned, &TCEmem::Monitor},
    {BitRef(0x050, 3), Codec::Unsigned, &TCEmem::FirstLocalOffset},
    {BitRef(0x050, 2), Codec::Unsigned, &TCEmem::SecondLocalOffset},
    {{0x050, 1, 0x050, 0}, Codec::Accessory, &TCEmem::Accessory},
    {BitRef(0x051, 7), Codec::Unsigned, &TCEmem::MicMonitor},
    {BitRef(0x051, 6), Codec::Unsigned, &TCEmem::FanAlert},
    {BitRef(0x051, 5), Codec::Unsigned, &TCEmem::HighTempAlert},
    {BitRef(0x051, 4), Codec::Unsigned, &TCEmem::TxPowerType},
    {BitRef(0x051, 3), Codec::Unsigned, &TCEmem::DcTxPowerLow},
    {BitRef(0x051, 2), Codec::Unsigned, &TCEmem::HangOnAudio},
    {BitRef(0x051, 0), Codec::Unsigned, &TCEmem::ChannelStep},
    {WordRef(0x052), Codec::Bcd4, &TCEmem::IntermediateFreq},
    {WordRef(0x054), Codec::Bcd4, &TCEmem::RxReferenceFreq},
    {WordRef(0x056), Codec::Bcd4, &TCEmem::TxReferenceFreq},
    {ByteRef(0x058), Codec::Unsigned, &TCEmem::BaseTot},
    {ByteRef(0x059), Codec::Unsigned, &TCEmem::BaseGuardTime},
    {ByteRef(0x05A), Codec::Unsigned, &TCEmem::RepeatTot},
    {ByteRef(0x05B), Codec::Unsigned, &TCEmem::RepeatHangTime},
    {ByteRef(0x05C), Codec::Unsigned, &TCEmem::RepeatGuardTime},
    {BitRef(0x05D, 7), Codec::Unsigned, &TCEmem::CwIdEnable},
    {BitRef(0x05D, 6), Codec::Unsigned, &TCEmem::DtmfTx},
    {BitRef(0x05D, 5), Codec::Unsigned, &TCEmem::FiveToneTx},
    {{0x05D, 4, 0x05D, 3}, Codec::Unsigned, &TCEmem::AniMode},
    {BitRef(0x05D, 2), Codec::Unsigned, &TCEmem::DtmfRx},
    {BitRef(0x05D, 1), Codec::Unsigned, &TCEmem::FiveToneRx},
    {ByteRef(0x060), Codec::SignedBytes, &TCEmem::TxPowerAdjust},
    {BytesRef(0x070, 0x077), Codec::FileStem, &TCEmem::StoredFileName},
    {BytesRef(0x078, 0x07A), Codec::FileExtension, &TCEmem::StoredFileName},
    {ByteRef(0x07B), Codec::Unsigned, &TCEmem::CwIdDotTime},
    {WordRef(0x07C), Codec::Unsigned, &TCEmem::CwIdInterval},
    {WordRef(0x07E), Codec::Unsigned, &TCEmem::CwIdToneFreq},
    {BytesRef(0x080, 0x08F), Codec::TrimmedText, &TCEmem::CwIdText},
    {WordRef(0x090), Codec::UnsignedWords, &TCEmem::FiveToneTable},
    {WordRef(0x0B0), Codec::Unsigned, &TCEmem::FiveToneMarkTime},
    {WordRef(0x0B2), Codec::Unsigned, &TCEmem::FiveToneSpaceTime},
    {ByteRef(0x0B4), Codec::Unsigned, &TCEmem::AniDelay},
    {ByteRef(0x0B5), Codec::Unsigned, &TCEmem::EniDelay},
    {ByteRef(0x0B6), Codec::Unsigned, &TCEmem::EniTxTime},
    {ByteRef(0x0B7), Codec::Unsigned, &TCEmem::EniRxTime},
    {ByteRef(0x0B8), Codec::Unsigned, &TCEmem::EniDeadTime},
    {ByteRef(0x0B9), Codec::Unsigned, &TCEmem::EniRepeatCount},
    {ByteRef(0x0BA), Codec::Unsigned, &TCEmem::FiveToneRepeatCode},
    {ByteRef(0x0BB), Codec::Unsigned, &TCEmem::AniHeaderCode},
    {BytesRef(0x0BC, 0x0BF), Codec::HexDigits, &TCEmem::AniCode},
    {BytesRef(0x0C4, 0x0C7), Codec::HexDigits, &TCEmem::EniCode},
    {ByteRef(0x0CC), Codec::Unsigned, &TCEmem::EniHeaderCode},
    {BytesRef(image::FirmwareMajor, image::FirmwareMinor), Codec::Firmware, &TCEmem::FirmwareVersion},
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

struct ChannelItem {
    FieldRef Ref;  // relative to the start of the record
    ChannelCodec Kind;
    ChannelTarget Field;
};

// The 48-byte channel record. Not mapped: +2 bit 1, +3 bits 2-1, +4 bits 4-0, +8 and +9.
const ChannelItem ChannelLayout[] = {
    {BitRef(0x00, 7), ChannelCodec::NotInUse, &TChannel::InUse},
    {{0x00, 6, 0x00, 0}, ChannelCodec::Number, &TChannel::Number},
    {BitRef(0x01, 7), ChannelCodec::Inhibit, &TChannel::TxInhibit},
    {BitRef(0x01, 6), ChannelCodec::Plain, &TChannel::Wide},
    {BitRef(0x01, 5), ChannelCodec::PlainSigned, &TChannel::ClockShift},
    {BitRef(0x01, 4), ChannelCodec::PlainSigned, &TChannel::NsqMode},
    {BitRef(0x01, 3), ChannelCodec::Plain, &TChannel::CourtesyBlip},
    {BitRef(0x01, 2), ChannelCodec::Plain, &TChannel::ReverseBurst},
    {BitRef(0x01, 1), ChannelCodec::Plain, &TChannel::DcsType},
    {BitRef(0x01, 0), ChannelCodec::Plain, &TChannel::DcsDecodeType},
    {BitRef(0x02, 7), ChannelCodec::Plain, &TChannel::UseBaseTot},
    {BitRef(0x02, 6), ChannelCodec::Plain, &TChannel::UseBaseGuard},
    {BitRef(0x02, 5), ChannelCodec::LockoutBclo, &TChannel::Lockout},
    {BitRef(0x02, 4), ChannelCodec::LockoutBtlo, &TChannel::Lockout},
    {BitRef(0x02, 3), ChannelCodec::Plain, &TChannel::CloseSplit},
    {BitRef(0x02, 2), ChannelCodec::Plain, &TChannel::TxAboveRx},
    {BitRef(0x02, 0), ChannelCodec::Plain, &TChannel::TxPower},
    {BitRef(0x03, 7), ChannelCodec::Plain, &TChannel::MultiTone},
    {BitRef(0x03, 6), ChannelCodec::Plain, &TChannel::UseRptTot},
    {BitRef(0x03, 5), ChannelCodec::Plain, &TChannel::UseRptHangTime},
    {BitRef(0x03, 4), ChannelCodec::Plain, &TChannel::UseRptGuardTime},
    {BitRef(0x03, 3), ChannelCodec::Plain, &TChannel::TotBeep},
    {BitRef(0x03, 0), ChannelCodec::Plain, &TChannel::ActionMode},
    {BitRef(0x04, 7), ChannelCodec::Plain, &TChannel::TotMute},
    {{0x04, 6, 0x04, 5}, ChannelCodec::Plain, &TChannel::IdMode},
    {ByteRef(0x05), ChannelCodec::Plain, &TChannel::NsqLevel},
    {BytesRef(0x06, 0x07), ChannelCodec::SlotFlags, &TChannel::SlotUsed},
    {BytesRef(0x0A, 0x0C), ChannelCodec::FreqKhz, &TChannel::RxFreq},
    {BytesRef(0x0D, 0x0F), ChannelCodec::FreqKhz, &TChannel::TxFreq},
    {ByteRef(0x10), ChannelCodec::Tones, ToneSlots{&TChannel::DecodeDcs, &TChannel::DecodeTone}},
    {ByteRef(0x20), ChannelCodec::Tones, ToneSlots{&TChannel::EncodeDcs, &TChannel::EncodeTone}},
};

// The 10-byte alpha tag record.
constexpr FieldRef AlphaTagCodeRef = BytesRef(0, 1);  // four BCD digits, 0xFF 0xFF when unused
constexpr FieldRef AlphaTagTextRef = BytesRef(2, 9);  // eight characters, "%" x 8 when empty
constexpr int AlphaTagTextLength = 8;

constexpr const char* StoredExtension = "rpt";
constexpr int32_t AccessoryAcc = 2;
constexpr int32_t AccessoryHighLow = 1;

// "%W.Wd": at least width digits, a minus sign in front of a negative number.
std::string ZeroPadded(int64_t value, int width)
{
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    const auto wanted = static_cast<size_t>(width);
    if (digits.size() < wanted) digits.insert(0, wanted - digits.size(), '0');
    return value < 0 ? '-' + digits : digits;
}

// The decimal digits as a number, or fallback when there are none.
int64_t DigitsValue(const std::string& digits, int64_t fallback)
{
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return ec == std::errc() && end == digits.data() + digits.size() ? value : fallback;
}

std::string WithoutExtension(const std::string& name)
{
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithoutTrailingBlanks(std::string text)
{
    const auto last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

std::string FirmwareText(uint8_t major, uint8_t minor)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string text;
    if (major >= 16) text += hex[major >> 4];
    text += hex[major & 0x0F];
    text += '.';
    text += hex[minor >> 4];
    text += hex[minor & 0x0F];
    return text;
}

// Reading and writing the TCEmem field an item names.
int32_t IntOf(const TCEmem& e, const CommonItem& item)
{
    if (const auto* field = std::get_if<IntTarget>(&item.Field)) return e.*(*field);
    if (const auto* points = std::get_if<PointTarget>(&item.Field)) return ItemAt(e.*(*points), item.Index);
    return 0;
}

void SetInt(TCEmem& e, const CommonItem& item, int32_t value)
{
    if (const auto* field = std::get_if<IntTarget>(&item.Field)) e.*(*field) = value;
    if (const auto* points = std::get_if<PointTarget>(&item.Field))
        SetItemAt(e.*(*points), item.Index, value);
}

TDecimal DecimalOf(const TCEmem& e, const CommonItem& item)
{
    const auto* points = std::get_if<PointFreqTarget>(&item.Field);
    return points ? ItemAt(e.*(*points), item.Index) : TDecimal();
}

void SetDecimal(TCEmem& e, const CommonItem& item, const TDecimal& value)
{
    if (const auto* points = std::get_if<PointFreqTarget>(&item.Field))
        SetItemAt(e.*(*points), item.Index, value);
}

std::string TextOf(const TCEmem& e, const CommonItem& item)
{
    const auto* field = std::get_if<TextTarget>(&item.Field);
    return field ? e.*(*field) : std::string();
}

void SetText(TCEmem& e, const CommonItem& item, std::string value)
{
    if (const auto* field = std::get_if<TextTarget>(&item.Field)) e.*(*field) = std::move(value);
}

SixteenValues SixteenOf(const TCEmem& e, const CommonItem& item)
{
    const auto* field = std::get_if<SixteenTarget>(&item.Field);
    return field ? e.*(*field) : SixteenValues{};
}

void SetSixteen(TCEmem& e, const CommonItem& item, const std::vector<int32_t>& values)
{
    const auto* field = std::get_if<SixteenTarget>(&item.Field);
    if (!field) return;
    SixteenValues& target = e.*(*field);
    for (size_t i = 0; i < target.size(); ++i) target[i] = i < values.size() ? values[i] : 0;
}

template <class T>
T ChannelValue(const TChannel& ch, const ChannelTarget& target, T fallback)
{
    using Member = T TChannel::*;
    const auto* field = std::get_if<Member>(&target);
    return field ? ch.*(*field) : fallback;
}

template <class T>
void SetChannelValue(TChannel& ch, const ChannelTarget& target, const T& value)
{
    using Member = T TChannel::*;
    if (const auto* field = std::get_if<Member>(&target)) ch.*(*field) = value;
}

void EncodeCommon(TMap& map, const TCEmem& e, const CommonItem& item)
{
    switch (item.Kind) {
    case Codec::Unsigned:
        map.WriteField(item.Ref, IntOf(e, item));
        break;
    case Codec::Accessory:
        map.WriteField(item.Ref, IntOf(e, item) == 1 ? AccessoryAcc : AccessoryHighLow);
        break;
    case Codec::Bcd2Required:
        map.WriteDigits(item.Ref, ZeroPadded(IntOf(e, item), 2));
        break;
    case Codec::Bcd4:
        map.WriteDigits(item.Ref, ZeroPadded(IntOf(e, item), 4));
        break;
    case Codec::Bcd4Tenths:
        map.WriteDigits(item.Ref, ZeroPadded(DecimalOf(e, item).ScaledTrunc(1), 4));
        break;
    case Codec::TrimmedText:
        map.WriteText(item.Ref, TextOf(e, item));
        break;
    case Codec::FileStem:
        map.WriteText(item.Ref, WithoutExtension(TextOf(e, item)));
        break;
    case Codec::FileExtension:
        map.WriteText(item.Ref, StoredExtension);
        break;
    case Codec::HexDigits:
        map.WriteHexDigits(item.Ref, TextOf(e, item));
        break;
    case Codec::SignedBytes:
    case Codec::UnsignedWords: {
        const SixteenValues values = SixteenOf(e, item);
        map.WriteRepeated(item.Ref, values, static_cast<int>(values.size()));
        break;
    }
    case Codec::Firmware:
        break;
    }
}

// False when a field that must hold digits holds none.
bool DecodeCommon(const TMap& map, TCEmem& e, const CommonItem& item)
{
    switch (item.Kind) {
    case Codec::Unsigned:
        SetInt(e, item, static_cast<int32_t>(map.ReadUnsigned(item.Ref)));
        break;
    case Codec::Accessory:
        SetInt(e, item, map.ReadUnsigned(item.Ref) == AccessoryAcc ? 1 : 0);
        break;
    case Codec::Bcd2Required: {
        const int64_t value = DigitsValue(map.ReadDigits(item.Ref), -1);
        SetInt(e, item, value < 0 ? 0 : static_cast<int32_t>(value));
        return value >= 0;
    }
    case Codec::Bcd4:
        SetInt(e, item, static_cast<int32_t>(DigitsValue(map.ReadDigits(item.Ref), 0)));
        break;
    case Codec::Bcd4Tenths: {
        TDecimal mhz;
        mhz.SetValue(static_cast<double>(DigitsValue(map.ReadDigits(item.Ref), 0)) / 10.0);
        SetDecimal(e, item, mhz);
        break;
    }
    case Codec::TrimmedText:
        SetText(e, item, WithoutTrailingBlanks(map.ReadText(item.Ref)));
        break;
    case Codec::FileStem:
        SetText(e, item, map.ReadTextDbcs(item.Ref));
        break;
    case Codec::FileExtension:
        break;
    case Codec::HexDigits:
        SetText(e, item, map.ReadHexDigits(item.Ref));
        break;
    case Codec::SignedBytes:
        SetSixteen(e, item, map.ReadRepeated(item.Ref, 16, true));
        break;
    case Codec::UnsignedWords:
        SetSixteen(e, item, map.ReadRepeated(item.Ref, 16, false));
        break;
    case Codec::Firmware:
        SetText(e, item, FirmwareText(map.Bytes()[item.Ref.StartByte], map.Bytes()[item.Ref.EndByte]));
        break;
    }
    return true;
}

void EncodeChannel(TMap& map, const TChannel& ch, int index, const ChannelItem& item)
{
    const FieldRef ref = item.Ref.Moved(image::ChannelArea + image::ChannelRecordSize * index);
    const int32_t value = ChannelValue<int32_t>(ch, item.Field, 0);
    switch (item.Kind) {
    case ChannelCodec::Plain:
    case ChannelCodec::PlainSigned:
        map.WriteField(ref, value);
        break;
    case ChannelCodec::Inhibit:
        map.WriteField(ref, value != 0 ? 1 : 0);
        break;
    case ChannelCodec::NotInUse:
        map.WriteField(ref, value == 0 ? 1 : 0);
        break;
    case ChannelCodec::Number: {
        const int number = index + 1;
        map.WriteField(ref, (number / 10) << 4 | number % 10);
        break;
    }
    case ChannelCodec::LockoutBclo:
        map.WriteField(ref, value == 1 ? 1 : 0);
        break;
    case ChannelCodec::LockoutBtlo:
        map.WriteField(ref, value == 2 ? 1 : 0);
        break;
    case ChannelCodec::SlotFlags: {
        const SlotArray flags = ChannelValue<SlotArray>(ch, item.Field, SlotArray{});
        map.WriteFlags(ref, flags, SlotCount);
        break;
    }
    case ChannelCodec::FreqKhz: {
        const TDecimal mhz = ChannelValue<TDecimal>(ch, item.Field, TDecimal());
        map.WriteDigits(ref, ZeroPadded(mhz.ScaledTrunc(3), 6));
        break;
    }
    case ChannelCodec::Tones:
        if (const auto* tones = std::get_if<ToneSlots>(&item.Field)) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const FieldRef byte = ref.Moved(slot);
                map.WriteField(BitRef(byte.StartByte, 7), ItemAt(ch.*(tones->IsDcs), slot));
                map.WriteField({byte.StartByte, 6, byte.StartByte, 0}, ItemAt(ch.*(tones->Index), slot));
            }
        }
        break;
    }
}

void DecodeChannel(const TMap& map, TChannel& ch, int index, const ChannelItem& item)
{
    const FieldRef ref = item.Ref.Moved(image::ChannelArea + image::ChannelRecordSize * index);
    switch (item.Kind) {
    case ChannelCodec::Plain:
        SetChannelValue<int32_t>(ch, item.Field, static_cast<int32_t>(map.ReadUnsigned(ref)));
        break;
    case ChannelCodec::PlainSigned:
    case ChannelCodec::Inhibit:
        SetChannelValue<int32_t>(ch, item.Field, map.ReadSigned(ref));
        break;
    case ChannelCodec::NotInUse:
        SetChannelValue<int32_t>(ch, item.Field, map.ReadUnsigned(ref) == 0 ? 1 : 0);
        break;
    case ChannelCodec::Number:
        SetChannelValue<int32_t>(ch, item.Field, index + 1);
        break;
    case ChannelCodec::LockoutBclo:
        SetChannelValue<int32_t>(ch, item.Field, static_cast<int32_t>(map.ReadUnsigned(ref)));
        break;
    case ChannelCodec::LockoutBtlo:
        if (map.ReadUnsigned(ref) == 1) SetChannelValue<int32_t>(ch, item.Field, 2);
        break;
    case ChannelCodec::SlotFlags: {
        const std::vector<int32_t> flags = map.ReadFlags(ref, SlotCount);
        SlotArray slots{};
        std::copy_n(flags.begin(), std::min(flags.size(), slots.size()), slots.begin());
        SetChannelValue<SlotArray>(ch, item.Field, slots);
        break;
    }
    case ChannelCodec::FreqKhz: {
        TDecimal mhz;
        mhz.SetValue(static_cast<double>(DigitsValue(map.ReadDigits(ref), 0)) / 1000.0);
        SetChannelValue<TDecimal>(ch, item.Field, mhz);
        break;
    }
    case ChannelCodec::Tones:
        if (const auto* tones = std::get_if<ToneSlots>(&item.Field)) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const uint16_t byte = ref.Moved(slot).StartByte;
                const auto isDcs = static_cast<int32_t>(map.ReadUnsigned(BitRef(byte, 7)));
                const auto index = static_cast<int32_t>(map.ReadUnsigned({byte, 6, byte, 0}));
                SetItemAt(ch.*(tones->IsDcs), slot, isDcs);
                SetItemAt(ch.*(tones->Index), slot, index);
            }
        }
        break;
    }
}

FieldRef AlphaTagRef(FieldRef relative, int tag)
{
    return relative.Moved(image::AlphaTagArea + image::AlphaTagRecordSize * tag);
}

}  // namespace

void TMap54::Reset()
{
    bytes_.fill(0);
    bytes_[image::StartMarker] = image::MarkerValue;
    bytes_[image::EndMarker] = image::MarkerValue;
    FillBytes(BytesRef(image::ResetFillFirst, image::ResetFillLast), image::ResetFillValue);
}

bool TMap54::Encode(const TCEmem& e)
{
    for (const CommonItem& item : CommonLayout) EncodeCommon(*this, e, item);

    for (int c = 0; c < ChannelCount; ++c)
        for (const ChannelItem& item : ChannelLayout) EncodeChannel(*this, e.Channels.Items(c), c, item);

    for (int t = 0; t < AlphaTagCount; ++t) {
        const int32_t code = e.AlphaTagCode[static_cast<size_t>(t)];
        if (code == -1)
            FillBytes(AlphaTagRef(AlphaTagCodeRef, t), 0xFF);
        else
            WriteDigits(AlphaTagRef(AlphaTagCodeRef, t), ZeroPadded(code, 4));
        const std::string& text = e.AlphaTagText[static_cast<size_t>(t)];
        if (text.empty()) {
            FillBytes(AlphaTagRef(AlphaTagTextRef, t), image::AlphaTagEmptyText);
        } else {
            std::string padded = text.substr(0, AlphaTagTextLength);
            padded.resize(AlphaTagTextLength, ' ');
            WriteText(AlphaTagRef(AlphaTagTextRef, t), padded);
        }
    }

    bytes_[image::ChecksumA] = ByteSum(image::ChecksumAFirst, image::ChecksumACount);
    bytes_[image::ChecksumB] = ByteSum(0, image::ChecksumBCount);
    return true;
}

bool TMap54::Decode(TCEmem& e) const
{
    e.ModelName = KtdModelName;
    bool digitsPresent = true;
    for (const CommonItem& item : CommonLayout)
        if (!DecodeCommon(*this, e, item)) digitsPresent = false;

    for (int t = 0; t < AlphaTagCount; ++t) {
        e.AlphaTagCode[static_cast<size_t>(t)] =
            static_cast<int32_t>(DigitsValue(ReadDigits(AlphaTagRef(AlphaTagCodeRef, t)), -1));
        const FieldRef text = AlphaTagRef(AlphaTagTextRef, t);
        e.AlphaTagText[static_cast<size_t>(t)] =
            ByteEquals(text.StartByte, image::AlphaTagEmptyText) ? std::string() : ReadText(text);
    }

    for (int c = 0; c < ChannelCount; ++c)
        for (const ChannelItem& item : ChannelLayout) DecodeChannel(*this, e.Channels.Items(c), c, item);
    return digitsPresent;
}

}  // namespace qm54
