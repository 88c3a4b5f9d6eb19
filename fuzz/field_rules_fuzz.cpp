// The parse and format rules of the settings dialogs' edit fields, as the dialogs and `qm54 set`
// use them. Properties, for every edit field of every dialog: whatever is typed, the value stored
// is within the setting's stored range (a text the setting can hold); the shown text is a fixed
// point of commit; typing restarts from the bare number and gives the same value back; a stored
// value shows and stores back as itself; the show step of a whole dialog followed by its OK
// changes nothing; the text committed in the shown dialog is what the dialog shows after its OK.
//
// Input: the field's row (one byte, taken modulo the number of edit fields), the separator (one
// byte: odd gives ","), then the typed text.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "model/settings/dialog_behaviour.h"
#include "model/settings/dialog_rows.h"
#include "model/settings/settings_table.h"

#include <string>
#include <vector>

namespace {

using namespace qm54;

struct EditRow {
    const DialogTable* Dialog;
    const DialogRow* Row;
    int Index;
};

std::vector<EditRow> EditRows()
{
    std::vector<EditRow> rows;
    for (const DialogTable& dialog : AllDialogs())
        for (size_t i = 0; i < dialog.Rows.size(); ++i)
            if (dialog.Rows[i].Control == RowControl::Edit) rows.push_back({&dialog, &dialog.Rows[i], static_cast<int>(i)});
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<EditRow> rows = EditRows();
    qm54fuzz::FuzzInput input(data, size);
    const EditRow& edit = rows[input.Byte() % rows.size()];
    const DialogRow& row = *edit.Row;
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
        FUZZ_CHECK(SetSetting(emem, setting, row.Item, StoredText(rule, shown, separator)) == SetOutcome::Stored);
    } else {
        const int32_t stored = StoredNumber(rule, value);
        FUZZ_CHECK(stored >= setting.Min && stored <= setting.Max);
        FUZZ_CHECK(StoredNumber(rule, ParseField(rule, ShownText(rule, stored, {}, separator), separator)) == stored);
        FUZZ_CHECK(SetSetting(emem, setting, row.Item, stored) == SetOutcome::Stored);
    }

    // Show then OK of the dialog over what was stored is no change.
    const DialogTable& dialog = *edit.Dialog;
    const TCEmem before = emem;
    const DialogOk ok = ApplyDialog(dialog, ShowDialog(dialog, emem, separator), emem, separator);
    FUZZ_CHECK(!ok.Modified);
    FUZZ_CHECK(emem == before);

    // The same text typed into the shown dialog and committed there (the 5-tone set list follows
    // the fields) stores a value the setting holds, and the dialog shows it again unchanged.
    DialogState state = ShowDialog(dialog, emem, separator);
    CommitRowText(dialog, state, edit.Index, typed, separator);
    const std::string committed = state[static_cast<size_t>(edit.Index)].Text;
    FUZZ_CHECK(CommittedText(dialog, state, edit.Index, committed, separator) == committed);
    (void)ApplyDialog(dialog, state, emem, separator);
    // (A serial number the market dialog does not accept is stored as the default one.)
    if (rule.Kind != RuleKind::Serial) FUZZ_CHECK(ShownValue({&dialog, &row, edit.Index}, emem, separator) == committed);
    return 0;
}
