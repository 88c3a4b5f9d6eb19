#include "model/storage/user_folders.h"

#include <cstdio>
#include <cstdlib>

namespace qm54 {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// $variable when it is an absolute path, else $HOME/fallback.
std::string XdgFolder(const char* variable, const char* fallback)
{
    std::string base = Environment(variable);
    if (base.empty() || base.front() != '/') base = Environment("HOME") + "/" + fallback;
    if (base.back() != '/') base += '/';
    return base + "qm54win/";
}

}  // namespace

std::string BackupFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") + "backups/"; }

std::string TraceFolder() { return XdgFolder("XDG_STATE_HOME", ".local/state") + "traces/"; }

namespace {

std::string StampOf(const std::tm& local)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace

std::string TimeStamp(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    return StampOf(local);
}

std::string UtcTimeStamp(std::time_t t)
{
    std::tm utc{};
    gmtime_r(&t, &utc);
    return StampOf(utc);
}

}  // namespace qm54
