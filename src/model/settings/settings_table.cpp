#include "model/settings/settings_table.h"

#include <algorithm>
#include <type_traits>

#include "model/image/map.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

constexpr int32_t kByteMax = 255;
constexpr int32_t kWordMax = 65535;
constexpr int32_t kBcd2Max = 99;
constexpr int32_t kBcd4Max = 9999;
constexpr int kSerialLength = 8;
constexpr int kStoredNameLength = 12;  // an 8-byte stem, a dot and the extension
constexpr int kCwIdTextLength = 16;
constexpr int kTagTextLength = 8;
constexpr int kCodeDigits = 4;
constexpr int64_t kAlignmentTenthsMax = 9999;

// Typed row builders: each takes only the member type its kind can hold, so a row that pairs a
// kind with the wrong kind of field does not compile.
template <class Member>
SettingRow Number(std::string_view key, Member member, int32_t min, int32_t max)
{
    static_assert(std::is_same_v<Member, IntMember> || std::is_same_v<Member, PointIntMember> ||
                  std::is_same_v<Member, SixteenIntMember> || std::is_same_v<Member, TagCodeMember>);
    return {key, SettingKind::Number, member, min, max};
}

SettingRow Flag(std::string_view key, IntMember member) { return Number(key, member, 0, 1); }

SettingRow Choice(std::string_view key, IntMember member, OptionListId list)
{
    return {key, SettingKind::Choice, member, 0, OptionLists[list].Count - 1, list};
}

SettingRow HexDigit(std::string_view key, IntMember member)
{
    return {key, SettingKind::HexDigit, member, 0, 15};
}

template <class Member>
SettingRow Text(std::string_view key, Member member, int maxLength)
{
    static_assert(std::is_same_v<Member, TextMember> || std::is_same_v<Member, TagTextMember>);
    return {key, SettingKind::Text, member, 0, 0, -1, maxLength};
}

// A text of which the image keeps whole UTF-8 characters (a file name).
SettingRow Utf8Text(std::string_view key, TextMember member, int maxLength)
{
    return {key, SettingKind::Text, member, 0, 0, -1, maxLength, false, true};
}

SettingRow ReadOnlyText(std::string_view key, TextMember member)
{
    return {key, SettingKind::Text, member, 0, 0, -1, 0, true};
}

SettingRow HexCode(std::string_view key, TextMember member, int digits)
{
    return {key, SettingKind::HexCode, member, 0, 0, -1, digits};
}

SettingRow AlignmentFrequency(std::string_view key, PointFreqMember member)
{
    return {key, SettingKind::AlignmentFrequency, member};
}

SettingRow ToneSetName(std::string_view key)
{
    return {key, SettingKind::ToneSetName, FiveToneSetOfTable{}};
}

