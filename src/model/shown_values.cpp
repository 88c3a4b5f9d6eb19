#include "model/shown_values.h"

#include "model/alpha_tags.h"
#include "model/dialog_rows.h"

namespace qm54 {

std::string PlainSettingText(const SettingValue& value)
{
    if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    if (const auto* decimal = std::get_if<TDecimal>(&value)) return DecimalText(*decimal);
    return std::get<std::string>(value);
}

std::string ShownSettingText(const TCEmem& emem, const SettingRow& row, int item)
{
    for (const DialogRowRef& ref : FindDialogRows(row.Key, item))
        if (ref.Row->Control != RowControl::BitPairList) return ShownValue(ref, emem);
    if (row.Key == "AlphaTagCode" || row.Key == "AlphaTagText")
        return AlphaTagCellText(LoadAlphaTags(emem), item,
                                row.Key == "AlphaTagCode" ? AlphaTagCodeColumn : AlphaTagTextColumn);
    return PlainSettingText(GetSetting(emem, row, item));
}

}  // namespace qm54
