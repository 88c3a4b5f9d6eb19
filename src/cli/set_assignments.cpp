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

std::string NotAValue(const FieldRule& rule, const std::string& argument)
{
    return argument + " is not a value of its field, which takes " + FieldForm(rule);
}

std::string Choices(const std::vector<DialogRowRef>& rows)
{
    std::string text;
    for (const DialogRowRef& ref : rows)
        for (int i = 0; i < ref.Row->ListCount(); ++i) text += (text.empty() ? "\"" : ", \"") + ref.Row->ListName(i) + "\"";
    return text;
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
    if (!reading.Readable) return NotAValue(rule, argument);
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

    EnteredSetting entered = EnterSetting(key->Setting, key->Item, key->Named, assignment.Value, mode, !asTyped);
    switch (entered.Outcome) {
    case EntryOutcome::Taken:
        break;
    case EntryOutcome::NoDialogEdits:
        return Refused(key->Name() + " cannot be set yet: no settings dialog edits it");
    case EntryOutcome::ModeMayNot:
        return Refused(ModeRefusal(key->Name(), entered.Needed));
    case EntryOutcome::NotAValue:
        return Refused(NotAValue(*entered.Rule, argument));
    case EntryOutcome::NotABit:
        return Refused(key->Name() + " is 0 or 1");
    case EntryOutcome::NotAChoice:
        return Refused(key->Name() + " cannot be \"" + assignment.Value + "\"; the choices are " + Choices(entered.Lists));
    }
    RowEntry entry;
    static_cast<SettingEntry&>(entry) = std::move(entered.Entry);
    entry.Argument = argument;
    return {std::move(entry), {}};
}

}  // namespace qm54::cli
