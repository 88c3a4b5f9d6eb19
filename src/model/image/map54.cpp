#include "model/image/map54.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "model/image/map54_layout.h"

namespace qm54 {

namespace {

using namespace layout;

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
    for (const CommonItem& item : CommonLayout()) EncodeCommon(*this, e, item);

    for (int c = 0; c < ChannelCount; ++c)
        for (const ChannelItem& item : ChannelLayout()) EncodeChannel(*this, e.Channels.Items(c), c, item);

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
    for (const CommonItem& item : CommonLayout())
        if (!DecodeCommon(*this, e, item)) digitsPresent = false;

    for (int t = 0; t < AlphaTagCount; ++t) {
        e.AlphaTagCode[static_cast<size_t>(t)] =
            static_cast<int32_t>(DigitsValue(ReadDigits(AlphaTagRef(AlphaTagCodeRef, t)), -1));
        const FieldRef text = AlphaTagRef(AlphaTagTextRef, t);
        e.AlphaTagText[static_cast<size_t>(t)] =
            ByteEquals(text.StartByte, image::AlphaTagEmptyText) ? std::string() : ReadText(text);
    }

    for (int c = 0; c < ChannelCount; ++c)
        for (const ChannelItem& item : ChannelLayout()) DecodeChannel(*this, e.Channels.Items(c), c, item);
    return digitsPresent;
}

}  // namespace qm54
