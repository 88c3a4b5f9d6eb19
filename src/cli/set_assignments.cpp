#include "cli/set_assignments.h"

#include "cli/setting_keys.h"
#include "model/settings/alpha_tags.h"
#include "model/image/convert.h"

namespace qm54::cli {

namespace {

Taken Refused(std::string why) { return {std::nullopt, std::move(why)}; }

std::string ModeRefusal(const std::string& key, EditableIn rights)
{
    if (rights == EditableIn::Manufacture) return key + " can be set in the Manufacture mode only";
    return key + " can be set in the Dealer and Manufacture modes only";
}

// The list entry named name in any letter case, or -1.
int ListIndexOf(const DialogRow& row, const std::string& name)
{
    const std::string wanted = ToUpperAscii(name);
    for (int i = 0; i < row.ListCount(); ++i)
        if (ToUpperAscii(row.ListName(i)) == wanted) return i;
    return -1;
}

std::string Choices(const std::vector<DialogRowRef>& rows)
{
    std::string text;
    for (const DialogRowRef& ref : rows)
        for (int i = 0; i < ref.Row->ListCount(); ++i) text += (text.empty() ? "\"" : ", \"") + ref.Row->ListName(i) + "\"";
    return text;
}

// The row whose rights are the widest: the one a refusal for the mode names.
const DialogRowRef& WidestRights(const std::vector<DialogRowRef>& rows)
{
    for (const DialogRowRef& ref : rows)
        if (ref.Row->Rights == EditableIn::DealerAndManufacture) return ref;
    return rows.front();
}

Taken TakeAlphaTag(const KeyRef& key, const Assignment& assignment, OperatingMode mode, std::string argument)
{
    if (!MayEdit(EditableIn::DealerAndManufacture, mode)) return Refused(ModeRefusal(key.Name(), EditableIn::DealerAndManufacture));
    const int column = AlphaTagColumnOf(key.Setting->Key);
    return {RowEntry{nullptr, key.Item, EntryKind::AlphaTagCell, column, false,
                     TypedIntoAlphaTag(column, assignment.Value), std::move(argument), std::nullopt},
            {}};
}

}  // namespace

std::optional<Assignment> ReadAssignment(const std::string& argument)
{
    const size_t eq = argument.find('=');
    if (eq == std::string::npos || eq == 0) return std::nullopt;
    return Assignment{argument.substr(0, eq), argument.substr(eq + 1)};
}

std::string StrictRefusal(const FieldRule& rule, const std::string& argument, const std::string& value,
                          std::optional<double>& read)
{
    const StrictReading reading = ReadFieldStrictly(rule, value);
    if (!reading.Readable) return argument + " is not a value of its field, which takes " + FieldForm(rule);
    if (!IsTextRule(rule)) read = reading.Number;
    return {};
}

std::string AdjustmentNote(const FieldRule& rule, const std::string& argument, double read, const std::string& shown)
{
    const std::string why = AdjustmentOf(rule, read, shown);
    return why.empty() ? std::string() : argument + ": stored as " + shown + ", " + why;
}

Taken TakeAssignment(const Assignment& assignment, OperatingMode mode, bool asTyped)
{
    const std::string argument = assignment.Key + "=" + assignment.Value;
    const std::optional<KeyRef> key = ResolveKey(assignment.Key);
    if (!key) return Refused("there is no setting \"" + assignment.Key + "\"");
    if (key->Setting != nullptr && key->Item < 0)
        return Refused(assignment.Key + " holds " + std::to_string(key->Setting->Count()) + " values: set " +
                       assignment.Key + "[0] to " + assignment.Key + "[" + std::to_string(key->Setting->Count() - 1) +
                       "] one by one");
    if (key->IsAlphaTag()) return TakeAlphaTag(*key, assignment, mode, argument);

    const std::vector<DialogRowRef> rows =
        key->Setting == nullptr ? std::vector<DialogRowRef>{key->Named} : FindDialogRows(key->Setting->Key, key->Item);
    if (rows.empty()) return Refused(key->Name() + " cannot be set yet: no settings dialog edits it");
    if (const DialogRowRef& widest = WidestRights(rows); !MayEdit(widest.Row->Rights, mode))
        return Refused(ModeRefusal(key->Name(), widest.Row->Rights));

    for (const DialogRowRef& ref : rows) {
        RowEntry entry{ref.Dialog, ref.Index, EntryKind::ChooseEntry, 0, false, {}, argument, std::nullopt};
        if (ref.Row->Control == RowControl::Edit) {
            entry.Kind = EntryKind::TypeText;
            entry.Text = TypedIntoField(*ref.Row->Rule, assignment.Value);
            if (!asTyped && MayEdit(ref.Row->Rights, mode))
                if (std::string why = StrictRefusal(*ref.Row->Rule, argument, assignment.Value, entry.Read); !why.empty())
                    return Refused(std::move(why));
        } else if (ref.Row->Control == RowControl::BitPairList && key->Setting != nullptr) {
            if (assignment.Value != "0" && assignment.Value != "1") return Refused(key->Name() + " is 0 or 1");
            entry.Kind = EntryKind::SetBit;
            entry.Index = key->Setting == ref.Row->Edits ? 1 : 2;
            entry.BitOn = assignment.Value == "1";
        } else {
            entry.Index = ListIndexOf(*ref.Row, assignment.Value);
            if (entry.Index < 0) continue;
        }
        if (!MayEdit(ref.Row->Rights, mode)) return Refused(ModeRefusal(key->Name(), ref.Row->Rights));
        return {std::move(entry), {}};
    }
    return Refused(key->Name() + " cannot be \"" + assignment.Value + "\"; the choices are " + Choices(rows));
}

}  // namespace qm54::cli