const SettingRow kRows[] = {
    ReadOnlyText("ModelName", &TCEmem::ModelName),
    Text("SerialNumber", &TCEmem::SerialNumber, kSerialLength),
    ReadOnlyText("FirmwareVersion", &TCEmem::FirmwareVersion),
    Number("MarketCode", &TCEmem::MarketCode, 0, kByteMax),
    Number("NsqThreshold", &TCEmem::NsqThreshold, 0, kByteMax),
    Number("SqlNarrowOffset", &TCEmem::SqlNarrowOffset, 0, kByteMax),
    Number("SqlHysteresis", &TCEmem::SqlHysteresis, 0, kByteMax),
    Number("TxPowerDisplayHigh", &TCEmem::TxPowerDisplayHigh, 0, kBcd2Max),
    Number("TxPowerDisplayLow", &TCEmem::TxPowerDisplayLow, 0, kBcd2Max),
    AlignmentFrequency("RxAdjustFreq", &TCEmem::RxAdjustFreq),
    Number("SqlThreshold", &TCEmem::SqlThreshold, 0, kByteMax),
    Number("RxTuning", &TCEmem::RxTuning, 0, kByteMax),
    AlignmentFrequency("TxAdjustFreq", &TCEmem::TxAdjustFreq),
    Number("TxPowerHigh", &TCEmem::TxPowerHigh, 0, kByteMax),
    Number("TxPowerLow", &TCEmem::TxPowerLow, 0, kByteMax),
    Number("MaxDevWide", &TCEmem::MaxDevWide, 0, kByteMax),
    Number("MaxDevNarrow", &TCEmem::MaxDevNarrow, 0, kByteMax),
    Number("CtcssDevWide", &TCEmem::CtcssDevWide, 0, kByteMax),
    Number("CtcssDevNarrow", &TCEmem::CtcssDevNarrow, 0, kByteMax),
    Number("DcsDevWide", &TCEmem::DcsDevWide, 0, kByteMax),
    Number("DcsDevNarrow", &TCEmem::DcsDevNarrow, 0, kByteMax),
    Choice("Band", &TCEmem::Band, OptBand),
    Choice("Duplexer", &TCEmem::Duplexer, OptDuplexer),
    Choice("Beep", &TCEmem::Beep, OptDisableEnable),
    Choice("Monitor", &TCEmem::Monitor, OptDisableEnable),
    Choice("FirstLocalOffset", &TCEmem::FirstLocalOffset, OptLocalOffset),
    Choice("SecondLocalOffset", &TCEmem::SecondLocalOffset, OptLocalOffset),
    Choice("Accessory", &TCEmem::Accessory, OptAccessory),
    Choice("MicMonitor", &TCEmem::MicMonitor, OptDisableEnable),
    Choice("FanAlert", &TCEmem::FanAlert, OptDisableEnable),
    Choice("HighTempAlert", &TCEmem::HighTempAlert, OptDisableEnable),
    Choice("DcTxPowerLow", &TCEmem::DcTxPowerLow, OptDisableEnable),
    Choice("TxPowerType", &TCEmem::TxPowerType, OptTxPowerType),
    Choice("HangOnAudio", &TCEmem::HangOnAudio, OptHangOnAudio),
    Choice("ChannelStep", &TCEmem::ChannelStep, OptChannelStep),
    Number("IntermediateFreq", &TCEmem::IntermediateFreq, 0, kBcd4Max),
    Number("RxReferenceFreq", &TCEmem::RxReferenceFreq, 0, kBcd4Max),
    Number("TxReferenceFreq", &TCEmem::TxReferenceFreq, 0, kBcd4Max),
    Number("BaseTot", &TCEmem::BaseTot, 0, kByteMax),
    Number("BaseGuardTime", &TCEmem::BaseGuardTime, 0, kByteMax),
    Number("RepeatTot", &TCEmem::RepeatTot, 0, kByteMax),
    Number("RepeatHangTime", &TCEmem::RepeatHangTime, 0, kByteMax),
    Number("RepeatGuardTime", &TCEmem::RepeatGuardTime, 0, kByteMax),
    Choice("CwIdEnable", &TCEmem::CwIdEnable, OptDisableEnable),
    Flag("DtmfTx", &TCEmem::DtmfTx),
    Flag("DtmfRx", &TCEmem::DtmfRx),
    Flag("FiveToneTx", &TCEmem::FiveToneTx),
    Flag("FiveToneRx", &TCEmem::FiveToneRx),
    Choice("AniMode", &TCEmem::AniMode, OptAniMode),
    Number("TxPowerAdjust", &TCEmem::TxPowerAdjust, -128, 127),
    Utf8Text("StoredFileName", &TCEmem::StoredFileName, kStoredNameLength),
    Number("CwIdDotTime", &TCEmem::CwIdDotTime, 0, kByteMax),
    Number("CwIdInterval", &TCEmem::CwIdInterval, 0, kWordMax),
    Number("CwIdToneFreq", &TCEmem::CwIdToneFreq, 0, kWordMax),
    Text("CwIdText", &TCEmem::CwIdText, kCwIdTextLength),
    Number("FiveToneTable", &TCEmem::FiveToneTable, 0, kWordMax),
    ToneSetName("FiveToneSet"),
    Number("FiveToneMarkTime", &TCEmem::FiveToneMarkTime, 0, kWordMax),
    Number("FiveToneSpaceTime", &TCEmem::FiveToneSpaceTime, 0, kWordMax),
    Number("AniDelay", &TCEmem::AniDelay, 0, kByteMax),
    Number("EniDelay", &TCEmem::EniDelay, 0, kByteMax),
    Number("EniTxTime", &TCEmem::EniTxTime, 0, kByteMax),
    Number("EniRxTime", &TCEmem::EniRxTime, 0, kByteMax),
    Number("EniDeadTime", &TCEmem::EniDeadTime, 0, kByteMax),
    Number("EniRepeatCount", &TCEmem::EniRepeatCount, 0, kByteMax),
    HexDigit("FiveToneRepeatCode", &TCEmem::FiveToneRepeatCode),
    HexDigit("AniHeaderCode", &TCEmem::AniHeaderCode),
    HexCode("AniCode", &TCEmem::AniCode, kCodeDigits),
    HexCode("EniCode", &TCEmem::EniCode, kCodeDigits),
    HexDigit("EniHeaderCode", &TCEmem::EniHeaderCode),
    Number("AlphaTagCode", &TCEmem::AlphaTagCode, -1, kBcd4Max),
    Text("AlphaTagText", &TCEmem::AlphaTagText, kTagTextLength),
};

