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
