// The settings the main window restores at start and writes back at close, and the order of the
// keys in the settings file.
#pragma once

#include "model/channels/grid_columns.h"
#include "model/storage/recent_files.h"

#include <array>
#include <optional>
#include <string>

namespace qm54 {

class TIniData;

struct WindowPlace {
    int Left = -1;  // each applied only when 0 or more
    int Top = -1;
    int Width = -1;
    int Height = -1;
};

// Which automatic backups of one repeater are kept: every one younger than Days, and at least
// the newest Keep whatever their age.
struct BackupRule {
    int Days = 365;  // BACKUPDAYS
    int Keep = 20;   // BACKUPKEEP
};

struct AppSettings {
    WindowPlace Place;
    bool StartMaximised = false;     // FRMMAX reads 1; never written
    int ComPort = 1;                 // COM_PORT, shown as "COM<n>"
    std::string PortDevice;          // PORT: the serial device path, empty until one is chosen
    int PortSettleWait = 10;         // H67WAIT, milliseconds
    RecentFiles Recent;              // FILE1..FILE4
    std::string CurrentFolder;       // CURFOLD, with a trailing '/'
    std::array<bool, ColumnGroupCount> ItemVisible;  // ITEM1..ITEM23
    bool VerifyAfterDownload = true; // VERIFY: a download is read back and compared
    BackupRule Backups;

    AppSettings() { ItemVisible.fill(true); }
};

// Reads the keys in the order FRMY, FRMX, FRMW, FRMH, FRMMAX, COM_PORT, PORT, H67WAIT,
// FILE1..FILE4, CURFOLD, ITEM1..ITEM23, VERIFY, BACKUPDAYS, BACKUPKEEP. Missing keys, text that is
// not a number and numbers out of their range give the defaults; CURFOLD defaults to programFolder.
AppSettings ReadAppSettings(const TIniData& ini, const std::string& programFolder);

// Sets the keys in the order COM_PORT, PORT, CURFOLD, FRMX, FRMY, FRMW, FRMH (only when
// normalPlace is given: the window is neither maximised nor minimised), ITEM1..ITEM23,
// FILE1..FILE4 (empty beyond the list), VERIFY, BACKUPDAYS, BACKUPKEEP (each only when the file
// holds it already or its value is not the default), COM_PORT. A path the file cannot carry whole (IniCanHold)
// is not written: PORT and CURFOLD keep their stored value, a recent file is left out of the
// stored list. The caller saves the file.
void WriteAppSettings(TIniData& ini, const AppSettings& settings,
                      const std::optional<WindowPlace>& normalPlace);

}  // namespace qm54
