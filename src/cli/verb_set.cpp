// qm54 set FILE KEY=VALUE...: each value typed into the settings dialog that edits its key (or the
// alpha-tag grid), then that dialog's OK and what the main window does after it, and the file
// saved when all were taken.
#include "cli/cli_prompter.h"
#include "cli/set_alignment.h"
#include "cli/set_assignments.h"
#include "cli/setting_keys.h"
#include "cli/verbs.h"
#include "model/image/convert.h"
#include "model/settings/alpha_tags.h"
#include "model/storage/datafile.h"
#include "model/settings/dialog_behaviour.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/settings/service_fields.h"
#include "model/settings/settings_table.h"
#include "model/settings/shown_values.h"

#include <cstdio>

namespace qm54::cli {

namespace {

// The assignments that one OK of a dialog applies.
struct DialogEdit {
    const DialogTable* Dialog = nullptr;
    std::vector<RowEntry> Entries;
};

// The entries grouped by dialog, the dialogs in the order of their first entry.
std::vector<DialogEdit> ByDialog(const std::vector<RowEntry>& entries)
{
    std::vector<DialogEdit> edits;
    for (const RowEntry& entry : entries) {
        DialogEdit* edit = nullptr;
        for (DialogEdit& e : edits)
            if (e.Dialog == entry.Dialog) edit = &e;
        if (edit == nullptr) edit = &edits.emplace_back(DialogEdit{entry.Dialog, {}});
        edit->Entries.push_back(entry);
    }
    return edits;
}

bool Assigns(const DialogEdit& edit, int row)
{
    for (const RowEntry& entry : edit.Entries)
        if (entry.Row == row) return true;
    return false;
}

// The hardware dialog's band question, asked at each pick of another band than the one last
// accepted and answered Yes: the IF field takes the new band's default IF, unless the command
// types an IF itself.
void AnswerBandQuestion(const DialogEdit& edit, int& confirmedBand, DialogState& state)
{
    const DialogTable& hardware = *edit.Dialog;
    const auto band = static_cast<size_t>(BandRow(hardware));
    if (state[band].Index == confirmedBand) return;
    confirmedBand = state[band].Index;
    if (Assigns(edit, IntermediateFreqRow(hardware))) return;
    AnswerBandQuestionYes(hardware, state);
}

// One OK of a dialog as the main window runs it: the dialog shown over emem, the assigned
// controls edited in order (its questions answered Yes), OK, then the band defaults after a band
// change and the grid redrawn after a step change. A control that the dialog greys out once all
// are edited is refused: the reason, or empty when OK ran. A number the field commits otherwise
// than it was read gets a line in notes.
std::string RunDialogOk(const DialogEdit& edit, TCEmem& emem, std::vector<std::string>& notes)
{
    const DialogTable& dialog = *edit.Dialog;
    DialogState state = ShowDialog(dialog, emem);
    const int bandRow = BandRow(dialog);
    int confirmedBand = bandRow >= 0 ? state[static_cast<size_t>(bandRow)].Index : 0;
    for (const RowEntry& entry : edit.Entries) {
        EnterIntoState(dialog, entry, state);
        if (bandRow >= 0 && entry.Row == bandRow) AnswerBandQuestion(edit, confirmedBand, state);
        if (entry.Read)
            if (std::string note = AdjustmentNote(*dialog.Rows[static_cast<size_t>(entry.Row)].Rule, entry.Argument,
                                                  *entry.Read, state[static_cast<size_t>(entry.Row)].Text);
                !note.empty())
                notes.push_back(std::move(note));
    }
    for (const RowEntry& entry : edit.Entries)
        if (const std::string_view greyed = GreyedBecause(dialog, state, entry.Row); !greyed.empty())
            return entry.Argument + " cannot be set while " + std::string(greyed);

    ApplyHardwareChanges(ApplyDialog(dialog, state, emem), emem);
    return {};
}

// The alpha-tag dialog: each cell edited and committed in order, then its OK (the sort, its
// message on stderr, the packing). A duplicate number is refused with the dialog's message.
std::string RunAlphaTagOk(const DialogEdit& edit, TCEmem& emem)
{
    AlphaTagTable table = LoadAlphaTags(emem);
    for (const RowEntry& entry : edit.Entries)
        if (CommitAlphaTagCell(table, entry.Row, entry.Index, entry.Text) == AlphaTagCommit::DuplicateCode)
            return std::string(AlphaTagDuplicateMessage) + " (" + entry.Argument + ")";
    if (AlphaTagsNeedSort(table)) {
        std::fprintf(stderr, "%s\n", std::string(AlphaTagSortMessage).c_str());
        SortAlphaTags(table);
    }
    (void)StoreAlphaTags(table, emem);
    return {};
}

// The get line of every stored value that differs between before and after, each with its line
// end; a value that shows alike both times (a value outside its field's range shows clamped) gets
// both stored values.
std::string ChangedLines(const TCEmem& before, const TCEmem& after)
{
    std::string text;
    for (const SettingRow& row : SettingsTable()) {
        for (int i = 0; i < row.Count(); ++i) {
            const SettingValue was = GetSetting(before, row, i);
            const SettingValue now = GetSetting(after, row, i);
            if (was == now) continue;
            const KeyRef key{&row, i, {}};
            std::string line = KeyLines(after, key).front();
            if (line == KeyLines(before, key).front())
                line += " (stored " + PlainSettingText(now) + ", was " + PlainSettingText(was) + ")";
            text += line + "\n";
        }
    }
    return text;
}

int Refuse(const std::string& why)
{
    std::fprintf(stderr, "qm54 set: %s; nothing was written\n", why.c_str());
    return ExitFailed;
}

}  // namespace

int RunSet(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--mode", true}, {"--factory-code", true}, {"--as-typed", false}, {"--output", true}},
                   parsed, error))
        return UsageError("set", error);
    if (parsed.Positional.size() < 2) return UsageError("set", "give a FILE and at least one KEY=VALUE");
    const bool asTyped = parsed.Has("--as-typed");
    std::vector<Assignment> assignments;
    std::vector<ServiceAssignment> service;  // the alignment values, set with their dialogs' rules
    for (size_t i = 1; i < parsed.Positional.size(); ++i) {
        const std::optional<Assignment> assignment = ReadAssignment(parsed.Positional[i]);
        if (!assignment) return UsageError("set", "\"" + parsed.Positional[i] + "\" is not KEY=VALUE");
        if (std::optional<ServiceAssignment> value = ReadServiceAssignment(*assignment, error)) {
            service.push_back(std::move(*value));
            continue;
        }
        if (!error.empty()) return UsageError("set", error);
        if (!ResolveKey(assignment->Key)) return UsageError("set", "unknown setting \"" + assignment->Key + "\"");
        assignments.push_back(*assignment);
    }
    const std::optional<OperatingMode> mode = ModeNamed(parsed.Value("--mode", "normal"));
    if (!mode) return UsageError("set", "--mode is normal, dealer or manufacture");
    const std::string& file = parsed.Positional[0];
    const std::optional<std::string> target = ResultFile("set", file, parsed);
    if (!target) return ExitFailed;
    if (*mode == OperatingMode::Manufacture && !FactoryCodeAccepted(parsed))
        return Refuse("the factory code is not right");

    if (std::optional<std::string> why = ServiceRefusal(service, *mode)) return Refuse(*why);
    for (ServiceAssignment& value : service) {
        const std::string typed = value.Argument.substr(value.Name.size() + 1);
        if (!asTyped)
            if (const std::string why = StrictRefusal(ServiceRule(value.Key), value.Argument, typed, value.Read); !why.empty())
                return Refuse(why);
    }
    std::vector<RowEntry> entries;
    for (const Assignment& assignment : assignments) {
        Taken taken = TakeAssignment(assignment, *mode, asTyped);
        if (!taken.Entry) return Refuse(taken.Refusal);
        entries.push_back(std::move(*taken.Entry));
    }

    TCEmem emem;
    TMap54 map;
    if (!LoadToolFile(file, emem, map)) return ExitFailed;
    const TCEmem loaded = emem;
    std::vector<std::string> notes;
    if (std::optional<std::string> why = ApplyServiceAssignments(service, emem, notes)) return Refuse(*why);
    for (const DialogEdit& edit : ByDialog(entries))
        if (const std::string refusal =
                edit.Dialog != nullptr ? RunDialogOk(edit, emem, notes) : RunAlphaTagOk(edit, emem);
            !refusal.empty())
            return Refuse(refusal);
    for (const std::string& note : notes) std::fprintf(stderr, "qm54 set: %s\n", note.c_str());
    if (emem == loaded && *target == file) return ExitOk;

    const std::string changed = ChangedLines(loaded, emem);
    CliPrompter prompter;
    if (!SaveDataFile(FullPath(*target), emem, map, prompter)) return ExitFailed;
    return WriteOutput("set", changed);
}

}  // namespace qm54::cli
