#include "model/document/document.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "model/storage/datafile.h"
#include "model/storage/file_read.h"
#include "model/document/startup.h"

namespace qm54 {

Document::Document(Prompter& prompter, std::string defaultDataFile)
    : prompter_(prompter), defaultDataFile_(std::move(defaultDataFile)), currentFile_(NoFileName)
{
    map_.Reset();
    SetDefaults(emem_);
    working_ = emem_.Channels;
    ResetHistory();
}

void Document::Start(const std::string& namedFile)
{
    currentFile_ = namedFile.empty() ? defaultDataFile_ : namedFile;
    if (IsRegularFile(currentFile_)) {
        saveAllowed_ = true;
        if (LoadDataFile(currentFile_, emem_, map_, prompter_, saveAllowed_)) {
            working_ = emem_.Channels;
            modified_ = false;
            ResetHistory();
            return;
        }
    } else if (namedFile.empty()) {
        // First start: the default data file is created with the built-in defaults, read-only.
        if (SaveDataFile(defaultDataFile_, emem_, map_, prompter_)) chmod(defaultDataFile_.c_str(), 0444);
    }
    currentFile_ = NoFileName;
    working_ = emem_.Channels;
    modified_ = false;
    ResetHistory();
}

void Document::CommitWorkingList()
{
    if (!WorkingListDiffers()) return;
    emem_.Channels = working_;
    modified_ = true;
}

void Document::New()
{
    modified_ = false;
    currentFile_ = NoFileName;
    map_.Reset();
    map_.Decode(emem_);
    SetDefaults(emem_);
    ReplaceWorkingList();
    ResetHistory();
}

bool Document::Open(const std::string& path)
{
    if (!LoadDataFile(path, emem_, map_, prompter_, saveAllowed_)) return false;
    currentFile_ = path;
    modified_ = false;
    ReplaceWorkingList();
    ResetHistory();
    return true;
}

bool Document::IsDefaultDataFile(const std::string& path) const
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = fs::absolute(path, ec).lexically_normal();
    const fs::path defaultFile = fs::absolute(defaultDataFile_, ec).lexically_normal();
    return file == defaultFile || fs::equivalent(file, defaultFile, ec);
}

bool Document::NeedsSavePath() const
{
    // The program sets SaveAllowed at the start of every file command, before its save prompt,
    // so the RPT rule is also checked on the file itself: a Yes to the prompt of New, Open or the
    // close query must not write RPT data in place.
    return !saveAllowed_ || currentFile_ == NoFileName || IsDefaultDataFile(currentFile_) || IsRptFile(currentFile_);
}

bool Document::Save()
{
    emem_.Channels = working_;
    // A change that is not a step yet (a paste) becomes one, so that the first Undo after the
    // save takes it back; what the save writes (the stored file name, the encoded image) is not.
    const bool unrecordedChange = !history_.Present().SameProgramming(Current());
    if (!SaveDataFile(currentFile_, emem_, map_, prompter_)) return false;
    if (unrecordedChange)
        Remember("Edit");
    else
        history_.Amend(Current());
    // Also when the save prompt saves and Modified stays set: Undo and Redo know what the file holds.
    MarkSavedStep();
    return true;
}

void Document::TakeUpload()
{
    ReplaceWorkingList();
    modified_ = true;
    currentFile_ = NoFileName;
}

bool Document::OpenBackup(const std::string& path)
{
    bool saveAllowed = true;
    if (!LoadDataFile(path, emem_, map_, prompter_, saveAllowed)) return false;
    TakeUpload();
    return true;
}

bool Document::TakeImportedChannels(const TChannels& channels)
{
    if (channels == emem_.Channels && channels == working_) return false;
    emem_.Channels = channels;
    ReplaceWorkingList();
    modified_ = true;
    return true;
}

NarrowbandOutcome Document::CheckNarrowband(NarrowbandPolicy policy)
{
    const NarrowbandOutcome outcome = NarrowbandCheck(policy, emem_, prompter_);
    if (outcome.Changed) {
        modified_ = true;
        ReplaceWorkingList();
    }
    return outcome;
}

void Document::ClearModified()
{
    modified_ = false;
    MarkSavedStep();
}

void Document::MarkSavedStep()
{
    history_.MarkSaved([this](Snapshot& step) {
        step.CurrentFile = currentFile_;
        step.SaveAllowed = saveAllowed_;
    });
}

bool Document::Snapshot::SameProgramming(const Snapshot& other) const
{
    if (!(Working == other.Working)) return false;
    TCEmem mine = Emem;
    TCEmem theirs = other.Emem;
    mine.Channels = Working;
    theirs.Channels = other.Working;
    if (!(mine == theirs)) return false;
    // The same settings encoded over both images leave only the bytes that no setting holds.
    TMap54 myImage = Map;
    TMap54 theirImage = other.Map;
    (void)myImage.Encode(mine);
    (void)theirImage.Encode(mine);
    return myImage.Bytes() == theirImage.Bytes();
}

bool Document::Snapshot::operator==(const Snapshot& other) const
{
    return SameProgramming(other) && CurrentFile == other.CurrentFile && SaveAllowed == other.SaveAllowed;
}

Document::Snapshot Document::Current() const { return {emem_, map_, working_, currentFile_, saveAllowed_}; }

void Document::Restore(const Snapshot& snapshot)
{
    emem_ = snapshot.Emem;
    map_ = snapshot.Map;
    working_ = snapshot.Working;
    currentFile_ = snapshot.CurrentFile;
    saveAllowed_ = snapshot.SaveAllowed;
    modified_ = !history_.AtSaved();
}

bool Document::Remember(const std::string& label) { return history_.Record(label, Current()); }

bool Document::Undo()
{
    const Snapshot* before = history_.Undo();
    if (before == nullptr) return false;
    Restore(*before);
    return true;
}

bool Document::Redo()
{
    const Snapshot* after = history_.Redo();
    if (after == nullptr) return false;
    Restore(*after);
    return true;
}

}  // namespace qm54
