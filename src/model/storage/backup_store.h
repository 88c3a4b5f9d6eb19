// Automatic backups: every image read from a repeater and every image written to one is kept as
// a data file in a folder per repeater serial number under the backup folder, named by the local
// date and time and the direction ("20261210-141502-upload.Q54"; the next ones in the same second
// get "-2", "-3", ... before the extension). Old backups are pruned by a BackupRule.
#pragma once

#include "model/storage/app_settings.h"
#include "model/image/map.h"

#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm54 {

enum class BackupDirection {
    Upload,    // read from the repeater by Upload
    Download,  // written to the repeater, as sent
    Verify,    // read back from the repeater after a download, or by a verify
};

const char* DirectionName(BackupDirection direction);  // "upload", "download", "verify"

// What a backup's file name says.
struct BackupName {
    std::string Stamp;  // "YYYYMMDD-HHMMSS"
    BackupDirection Direction = BackupDirection::Upload;
    int Sequence = 1;   // 1, or the n of "-n"
};

// Parses a file name (no folder). Anything else than the form above gives nothing.
std::optional<BackupName> ParseBackupName(const std::string& fileName);

struct BackupEntry {
    std::string Path;
    std::string Serial;    // the folder's name
    BackupName Name;
    std::string Band;      // "VHF", "UHF", or "?" when the file does not decode
    std::string Firmware;  // as the image holds it
};

struct BackupWriteResult {
    bool Ok = false;
    std::string Path;    // the file written, or the one that could not be
    std::string Reason;  // the system's reason for a failure
};

// The folder name for the serial number an image (or a repeater's area 1, which holds it too)
// holds: its digits and letters, "unknown" when it holds none or is too short.
std::string SerialFolder(std::span<const uint8_t> imageStart);

// Writes image atomically as a new backup under root (created when missing), in the folder of
// serial (SerialFolder of the image when empty), then prunes that serial's backups by rule. now
// names it.
BackupWriteResult WriteBackup(const std::string& root, const ImageBytes& image, BackupDirection direction,
                              std::time_t now, const BackupRule& rule, const std::string& serial = "");

// The backups under root, newest first; only serial's when it is not empty. Files and folders
// whose names are not a backup's are left out; a file that is not 1986 bytes is listed with band
// "?".
std::vector<BackupEntry> ListBackups(const std::string& root, const std::string& serial = "");

// Removes serial's backups that are older than rule.Days before now and not among its newest
// rule.Keep. Returns how many were removed.
int PruneBackups(const std::string& root, const std::string& serial, const BackupRule& rule, std::time_t now);

}  // namespace qm54
