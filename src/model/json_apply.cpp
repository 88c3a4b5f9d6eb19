#include "model/json_apply.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <set>

#include "model/channel_fields.h"
#include "model/channel_rules.h"
#include "model/convert.h"
#include "model/settings_table.h"

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

class Applier {
public:
    Applier(TCEmem& emem, std::vector<std::string>& notes) : emem_(emem), notes_(notes) {}

    bool Document(const Json& doc)
    {
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
        return toneSet_ == nullptr || ToneSet(*toneSet_, doc.contains(kToneTableKey));
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
        case SettingKind::HexDigit:
            if (!value.is_number_integer()) return Fail(path, ValueText(value) + " is not a whole number");
            if (value.get<int64_t>() < INT32_MIN || value.get<int64_t>() > INT32_MAX)
                return Fail(path, ValueText(value) + " is outside " + AllowedValues(row));
            setting = static_cast<int32_t>(value.get<int64_t>());
            break;
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
                const Json& n = channel["Number"];
                if (!n.is_number_integer() || n.get<int64_t>() < 1 || n.get<int64_t>() > TChannels::Count())
                    return Fail(path + ".Number", ValueText(n) + " is outside 1 to " + std::to_string(TChannels::Count()));
                number = static_cast<size_t>(n.get<int64_t>());
            }
            TChannel& ch = emem_.Channels.Items(static_cast<int>(number) - 1);
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
        if (!value.is_number_integer()) return Fail(path, ValueText(value) + " is not a whole number");
        out = value.get<int64_t>();
        if (out < min || out > max)
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
        return Frequency(ch.*std::get<ChannelFreqMember>(row.Member), value, path);
    }

    // {"MHz": "161.00000", "kHz": 161000} as show prints it, or either of the two; whole kHz
    // are what the image keeps.
    bool Frequency(TDecimal& frequency, const Json& value, const std::string& path)
    {
        if (!value.is_object()) return Fail(path, ValueText(value) + " is not {\"MHz\": ..., \"kHz\": ...}");
        int64_t khz = -1;
        if (value.contains("kHz") && !WholeNumberIn(value["kHz"], 0, kKhzMax, path + ".kHz", khz)) return false;
        if (value.contains("MHz")) {
            const Json& mhz = value["MHz"];
            double megahertz = 0;
            if (mhz.is_number())
                megahertz = mhz.get<double>();
            else if (mhz.is_string())
                megahertz = CellKhzFrequency(mhz.get<std::string>());
            else
                return Fail(path + ".MHz", ValueText(mhz) + " is not a frequency");
            const int64_t fromMhz = TruncToInt64(megahertz * 1000.0 + 0.5);
            if (fromMhz < 0 || fromMhz > kKhzMax)
                return Fail(path + ".MHz", ValueText(mhz) + " is outside 0 to 999.999");
            // The snapped MHz text and the stored kHz of one frequency may differ by the raster.
            if (khz < 0) khz = fromMhz;
        }
        if (khz < 0) return Fail(path, "gives neither MHz nor kHz");
        frequency.SetValue(static_cast<double>(khz) / 1000.0);
        return true;
    }

    TCEmem& emem_;
    std::vector<std::string>& notes_;
    std::string error_;
    const Json* toneSet_ = nullptr;
    std::set<std::string> derivedNoted_;
};

}  // namespace

JsonApplyResult ApplyJson(std::string_view text, TCEmem& emem)
{
    JsonApplyResult result;
    Json doc;
    try {
        doc = Json::parse(text.begin(), text.end());
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
    TCEmem applied = emem;
    Applier applier(applied, result.Notes);
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