// How many values a member holds: one for a scalar, the array's size for an array.
template <class Member>
struct ValueCount {
    static constexpr int Count = 1;
};
template <class T, std::size_t N>
struct ValueCount<std::array<T, N> TCEmem::*> {
    static constexpr int Count = static_cast<int>(N);
};

bool IsPrintableAscii(uint8_t c) { return c >= ' ' && c <= '~'; }

// A text survives the image as printable ASCII and, where the row keeps them, whole UTF-8
// characters: every other byte is read back as a blank.
bool IsStorableText(const std::string& text, bool utf8)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t i = 0; i < text.size();) {
        const int length = utf8 ? Utf8SequenceLength(bytes + i, text.size() - i) : 0;
        if (length == 0 && !IsPrintableAscii(bytes[i])) return false;
        i += length > 0 ? static_cast<size_t>(length) : 1;
    }
    return true;
}

bool IsHexText(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// An alignment frequency is stored in tenths of MHz: no digit may stand below the tenths.
bool IsStorableAlignmentFrequency(const TDecimal& mhz)
{
    if (mhz.Sign < 0 && (mhz.IntPart != 0 || mhz.Fraction != 0)) return false;
    const int64_t tenths = mhz.ScaledTrunc(1);
    TDecimal back;
    back.SetValue(static_cast<double>(tenths) / 10.0);
    return tenths >= 0 && tenths <= kAlignmentTenthsMax && back.Value() == mhz.Value();
}

SetOutcome CheckValue(const SettingRow& row, const SettingValue& value)
{
    switch (row.Kind) {
    case SettingKind::Number:
    case SettingKind::Choice:
    case SettingKind::HexDigit: {
        const auto* number = std::get_if<int32_t>(&value);
        if (!number) return SetOutcome::WrongType;
        return *number >= row.Min && *number <= row.Max ? SetOutcome::Stored : SetOutcome::OutOfRange;
    }
    case SettingKind::Text: {
        const auto* text = std::get_if<std::string>(&value);
        if (!text) return SetOutcome::WrongType;
        const bool fits = text->size() <= static_cast<size_t>(row.MaxLength) && IsStorableText(*text, row.Utf8);
        return fits ? SetOutcome::Stored : SetOutcome::OutOfRange;
    }
    case SettingKind::HexCode: {
        const auto* text = std::get_if<std::string>(&value);
        if (!text) return SetOutcome::WrongType;
        const bool fits = text->size() <= static_cast<size_t>(row.MaxLength) && IsHexText(*text);
        return fits ? SetOutcome::Stored : SetOutcome::OutOfRange;
    }
    case SettingKind::AlignmentFrequency: {
        const auto* mhz = std::get_if<TDecimal>(&value);
        if (!mhz) return SetOutcome::WrongType;
        return IsStorableAlignmentFrequency(*mhz) ? SetOutcome::Stored : SetOutcome::OutOfRange;
    }
    case SettingKind::ToneSetName:
        return std::holds_alternative<std::string>(value) ? SetOutcome::Stored : SetOutcome::WrongType;
    }
    return SetOutcome::WrongType;
}

std::string FiveToneSetName(const TCEmem& emem)
{
    return std::string(FiveToneSets[static_cast<size_t>(MatchingFiveToneSet(emem.FiveToneTable))].Name);
}

SetOutcome ChooseFiveToneSet(TCEmem& emem, const std::string& name)
{
    if (name == FiveToneSetName(emem)) return SetOutcome::Stored;
    for (int s = 0; s < FiveToneSetCount; ++s) {
        const FiveToneSet& set = FiveToneSets[static_cast<size_t>(s)];
        if (s != FiveToneUserSet && set.Name == name) {
            emem.FiveToneTable = set.Tones;
            return SetOutcome::Stored;
        }
    }
    return SetOutcome::NotATable;
}

SettingValue ZeroOf(SettingKind kind)
{
    switch (kind) {
    case SettingKind::Number:
    case SettingKind::Choice:
    case SettingKind::HexDigit:
        return int32_t{0};
    case SettingKind::AlignmentFrequency:
        return TDecimal();
    case SettingKind::Text:
    case SettingKind::HexCode:
    case SettingKind::ToneSetName:
        break;
    }
    return std::string();
}

}  // namespace

