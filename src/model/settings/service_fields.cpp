#include "model/settings/service_fields.h"

#include "model/settings/settings_table.h"

#include <cmath>
#include <variant>

namespace qm54 {

const FieldRule PointFrequencyRule{.Kind = RuleKind::PointFrequency, .Unit = "", .Filter = KeyFilterKind::Decimal,
                                   .MaxTyped = 5};
const FieldRule LevelRule{.Kind = RuleKind::Number, .Unit = "", .Filter = KeyFilterKind::Digit, .MaxTyped = 3, .Min = 0,
                          .Max = 255};
const FieldRule PowerDisplayRule{.Kind = RuleKind::Number, .Unit = "", .Filter = KeyFilterKind::Digit, .MaxTyped = 3,
                                 .Min = 0, .Max = 99};
const FieldRule PowerTrimRule{.Kind = RuleKind::Signed, .Unit = "", .Filter = KeyFilterKind::SignedDigit, .MaxTyped = 4,
                              .Min = -128, .Max = 127};

const std::array<std::string_view, 6> RxAdjustKeys{"RxAdjustFreq", "RxTuning",      "SqlThreshold",
                                                   "NsqThreshold", "SqlHysteresis", "SqlNarrowOffset"};
const std::array<std::string_view, 11> TxAdjustKeys{
    "TxAdjustFreq", "TxPowerHigh", "TxPowerLow", "MaxDevWide",         "MaxDevNarrow",      "CtcssDevWide",
    "CtcssDevNarrow", "DcsDevWide", "DcsDevNarrow", "TxPowerDisplayHigh", "TxPowerDisplayLow"};
const std::array<std::string_view, 1> TxPowerKeys{"TxPowerAdjust"};
const std::array<std::string_view, 14> AlignmentKeys{
    "RxAdjustFreq", "SqlThreshold", "RxTuning",     "TxAdjustFreq", "TxPowerHigh",     "TxPowerLow",
    "MaxDevWide",   "MaxDevNarrow", "CtcssDevWide", "CtcssDevNarrow", "DcsDevWide", "DcsDevNarrow",
    "SqlNarrowOffset", "SqlHysteresis"};
const std::array<std::string_view, AlignmentPointCount> PointNames{"Lowest", "Low", "High", "Highest"};

const FieldRule& ServiceRule(std::string_view key)
{
    if (key == "RxAdjustFreq" || key == "TxAdjustFreq") return PointFrequencyRule;
    if (key == "TxPowerDisplayHigh" || key == "TxPowerDisplayLow") return PowerDisplayRule;
    if (key == "TxPowerAdjust") return PowerTrimRule;
    return LevelRule;
}

std::string ServiceFieldText(const TCEmem& emem, std::string_view key, int index, char separator)
{
    const SettingRow* row = FindSetting(key);
    if (!row) return {};
    const FieldRule& rule = ServiceRule(key);
    const SettingValue value = GetSetting(emem, *row, index);
    if (const auto* mhz = std::get_if<TDecimal>(&value))
        return CommitField(rule, BareField(rule, FieldValue{mhz->Value(), {}}, separator), separator);
    return ShownText(rule, std::get<int32_t>(value), {}, separator);
}

void StoreServiceField(TCEmem& emem, std::string_view key, int index, std::string_view text, char separator)
{
    const SettingRow* row = FindSetting(key);
    if (!row) return;
    const FieldRule& rule = ServiceRule(key);
    // What the field shows after normalising, read back: a frequency keeps the one decimal shown.
    const FieldValue value = ParseField(rule, CommitField(rule, text, separator), separator);
    const int32_t stored = StoredNumber(rule, value);
    SettingValue setting = stored;
    if (row->Kind == SettingKind::AlignmentFrequency) {
        TDecimal mhz;
        mhz.SetValue(stored / 10.0);
        setting = mhz;
    }
    static_cast<void>(SetSetting(emem, *row, index, setting));  // normalised values are in range
}

bool FitsPointOrder(const std::array<double, AlignmentPointCount>& points, int point, double value)
{
    if (point > 0 && !(value > points[static_cast<size_t>(point - 1)])) return false;
    if (point < AlignmentPointCount - 1 && !(value < points[static_cast<size_t>(point + 1)])) return false;
    return true;
}

double PointFrequencyOf(std::string_view text, char separator)
{
    return ParseField(PointFrequencyRule, CommitField(PointFrequencyRule, text, separator), separator).Number;
}

bool ServiceValuesDiffer(const TCEmem& a, const TCEmem& b, std::span<const std::string_view> keys)
{
    for (std::string_view key : keys) {
        const SettingRow* row = FindSetting(key);
        if (!row) continue;
        for (int i = 0; i < row->Count(); ++i) {
            const SettingValue va = GetSetting(a, *row, i);
            const SettingValue vb = GetSetting(b, *row, i);
            // Frequencies by value: 150 and 150.0 are the same point.
            const auto* fa = std::get_if<TDecimal>(&va);
            const auto* fb = std::get_if<TDecimal>(&vb);
            if (fa && fb ? fa->Value() != fb->Value() : va != vb) return true;
        }
    }
    return false;
}

}  // namespace qm54
