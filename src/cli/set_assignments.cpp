#include "cli/set_assignments.h"

#include "model/convert.h"

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

}  // namespace

std::optional<Assignment> ReadAssignment(const std::string& argument)
{
    const size_t eq = argument.find('=');
    if (eq == std::string::npos || eq == 0) return std::nullopt;
    return Assignment{argument.substr(0, eq), argument.substr(eq + 1)};
}

Taken TakeAssignment(const Assignment& assignment, OperatingMode mode)
{
    const std::vector<DialogRowRef> rows = FindDialogRows(assignment.Key);
    if (rows.empty()) return Refused(assignment.Key + " cannot be set yet: no settings dialog edits it");
    if (const DialogRowRef& widest = WidestRights(rows); !MayEdit(widest.Row->Rights, mode))
        return Refused(ModeRefusal(assignment.Key, widest.Row->Rights));

    for (const DialogRowRef& ref : rows) {
        RowState state;
        if (ref.Row->Control == RowControl::Edit) {
            const FieldRule& rule = *ref.Row->Rule;
            state.Text = CommitField(rule, TypedIntoField(rule, assignment.Value));
        } else {
            state.Index = ListIndexOf(*ref.Row, assignment.Value);
            if (state.Index < 0) continue;
        }
        if (!MayEdit(ref.Row->Rights, mode)) return Refused(ModeRefusal(assignment.Key, ref.Row->Rights));
        return {RowEntry{ref.Dialog, ref.Index, std::move(state)}, {}};
    }
    return Refused(assignment.Key + " cannot be \"" + assignment.Value + "\"; the choices are " + Choices(rows));
}

}  // namespace qm54::cli
