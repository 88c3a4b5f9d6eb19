// The main window's channel CSV commands: File > Export Channels... and Import Channels....
// Both prepare the data as every File command does; the import goes through the document and
// says through the prompter why a file was refused, or what a foreign file held that has no
// place here.
#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include "model/storage/atomic_file.h"
#include "model/channels/channel_csv.h"
#include "model/channels/csv.h"
#include "model/storage/file_read.h"
#include "ui/main/main_window_support.h"

namespace qm54 {

namespace {

// Notes shown in one message box; the rest are counted.
constexpr std::size_t kShownNotes = 12;

std::string NoteLines(const std::vector<CsvNote>& notes)
{
    std::string text;
    for (std::size_t i = 0; i < notes.size() && i < kShownNotes; ++i) text += NoteText(notes[i]) + "\n";
    if (notes.size() > kShownNotes) text += "... and " + std::to_string(notes.size() - kShownNotes) + " more\n";
    return text;
}

}  // namespace

void TfrmMain::FileExportChannels()
{
    Prepare();
    const QString chosen = dialogs_.SaveChannelsCsv(this, ToQString(settings_.CurrentFolder));
    if (chosen.isEmpty()) return;
    const WriteResult written = AtomicWriteFile(ToStdString(chosen), ExportChannelsCsv(doc_.Working(), doc_.Emem()));
    if (!written.Ok)
        ShowMessageBox(prompter_, "The channels could not be written to " + ToStdString(chosen) + ": " + written.Reason,
                       MsgKind::Error);
}

void TfrmMain::FileImportChannels()
{
    Prepare();
    const QString chosen = dialogs_.OpenChannelsCsv(this, ToQString(settings_.CurrentFolder));
    if (chosen.isEmpty()) return;
    const std::string path = ToStdString(chosen);
    const ReadResult read = ReadFileHead(path, MaxCsvBytes + 1);
    if (!read.Ok) {
        ShowMessageBox(prompter_, path + " could not be read: " + read.Reason + "\nNothing was imported.", MsgKind::Error);
        return;
    }
    const ChannelImport result = ImportChannelsCsv(read.Data, doc_.Emem().Channels, doc_.Emem());
    if (result.Outcome == ImportOutcome::Refused) {
        ShowMessageBox(prompter_, NoteLines(result.Errors) + "Nothing was imported.", MsgKind::Error);
        return;
    }
    if (!doc_.TakeImportedChannels(result.Channels)) return;
    RememberChange("Import Channels");
    Refresh();
    if (!result.Report.empty())
        ShowMessageBox(prompter_,
                       std::to_string(result.RowsImported) + " channel(s) imported, with these notes:\n" +
                           NoteLines(result.Report),
                       MsgKind::Information);
}

}  // namespace qm54