int SettingRow::Count() const
{
    return std::visit([](auto member) { return ValueCount<decltype(member)>::Count; }, Member);
}

bool SettingRow::IsArray() const { return Count() > 1; }

std::span<const SettingRow> SettingsTable() { return kRows; }

const SettingRow* FindSetting(std::string_view key)
{
    for (const SettingRow& row : kRows)
        if (row.Key == key) return &row;
    return nullptr;
}

const SettingRow* FindSettingOf(const SettingMember& member)
{
    for (const SettingRow& row : kRows)
        if (row.Member == member) return &row;
    return nullptr;
}

SettingValue GetSetting(const TCEmem& emem, const SettingRow& row, int index)
{
    if (index < 0 || index >= row.Count()) return ZeroOf(row.Kind);
    return std::visit(
        [&](auto member) -> SettingValue {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, FiveToneSetOfTable>)
                return FiveToneSetName(emem);
            else if constexpr (std::is_same_v<Member, IntMember> || std::is_same_v<Member, TextMember>)
                return emem.*member;
            else
                return ItemAt(emem.*member, index);
        },
        row.Member);
}

SetOutcome SetSetting(TCEmem& emem, const SettingRow& row, int index, const SettingValue& value)
{
    if (row.ReadOnly) return SetOutcome::ReadOnly;
    if (index < 0 || index >= row.Count()) return SetOutcome::OutOfRange;
    if (const SetOutcome check = CheckValue(row, value); check != SetOutcome::Stored) return check;
    SettingValue stored = value;
    if (row.Kind == SettingKind::HexCode) stored = UpperCase(std::get<std::string>(value));
    return std::visit(
        [&](auto member) -> SetOutcome {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, FiveToneSetOfTable>) {
                return ChooseFiveToneSet(emem, std::get<std::string>(stored));
            } else if constexpr (std::is_same_v<Member, IntMember>) {
                emem.*member = std::get<int32_t>(stored);
            } else if constexpr (std::is_same_v<Member, TextMember>) {
                emem.*member = std::get<std::string>(stored);
            } else if constexpr (std::is_same_v<Member, PointFreqMember>) {
                SetItemAt(emem.*member, index, std::get<TDecimal>(stored));
            } else if constexpr (std::is_same_v<Member, TagTextMember>) {
                SetItemAt(emem.*member, index, std::get<std::string>(stored));
            } else {
                SetItemAt(emem.*member, index, std::get<int32_t>(stored));
            }
            return SetOutcome::Stored;
        },
        row.Member);
}

std::string AllowedValues(const SettingRow& row)
{
    switch (row.Kind) {
    case SettingKind::Number:
    case SettingKind::HexDigit:
        return std::to_string(row.Min) + " to " + std::to_string(row.Max);
    case SettingKind::Choice: {
        std::string text = "one of ";
        for (int v = row.Min; v <= row.Max; ++v)
            text += (v > row.Min ? ", " : "") + std::to_string(v) + " (" + OptionName(row.OptionList, v) + ")";
        return text;
    }
    case SettingKind::Text:
        return "up to " + std::to_string(row.MaxLength) + (row.Utf8 ? " bytes of UTF-8 text" : " printable ASCII characters");
    case SettingKind::HexCode:
        return "up to " + std::to_string(row.MaxLength) + " hexadecimal digits";
    case SettingKind::AlignmentFrequency:
        return "0 to 999.9 MHz in steps of 0.1 MHz";
    case SettingKind::ToneSetName: {
        std::string text = "one of ";
        for (int s = 0; s < FiveToneSetCount; ++s)
            if (s != FiveToneUserSet) text += (s > 0 ? ", " : "") + std::string(FiveToneSets[static_cast<size_t>(s)].Name);
        return text;
    }
    }
    return {};
}

}  // namespace qm54
