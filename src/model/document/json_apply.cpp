#include "model/document/json_apply.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <functional>
#include <cmath>
#include <optional>
#include <set>

#include "model/channels/channel_cells.h"
#include "model/channels/channel_fields.h"
#include "model/channels/channel_rules.h"
#include "model/image/convert.h"
#include "model/settings/dialog_behaviour.h"
#include "model/image/frequency.h"
#include "model/settings/settings_table.h"

namespace qm54 {

namespace {

using Json = nlohmann::json;

constexpr int64_t kKhzMax = 999999;  // six BCD digits of whole kHz
constexpr size_t kShownValueLength = 40;
constexpr std::string_view kToneSetKey = "FiveToneSet";
constexpr std::string_view kToneTableKey = "FiveToneTable";

std::string ValueText(const Json& value)
{
    std::string text = value.dump();
    if (text.size() > kShownValueLength) text = text.substr(0, kShownValueLength) + "...";
    return text;
}

std::string Indexed(const std::string& path, size_t index) { return path + "[" + std::to_string(index) + "]"; }

enum class WholeNumber { Read, NotWhole, OutOfRange };

// An integer of the JSON text. One beyond 64 bits is kept by the parser as an unsigned or a
// floating-point number: that is a whole number out of range, not a fraction.
WholeNumber ReadWholeNumber(const Json& value, int64_t& out)
{
    if (value.is_number_unsigned()) {
        if (value.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) return WholeNumber::OutOfRange;
        out = static_cast<int64_t>(value.get<uint64_t>());
        return WholeNumber::Read;
    }
    if (value.is_number_integer()) {
        out = value.get<int64_t>();
        return WholeNumber::Read;
    }
    constexpr double kBeyond64Bits = 9.2e18;
    if (value.is_number_float() && std::fabs(value.get<double>()) >= kBeyond64Bits) return WholeNumber::OutOfRange;
    return WholeNumber::NotWhole;
}

// The first key that an object of the text gives twice, with its JSON path, found while parsing
// (the parsed object keeps only one of the two).
class DuplicateKeyFinder {
public:
    bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed)
    {
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start:
            CountElement();
            frames_.push_back({event == Json::parse_event_t::array_start, 0, {}, {}});
            break;
        case Json::parse_event_t::object_end:
        case Json::parse_event_t::array_end:
            if (!frames_.empty()) frames_.pop_back();
            break;
        case Json::parse_event_t::key:
            if (!frames_.empty() && parsed.is_string()) Key(parsed.get<std::string>());
            break;
        case Json::parse_event_t::value:
            CountElement();
            break;
        }
        return true;
    }

    // "Channels[0].RxFreq.MHz", or empty when no key is given twice.
    const std::string& Duplicate() const { return duplicate_; }

private:
    struct Frame {
        bool Array;
        size_t Elements;  // Array: the elements begun so far
        std::set<std::string> Keys;
        std::string Key;  // Object: the key being read
    };

    void CountElement()
    {
        if (!frames_.empty() && frames_.back().Array) ++frames_.back().Elements;
    }

    void Key(const std::string& key)
    {
        Frame& frame = frames_.back();
        frame.Key = key;
        if (frame.Keys.insert(key).second || !duplicate_.empty()) return;
        for (const Frame& f : frames_) {
            if (f.Array)
                duplicate_ = Indexed(duplicate_, f.Elements - 1);
            else
                duplicate_ += (duplicate_.empty() ? "" : ".") + f.Key;
        }
    }

    std::vector<Frame> frames_;
    std::string duplicate_;
};

// A channel frequency the text gives, checked once every key is applied (the band's limits and
// the raster may be among them).
struct GivenFrequency {
    int Channel = 0;
    ChannelFreqMember Member = nullptr;
    std::string Path;
    Json Value;
    std::optional<double> Mhz;  // when MHz is given
    bool KhzGiven = false;
    int64_t Khz = 0;  // what is stored
};

class Applier {
public:
    Applier(const TCEmem& before, TCEmem& emem, std::vector<std::string>& notes)
        : before_(before), emem_(emem), notes_(notes)
    {
    }

