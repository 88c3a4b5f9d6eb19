// Document: the programming being edited, and the widget-free half of the file and radio
// commands. It owns the live settings object and memory image, the working channel list that the
// channel grid edits, the file the data came from and the two state flags of the file commands.
// The main window holds one and asks it; dialogs receive it.
#pragma once

#include <string>

#include "model/image/channel.h"
#include "model/document/edit_history.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/document/narrowband.h"
#include "model/storage/prompter.h"

namespace qm54 {

class Document {
public:
    // defaultDataFile: the program's default data file, which is never saved over in place.
    Document(Prompter& prompter, std::string defaultDataFile);

    TCEmem& Emem() { return emem_; }
    const TCEmem& Emem() const { return emem_; }
    TMap54& Map() { return map_; }
    const TMap54& Map() const { return map_; }
    // The 16 channels as the grid edits them; committed to the image before every command.
    TChannels& Working() { return working_; }
    const TChannels& Working() const { return working_; }

    const std::string& CurrentFile() const { return currentFile_; }  // "<none>" when unnamed
    const std::string& DefaultDataFile() const { return defaultDataFile_; }
    bool Modified() const { return modified_; }
    void SetModified() { modified_ = true; }
    // Cleared by loading an RPT file; set at the start of every file and radio command.
    bool SaveAllowed() const { return saveAllowed_; }
    void AllowSave() { saveAllowed_ = true; }

    // The start: the named file, else the default data file. A missing default data file is
    // created read-only with the built-in defaults; one that exists but does not load is left
    // as it is. Whatever does not load leaves the defaults and "<none>".
    void Start(const std::string& namedFile);

    // Preparation before a command: a working list that differs from the image's channels is
    // copied in and the data are marked modified.
    void CommitWorkingList();
    // Whether the working list differs from the image's channels (the image is not touched).
    bool WorkingListDiffers() const { return !(working_ == emem_.Channels); }
    // The working list becomes the image's channels (after anything that changed the image).
    void ReplaceWorkingList() { working_ = emem_.Channels; }

    // "New": a reset image decoded and given the defaults, unnamed and unmodified.
    void New();
    // Loads path; on success it becomes the current file, unmodified, and the working list is
    // replaced. On failure the loader has said why and nothing changed.
    [[nodiscard]] bool Open(const std::string& path);

    // Whether a save must first ask for a file name: the data are unnamed, come from the default
    // data file, or from a file that may be written only through Save As (an RPT file).
    bool NeedsSavePath() const;
    void SetCurrentFile(const std::string& path) { currentFile_ = path; }
    // Writes the working list and the image to the current file; Modified is left to the caller.
    // Saving is no change of its own: the history gets no step from it and keeps what can be redone.
    [[nodiscard]] bool Save();
    // After a save: unmodified, and the history's current step is what the file holds.
    void ClearModified();

    // After a successful clone read into Emem() and Map(): unnamed and modified (the data read
    // are not stored in any file yet).
    void TakeUpload();
    // Opens an automatic backup as an Upload brings data: unnamed and modified. On failure the
    // loader has said why and nothing changed.
    [[nodiscard]] bool OpenBackup(const std::string& path);
    // After a channel import: channels become the image's and the working list's, and the data
    // are marked modified when they differ from what was there. Returns whether they did.
    bool TakeImportedChannels(const TChannels& channels);
    // The narrow-banding check before a Download; channels it switched mark the data modified.
    NarrowbandOutcome CheckNarrowband(NarrowbandPolicy policy);

    // Undo and Redo. Remember records the data after a change named label ("Timer", "Upload");
    // Start, New and Open begin a new history. Undo and Redo bring back the data, the working
    // list, the file name and the Save entry of a step, modified unless it is what was saved.
    bool Remember(const std::string& label);
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoLabel() const { return history_.UndoLabel(); }
    std::string RedoLabel() const { return history_.RedoLabel(); }
    bool Undo();
    bool Redo();

private:
    struct Snapshot {
        TCEmem Emem;
        TMap54 Map;
        TChannels Working;
        std::string CurrentFile;
        bool SaveAllowed = false;
        // The same programming: settings and the channels the grid shows, and the image's bytes
        // that no setting holds. How far the image has been encoded, and whether the working
        // list has been copied into the settings yet, is no difference.
        bool SameProgramming(const Snapshot& other) const;
        bool operator==(const Snapshot& other) const;
    };
    Snapshot Current() const;
    void Restore(const Snapshot& snapshot);
    void ResetHistory() { history_.Reset(Current(), !modified_); }
    // The history's current step is what the file holds; every step takes the file's name.
    void MarkSavedStep();

    bool IsDefaultDataFile(const std::string& path) const;

    Prompter& prompter_;
    std::string defaultDataFile_;
    TCEmem emem_;
    TMap54 map_;
    TChannels working_;
    std::string currentFile_;
    bool modified_ = false;
    bool saveAllowed_ = false;
    EditHistory<Snapshot> history_;
};

}  // namespace qm54
