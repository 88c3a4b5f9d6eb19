// TfrmMain: the main window. It holds the document (the programming being edited), runs the file,
// edit, view, radio and help commands over it, and restores and writes the program's settings.
// The constructor, the settings, the refreshes and the window's events are main_window.cpp; the
// menu bar is a table in main_menu_table.cpp and the window's other parts are built in
// main_menus.cpp; the commands live by menu: file and edit commands in file_commands.cpp, Undo and
// Redo in history_commands.cpp, the channel CSV commands in channel_csv_commands.cpp, printing in
// print_commands.cpp, Upload and Download in radio_commands.cpp, the settings dialogs in
// dialog_commands.cpp and the service dialogs and the alignment in service_commands.cpp.
// main_window_support.h holds the texts and sizes they share.
#pragma once

#include "link/serial_port.h"
#include "model/storage/app_settings.h"
#include "model/settings/dialog_rows.h"
#include "model/document/document.h"
#include "model/document/narrowband.h"
#include "model/document/startup.h"
#include "ui/main/file_dialogs.h"
#include "ui/common/help_viewer.h"
#include "ui/common/qt_prompter.h"
#include "ui/print/printers.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class QToolBar;

namespace qm54 {

class ChannelGrid;

// What the window is started with. Tests fill it to script the start; main() from the process.
struct StartOptions {
    QStringList Arguments;       // command-line arguments after the program name, --port removed
    QString PortDevice;          // --port: the serial device of this run; empty: the stored one
    std::string ProgramFolder;   // with a trailing '/'
    std::string Today;           // "YYYYMMDD"; empty: today's date
    Prompter* Messages = nullptr;       // message boxes; default: QMessageBox
    FileDialogs* Dialogs = nullptr; // open and save dialogs; default: QFileDialog
    // Shows the password dialog; returns the typed text, or nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent)> AskPassword;
    LinkTiming Timing;           // the waits of the clone exchanges (settleMs comes from H67WAIT)
    std::string SysfsRoot = "/sys";  // where the configuration dialog's port discovery reads
    PrinterSystem* Printers = nullptr;  // the installed printers; default: the system's (CUPS)
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(StartOptions options);
    ~TfrmMain() override;

    // The file commands; each returns when done (tests call them directly).
    void FileNew();
    void FileOpen();
    bool FileSave();
    void FileSaveAs();
    void OpenRecent(int index);
    void EditCopy();
    void EditPaste();
    void RadioUpload();
    void RadioDownload();
    void ShowHelp(HelpPage page);
    void ShowFileData();      // Shift+F9
    void FileExportChannels();  // File > Export Channels...: the channels to a CSV file
    void FileImportChannels();  // File > Import Channels...: a CSV file's channels into the data
    // Common > Hardware, Radio status, Timer, CW ID, Marketing: the dialog over the document,
    // then what the main window does after it.
    void OpenCommonDialog(DialogId dialog);
    // Edit > Undo and Redo over the document's history (history_commands.cpp).
    void FileCompare();  // File > Compare with... (compare_dialog.cpp)
    void EditUndo();
    void EditRedo();
    void CommonAlphaTag();
    // Common > Rx Adjustment, Tx Adjustment, Tx Power Adjust (ServiceDialog 0, 1, 2), and
    // Common > Alignment > Lowest .. Highest (point 0..3) with the main window disabled.
    enum class ServiceDialogId { RxAdjust, TxAdjust, TxPower };
    void OpenServiceDialog(ServiceDialogId dialog);
    void OpenAlignment(int point);
    void FileConfigure();     // File > Configure: the serial port
    void ViewVisible();       // View > Items > Visible: the column groups
    void HelpAbout();
    // File > Print, Print Preview, Print Setup and Export PDF (print_commands.cpp).
    void FilePrint();
    void FilePrintPreview();
    void FilePrintSetup();
    void FileExportPdf();
    void FileBackups();       // File > Backups...: opens an automatic backup as Upload would
    void HelpLastTrace();     // Help > Last Serial Trace