    // A change of band comes first, as the hardware dialog's OK makes it (the band's IF, channel
    // frequencies and alignment), so that every other key given is applied over it.
    bool Document(const Json& doc)
    {
        if (const auto band = doc.find("Band"); band != doc.end()) {
            int64_t value = -1;
            if (ReadWholeNumber(*band, value) == WholeNumber::Read && (value == BandVhf || value == BandUhf))
                ChangeBandAsHardwareOk(emem_, static_cast<int>(value));
        }
        for (const auto& [key, value] : doc.items()) {
            if (key == "Channels") {
                if (!Channels(value)) return false;
            } else if (key == "ChecksumA" || key == "ChecksumB") {
                notes_.push_back(key + " is worked out when the file is saved: ignored");
            } else if (key == kToneSetKey) {
                toneSet_ = &value;  // after the table, which it may follow or load
            } else if (const SettingRow* row = FindSetting(key)) {
                if (!Setting(*row, value, key)) return false;
            } else {
                return Fail(key, "there is no such setting");
            }
        }
        if (toneSet_ != nullptr && !ToneSet(*toneSet_, doc.contains(kToneTableKey))) return false;
        return FrequenciesFit();
    }

    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& path, const std::string& why)
    {
        error_ = path + ": " + why;
        return false;
    }

    bool Setting(const SettingRow& row, const Json& value, const std::string& path)
    {
        if (row.ReadOnly) {
            notes_.push_back(path + " is read only: ignored");
            return true;
        }
        if (!row.IsArray()) return SettingValueAt(row, 0, value, path);
        if (!value.is_array() || value.size() != static_cast<size_t>(row.Count()))
            return Fail(path, ValueText(value) + " is not a list of " + std::to_string(row.Count()) + " values");
        for (size_t i = 0; i < value.size(); ++i)
            if (!SettingValueAt(row, static_cast<int>(i), value[i], Indexed(path, i))) return false;
        return true;
    }

    bool SettingValueAt(const SettingRow& row, int index, const Json& value, const std::string& path)
    {
        SettingValue setting;
        switch (row.Kind) {
        case SettingKind::Number:
        case SettingKind::Choice:
        case SettingKind::HexDigit: {
            int64_t number = 0;
            const WholeNumber read = ReadWholeNumber(value, number);
            if (read == WholeNumber::NotWhole) return Fail(path, ValueText(value) + " is not a whole number");
            if (read == WholeNumber::OutOfRange || number < INT32_MIN || number > INT32_MAX)
                return Fail(path, ValueText(value) + " is out of range: " + AllowedValues(row));
            setting = static_cast<int32_t>(number);
            break;
        }
        case SettingKind::AlignmentFrequency: {
            if (!value.is_number()) return Fail(path, ValueText(value) + " is not a number");
            TDecimal mhz;
            mhz.SetValue(value.get<double>());
            setting = mhz;
            break;
        }
        case SettingKind::Text:
        case SettingKind::HexCode:
        case SettingKind::ToneSetName:
            if (!value.is_string()) return Fail(path, ValueText(value) + " is not a text");
            setting = value.get<std::string>();
            break;
        }
        if (SetSetting(emem_, row, index, setting) != SetOutcome::Stored)
            return Fail(path, ValueText(value) + " is not allowed: " + AllowedValues(row));
        return true;
    }

    // The set's name follows the table when both are given (it must be the one the table
    // matches); alone, a set's name loads that set.
    bool ToneSet(const Json& value, bool tableGiven)
    {
        const SettingRow& row = *FindSetting(kToneSetKey);
        if (!value.is_string()) return Fail(std::string(kToneSetKey), ValueText(value) + " is not a text");
        if (tableGiven) {
            if (std::get<std::string>(GetSetting(emem_, row)) == value.get<std::string>()) return true;
            return Fail(std::string(kToneSetKey), ValueText(value) + " is not the set FiveToneTable matches (" +
                                                      std::get<std::string>(GetSetting(emem_, row)) + ")");
        }
        return SettingValueAt(row, 0, value, std::string(kToneSetKey));
    }

    bool Channels(const Json& value)
    {
        if (!value.is_array() || value.size() > static_cast<size_t>(TChannels::Count()))
            return Fail("Channels", "is not a list of at most " + std::to_string(TChannels::Count()) + " channels");
        for (size_t i = 0; i < value.size(); ++i) {
            const std::string path = Indexed("Channels", i);
            const Json& channel = value[i];
            if (!channel.is_object()) return Fail(path, ValueText(channel) + " is not a channel");
            size_t number = i + 1;
            if (channel.contains("Number")) {
                int64_t n = 0;
                if (!WholeNumberIn(channel["Number"], 1, TChannels::Count(), path + ".Number", n)) return false;
                number = static_cast<size_t>(n);
            }
            channel_ = static_cast<int>(number) - 1;
            TChannel& ch = emem_.Channels.Items(channel_);
            if (!Channel(ch, channel, path)) return false;
            DeriveSplitFlags(ch);
        }
        return true;
    }

    bool Channel(TChannel& ch, const Json& channel, const std::string& path)
    {
        for (const auto& [key, value] : channel.items()) {
            const ChannelFieldRow* row = FindChannelField(key);
            const std::string fieldPath = path + "." + key;
            if (row == nullptr) return Fail(fieldPath, "there is no such channel setting");
            if (row->Derived) {
                if (key != "Number" && derivedNoted_.insert(key).second)
                    notes_.push_back("Channels[]." + key + " follows from the frequencies: worked out again");
                continue;
            }
            if (!ChannelField(ch, *row, value, fieldPath)) return false;
        }
        return true;
    }

    bool WholeNumberIn(const Json& value, int64_t min, int64_t max, const std::string& path, int64_t& out)
    {
        const WholeNumber read = ReadWholeNumber(value, out);
        if (read == WholeNumber::NotWhole) return Fail(path, ValueText(value) + " is not a whole number");
        if (read == WholeNumber::OutOfRange || out < min || out > max)
            return Fail(path, ValueText(value) + " is outside " + std::to_string(min) + " to " + std::to_string(max));
        return true;
    }

    bool ChannelField(TChannel& ch, const ChannelFieldRow& row, const Json& value, const std::string& path)
    {
        int64_t number = 0;
        if (const auto* member = std::get_if<ChannelIntMember>(&row.Member)) {
            if (!WholeNumberIn(value, row.Min, row.Max, path, number)) return false;
            ch.**member = static_cast<int32_t>(number);
            return true;
        }
        if (const auto* slots = std::get_if<ChannelSlotsMember>(&row.Member)) {
            SlotArray values = ch.**slots;
            if (!value.is_array() || value.size() != values.size())
                return Fail(path, ValueText(value) + " is not a list of " + std::to_string(values.size()) + " values");
            for (size_t i = 0; i < values.size(); ++i) {
                if (!WholeNumberIn(value[i], row.Min, row.Max, Indexed(path, i), number)) return false;
                values[i] = static_cast<int32_t>(number);
            }
            ch.**slots = values;
            return true;
        }
        return Frequency(ch, std::get<ChannelFreqMember>(row.Member), value, path);
    }

    // {"MHz": "161.00000", "kHz": 161000} as show prints it, or either of the two; whole kHz
    // are what the image keeps. Checked against the band once all keys are applied.
    bool Frequency(TChannel& ch, ChannelFreqMember member, const Json& value, const std::string& path)
    {
        if (!value.is_object()) return Fail(path, ValueText(value) + " is not {\"MHz\": ..., \"kHz\": ...}");
        GivenFrequency given{channel_, member, path, value, std::nullopt, value.contains("kHz")};
        int64_t khz = -1;
        if (given.KhzGiven && !WholeNumberIn(value["kHz"], 0, kKhzMax, path + ".kHz", khz)) return false;
        if (value.contains("MHz")) {
            const Json& mhz = value["MHz"];
            if (mhz.is_number())
                given.Mhz = mhz.get<double>();
            else if (mhz.is_string())
                given.Mhz = DecimalCellValue(mhz.get<std::string>());
            if (!given.Mhz) return Fail(path + ".MHz", ValueText(mhz) + " is not a frequency in MHz");
            const int64_t fromMhz = TruncToInt64(*given.Mhz * 1000.0 + 0.5);
            if (fromMhz < 0 || fromMhz > kKhzMax)
                return Fail(path + ".MHz", ValueText(mhz) + " is outside 0 to 999.999");
            if (khz < 0) khz = fromMhz;
        }
        if (khz < 0) return Fail(path, "gives neither MHz nor kHz");
        (ch.*member).SetValue(static_cast<double>(khz) / 1000.0);
        given.Khz = khz;
        given_.push_back(std::move(given));
        return true;
    }

    // MHz and kHz given together name one frequency when the MHz is the kHz itself, or the kHz as
    // show prints it (snapped to the channel raster, which moves an off-raster value by up to 3 kHz).
    bool SameFrequency(double mhz, int64_t khz) const
    {
        const int64_t hz = CellHz(mhz);
        return TruncToInt64(mhz * 1000.0 + 0.5) == khz ||
               hz == CellHz(SnapFrequency(emem_.ChannelStep, static_cast<double>(khz) / 1000.0));
    }

    // Every frequency given is within the band's limits, as the channel grid and the CSV import
    // hold a frequency; one that the channel already held is no change and stays.
    bool FrequenciesFit()
    {
        const CellLimits limits = LimitsOf(emem_);
        for (const GivenFrequency& given : given_) {
            if (given.Mhz && given.KhzGiven && !SameFrequency(*given.Mhz, given.Khz))
                return Fail(given.Path, ValueText(given.Value) + " gives MHz and kHz of two frequencies; give one of them");
            if (given.Khz == (before_.Channels.Items(given.Channel).*given.Member).ScaledTrunc(3)) continue;
            const bool rx = given.Member == &TChannel::RxFreq;
            const double mhz = static_cast<double>(given.Khz) / 1000.0;
            if (const auto outside = BandRefusal(mhz, rx ? limits.RxLow : limits.TxLow, rx ? limits.RxHigh : limits.TxHigh))
                return Fail(given.Path, ValueText(given.Value) + " is " + *outside);
        }
        return true;
    }

    const TCEmem& before_;
    TCEmem& emem_;
    std::vector<std::string>& notes_;
    std::string error_;
    const Json* toneSet_ = nullptr;
    std::set<std::string> derivedNoted_;
    int channel_ = 0;  // the channel being read
    std::vector<GivenFrequency> given_;
};

}  // namespace

