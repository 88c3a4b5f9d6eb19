// A setting's value as the program shows it to a person: as its adjustment dialog shows an
// alignment value, through the first settings dialog row that shows it (a signalling list shows
// two settings, so their bits are given plainly), as the alpha-tag grid shows it, or else in a plain form (a number, a decimal, a text). `qm54 get` and
// `qm54 diff` print these.
#pragma once

#include <string>

#include "model/image/emem.h"
#include "model/settings/settings_table.h"

namespace qm54 {

struct DialogRow;

std::string PlainSettingText(const SettingValue& value);
// A dialog row's setting as the row writes its stored value, but not clamped to the field's
// range (a printout shows what is stored): the list name of the stored value, the field's number
// with its unit, the stored text as it is. The report prints these.
std::string StoredRowText(const TCEmem& emem, const DialogRow& row);
std::string ShownSettingText(const TCEmem& emem, const SettingRow& row, int item);

}  // namespace qm54
