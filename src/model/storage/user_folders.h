// The per-user folders of what the program keeps by itself: automatic backups in
// $XDG_DATA_HOME/qm54win/backups/ (default ~/.local/share/...) and serial traces in
// $XDG_STATE_HOME/qm54win/traces/ (default ~/.local/state/...). A relative XDG value is ignored,
// as the base-directory rules say.
#pragma once

#include <ctime>
#include <string>

namespace qm54 {

// Both with a trailing '/'; neither is created here.
std::string BackupFolder();
std::string TraceFolder();

// "YYYYMMDD-HHMMSS" of t in local time: the stamp that names backups and traces, so that
// names sort as their times do.
std::string TimeStamp(std::time_t t);
// The same in UTC, for names that must sort as their times even when the local clock is set back
// (at the end of summer time).
std::string UtcTimeStamp(std::time_t t);

}  // namespace qm54
