// The parse and format rules of the settings dialogs' edit fields, as the dialogs and `qm54 set`
// use them. Properties, for every edit field of every dialog: whatever is typed, the value stored
// is within the setting's stored range (a text the setting can hold); the shown text is a fixed
// point of commit; typing restarts from the bare number and gives the same value back; a stored
// value shows and stores back as itself; the show step of a whole dialog followed by its OK
// changes nothing.
//
// Input: the field's row (one byte, taken modulo the number of edit fields), the separator (one
// byte: odd gives ","), then the typed text.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "model/dialog_rows.h"
#include "model/settings_table.h"

#include <string>
#include <vector>

namespace {

using namespace qm54;

std::vector<const DialogRow*> EditRows()
{
    std::vector<const DialogRow*> rows;
    for (const DialogTable& dialog : AllDialogs())
        for (const DialogRow& row : dialog.Rows)
            if (row.Control == RowControl::Edit) rows.push_back(&row);
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<const DialogRow*> rows = EditRows();
    qm54fuzz::FuzzInput input(data, size);
    const DialogRow& row = *rows[input.Byte() % rows.size()];
    const char separator = (input.Byte() & 1) ? ',' : '.';
    const auto rest = input.Take(size);
    const std::string typed = TypedIntoField(*row.Rule, std::string(rest.begin(), rest.end()));
    const FieldRule& rule = *row.Rule;
    const SettingRow& setting = row.Setting();

    const FieldValue value = ParseField(rule, typed, separator);
    const std::string shown = FormatField(rule, value, separator);
    FUZZ_CHECK(CommitField(rule, shown, separator) == shown);
    FUZZ_CHECK(ParseField(rule, BareField(rule, value, separator), separator) == value);

    TCEmem emem;
    SetDefaults(emem);
    if (IsTextRule(rule)) {
        FUZZ_CHECK(SetSetting(emem, setting, 0, StoredText(rule, value)) == SetOutcome::Stored);
    } else {
        const int32_t stored = StoredNumber(rule, value);
        FUZZ_CHECK(stored >= setting.Min && stored <= setting.Max);
        FUZZ_CHECK(StoredNumber(rule, ParseField(rule, ShownText(rule, stored, {}, separator), separator)) == stored);
        FUZZ_CHECK(SetSetting(emem, setting, 0, stored) == SetOutcome::Stored);
    }

    // Show then OK of the dialog over what was stored is no change.
    const DialogRowRef ref = FindDialogRow(row.Key);
    const TCEmem before = emem;
    const DialogOk ok = ApplyDialog(*ref.Dialog, ShowDialog(*ref.Dialog, emem, separator), emem, separator);
    FUZZ_CHECK(!ok.Modified);
    FUZZ_CHECK(emem == before);
    return 0;
}
