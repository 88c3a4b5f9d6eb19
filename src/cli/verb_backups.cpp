// qm54 backups: the automatic backups of the images read from and written to repeaters.
#include "cli/verbs.h"
#include "model/storage/backup_store.h"
#include "model/storage/user_folders.h"

#include <cstdio>

namespace qm54::cli {

int RunBackups(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--serial", true}}, parsed, error)) return UsageError("backups", error);
    if (!parsed.Positional.empty()) return UsageError("backups", "unexpected argument " + parsed.Positional[0]);
    std::string text;
    for (const BackupEntry& e : ListBackups(BackupFolder(), parsed.Value("--serial", ""))) {
        const std::string& s = e.Name.Stamp;
        const std::string when = s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + " " +
                                 s.substr(9, 2) + ":" + s.substr(11, 2) + ":" + s.substr(13, 2);
        char line[512];
        std::snprintf(line, sizeof line, "%-10s %s  %-8s %-3s %-8s ", e.Serial.c_str(), when.c_str(),
                      DirectionName(e.Name.Direction), e.Band.c_str(), e.Firmware.c_str());
        text += line + e.Path + "\n";
    }
    return WriteOutput("backups", text);
}

}  // namespace qm54::cli
