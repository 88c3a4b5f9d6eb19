// qm54 set FILE KEY=VALUE...: each value typed into the settings dialog that edits its key (or the
// alpha-tag grid), then that dialog's OK and what the main window does after it, and the file
// saved when all were taken.
#include "cli/cli_prompter.h"
#include "cli/set_alignment.h"
#include "cli/set_assignments.h"
#include "cli/setting_keys.h"
#include "cli/verbs.h"
#include "model/convert.h"
#include "model/alpha_tags.h"
#include "model/datafile.h"
#include "model/dialog_behaviour.h"
#include "model/emem.h"
#include "model/map54.h"
#include "model/settings_table.h"

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

// The hardware dialog's band question answered Yes: the IF field takes the new band's default IF,
// unless the command types an IF itself.
void AnswerBandQuestion(const DialogEdit& edit, const DialogState& shown, DialogState& state)
{
    const auto band = static_cast<size_t>(FindDialogRow("Band").Index);
    const DialogRowRef intermediate = FindDialogRow("IntermediateFreq");
    if (state[band].Index == shown[band].Index || Assigns(edit, intermediate.Index)) return;
    state[static_cast<size_t>(intermediate.Index)].Text =
        ShownText(*intermediate.Row->Rule, BandDefaultIf(state[band].Index));
}

// What the user does to the control of one entry, and what the dialog makes of it.
void UserEdit(const DialogTable& dialog, const RowEntry& entry, DialogState& state)
{
    RowState& control = state[static_cast<size_t>(entry.Row)];
    switch (entry.Kind) {
    case EntryKind::ChooseEntry:
        control.Index = entry.Index;
        UserChoseListEntry(dialog, state, entry.Row);
        break;
    case EntryKind::SetBit:
        control.Index = entry.BitOn ? (control.Index | entry.Index) : (control.Index & ~entry.Index);
        UserChoseListEntry(dialog, state, entry.Row);
        break;
    case EntryKind::TypeText:
        CommitRowText(dialog, state, entry.Row, entry.Text);
        break;
    case EntryKind::AlphaTagCell:
        break;
    }
}

// One OK of a dialog as the main window runs it: the dialog shown over emem, the assigned
// controls edited in order (its questions answered Yes), OK, then the band defaults after a band
// change and the grid redrawn after a step change. A control that the dialog greys out once all
// are edited is refused: the reason, or empty when OK ran.
std::string RunDialogOk(const DialogEdit& edit, TCEmem& emem)
{
    const DialogTable& dialog = *edit.Dialog;
    const DialogState shown = ShowDialog(dialog, emem);
    DialogState state = shown;
    for (const RowEntry& entry : edit.Entries) UserEdit(dialog, entry, state);
    if (dialog.Id == DialogId::Hardware) AnswerBandQuestion(edit, shown, state);
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

std::vector<std::string> AllSettingLines(const TCEmem& emem)
{
    std::vector<std::string> lines;
    for (const SettingRow& row : SettingsTable())
        for (std::string& line : SettingLines(emem, row)) lines.push_back(std::move(line));
    return lines;
}

// The lines of qm54 get that differ between before and after, each with its line end.
std::string ChangedLines(const TCEmem& before, const TCEmem& after)
{
    const std::vector<std::string> was = AllSettingLines(before);
    const std::vector<std::string> now = AllSettingLines(after);
    std::string text;
    for (size_t i = 0; i < now.size() && i < was.size(); ++i)
        if (now[i] != was[i]) text += now[i] + "\n";
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
    if (!ParseArgs(args, {{"--mode", true}, {"--factory-code", true}}, parsed, error)) return UsageError("set", error);
    if (parsed.Positional.size() < 2) return UsageError("set", "give a FILE and at least one KEY=VALUE");
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
    if (*mode == OperatingMode::Manufacture && !FactoryCodeAccepted(parsed))
        return Refuse("the factory code is not right");

    if (std::optional<std::string> why = ServiceRefusal(service, *mode)) return Refuse(*why);
    std::vector<RowEntry> entries;
    for (const Assignment& assignment : assignments) {
        Taken taken = TakeAssignment(assignment, *mode);
        if (!taken.Entry) return Refuse(taken.Refusal);
        entries.push_back(std::move(*taken.Entry));
    }

    TCEmem emem;
    TMap54 map;
    const std::string& file = parsed.Positional[0];
    if (!LoadToolFile(file, emem, map)) return ExitFailed;
    const TCEmem loaded = emem;
    if (std::optional<std::string> why = ApplyServiceAssignments(service, emem)) return Refuse(*why);
    for (const DialogEdit& edit : ByDialog(entries))
        if (const std::string refusal = edit.Dialog != nullptr ? RunDialogOk(edit, emem) : RunAlphaTagOk(edit, emem);
            !refusal.empty())
            return Refuse(refusal);
    if (emem == loaded) return ExitOk;

    const std::string changed = ChangedLines(loaded, emem);
    CliPrompter prompter;
    if (!SaveDataFile(FullPath(file), emem, map, prompter)) return ExitFailed;
    return WriteOutput("set", changed);
}

}  // namespace qm54::cli
