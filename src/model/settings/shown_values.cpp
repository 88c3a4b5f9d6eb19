#include "model/settings/shown_values.h"

#include "model/settings/alpha_tags.h"
#include "model/settings/dialog_rows.h"
#include "model/settings/service_fields.h"

#include <algorithm>

namespace qm54 {

std::string PlainSettingText(const SettingValue& value)
{
    if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    if (const auto* decimal = std::get_if<TDecimal>(&value)) return DecimalText(*decimal);
    return std::get<std::string>(value);
}

namespace {

// Upper-case hexadecimal digits; a negative value as its 32-bit two's complement.
std::string HexText(int32_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto magnitude = static_cast<uint32_t>(value);
    std::string text;
    do {
        text.insert(text.begin(), kDigits[magnitude % 16]);
        magnitude /= 16;
    } while (magnitude != 0);
    return text;
}

}  // namespace

std::string StoredRowText(const TCEmem& emem, const DialogRow& row)
{
    const SettingValue value = GetSetting(emem, row.Setting(), row.Item);
    const auto* number = std::get_if<int32_t>(&value);
    const int32_t stored = number != nullptr ? *number : 0;
    switch (row.Control) {
    case RowControl::BitPairList: {
        const SettingRow* tx = row.PairSetting();
        const int32_t txBit = tx != nullptr && std::get<int32_t>(GetSetting(emem, *tx)) != 0 ? 2 : 0;
        return row.ListName((stored != 0 ? 1 : 0) | txBit);
    }
    case RowControl::List:
        if (row.Setting().Kind == SettingKind::HexDigit) return HexText(stored);  // a whole byte holds some
        return row.ListName(row.StoredValues.empty() ? stored : row.IndexOfStored(stored));
    case RowControl::Edit:
        if (IsTextRule(*row.Rule)) return PlainSettingText(value);
        return FormatField(*row.Rule, ValueOfStored(*row.Rule, stored));
    }
    return {};
}

namespace {

// Whether an adjustment dialog (Rx, Tx, Tx power) edits the setting.
bool IsServiceSetting(std::string_view key)
{
    const auto in = [key](const auto& keys) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    return in(RxAdjustKeys) || in(TxAdjustKeys) || in(TxPowerKeys);
}

}  // namespace

std::string ShownSettingText(const TCEmem& emem, const SettingRow& row, int item)
{
    if (IsServiceSetting(row.Key)) return ServiceFieldText(emem, row.Key, item);
    for (const DialogRowRef& ref : FindDialogRows(row.Key, item))
        if (ref.Row->Control != RowControl::BitPairList) return ShownValue(ref, emem);
    if (const int column = AlphaTagColumnOf(row.Key); column >= 0)
        return AlphaTagCellText(LoadAlphaTags(emem), item, column);
    return PlainSettingText(GetSetting(emem, row, item));
}

}  // namespace qm54