    OperatingMode Mode() const { return mode_; }
    NarrowbandPolicy Policy() const { return policy_; }
    const std::string& CurrentFile() const { return doc_.CurrentFile(); }
    const std::string& CurrentFolder() const { return settings_.CurrentFolder; }
    const RecentFiles& Recent() const { return settings_.Recent; }
    bool Modified() const { return doc_.Modified(); }
    bool SaveAllowed() const { return doc_.SaveAllowed(); }
    const TCEmem& Emem() const { return doc_.Emem(); }
    const TChannels& Working() const { return doc_.Working(); }
    Document& Doc() { return doc_; }
    ChannelGrid* Grid() const { return grdCh_; }
    QString DefaultDataFile() const;
    QString PortDevice() const;  // the serial device Upload and Download open
    HelpViewer* Help() const { return help_; }
    PrinterChoice& Printers() { return printers_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::string ExamineCommandLine();  // fixes the mode; returns the data file named, if any
    void ReadSettings();
    void WriteSettings();

    void BuildMenus();  // the menu bar's entries and the window's own keys (main_menu_table.cpp)
    void BuildToolbar();
    QWidget* BuildSystemPanel();
    void BuildStatusBar();
    void RebuildRecentMenu();
    void UpdateClock();
    void ShowPrinterName();  // the Printer box: the current printer, empty when none is installed
    TPrtImg BuildReport() const;

    // Preparation before a command: the grid is parsed and the document takes its channels.
    void RunCommonDialog(DialogId dialog);
    // The document's history takes the data after a change named label; the Undo and Redo
    // entries follow.
    void RememberChange(const std::string& label);
    void UpdateUndoEntries();
    void Prepare();
    bool SavePrompt();
    // The close query: the grid's channels noted, the save prompt; false keeps the window open.
    bool CloseQuery();
    bool SaveTo(bool alwaysAsk);
    bool AskSavePath();
    bool LoadFile(const std::string& path, bool changeFolder);
    void Refresh();
    // Runs a clone exchange in a progress window with the main window disabled. An upload's
    // images, a download's as sent and its read-back are kept as backups; each exchange leaves a
    // trace; a download is verified when Radio > Verify after Download is checked.
    bool RunClone(bool download);

    StartOptions options_;
    QtPrompter ownPrompter_;
    QtFileDialogs ownDialogs_;
    Prompter& prompter_;
    FileDialogs& dialogs_;
    SystemPrinters ownPrinters_;
    PrinterChoice printers_;

    OperatingMode mode_ = OperatingMode::Normal;
    NarrowbandPolicy policy_ = NarrowbandPolicy::None;
    std::string programFolder_;
    QString helpName_;
    AppSettings settings_;
    QString printerName_;
    bool painted_ = false;  // the window has been painted once (the Printer box waits for it)
    Document doc_;

    ChannelGrid* grdCh_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QPointer<HelpViewer> help_;
    QTimer* clock_ = nullptr;
    QLabel* hintPanel_ = nullptr;
    QLabel* capsPanel_ = nullptr;
    QLabel* numPanel_ = nullptr;
    QLabel* scrollPanel_ = nullptr;
    QLabel* timePanel_ = nullptr;
    QLineEdit* edtSerial_ = nullptr;
    QLineEdit* edtBand_ = nullptr;
    QLineEdit* edtProduct_ = nullptr;
    QLineEdit* edtFirmware_ = nullptr;
    QLineEdit* edtPort_ = nullptr;
    QLineEdit* edtPrinter_ = nullptr;

    // The menu entries the window changes after building them.
    QAction* miSave_ = nullptr;
    QAction* miRecentFile_ = nullptr;
    std::array<QAction*, RecentFiles::ShownCount> miRecent_{};
    QAction* miUndo_ = nullptr;
    QAction* miRedo_ = nullptr;
    QAction* miToolbar_ = nullptr;
    std::array<QAction*, ColumnGroupCount> miItem_{};
    QAction* miVerify_ = nullptr;
};

}  // namespace qm54