JsonApplyResult ApplyJson(std::string_view text, TCEmem& emem)
{
    JsonApplyResult result;
    Json doc;
    DuplicateKeyFinder duplicates;
    try {
        doc = Json::parse(text.begin(), text.end(), std::ref(duplicates));
    } catch (const Json::exception& e) {  // the parser's one way of saying no; it ends here
        result.Outcome = JsonApplyOutcome::NotJson;
        result.Error = e.what();
        return result;
    }
    if (!doc.is_object()) {
        result.Outcome = JsonApplyOutcome::NotJson;
        result.Error = "the JSON text is not an object of settings";
        return result;
    }
    if (!duplicates.Duplicate().empty()) {
        result.Outcome = JsonApplyOutcome::Refused;
        result.Error = duplicates.Duplicate() + ": the key is given twice";
        return result;
    }
    TCEmem applied = emem;
    Applier applier(emem, applied, result.Notes);
    bool taken = false;
    try {
        taken = applier.Document(doc);
    } catch (const Json::exception& e) {  // not expected after the checks; refused, never escaping
        result.Outcome = JsonApplyOutcome::Refused;
        result.Error = e.what();
        return result;
    }
    if (!taken) {
        result.Outcome = JsonApplyOutcome::Refused;
        result.Error = applier.Error();
        return result;
    }
    emem = std::move(applied);
    result.Outcome = JsonApplyOutcome::Applied;
    return result;
}

}  // namespace qm54
