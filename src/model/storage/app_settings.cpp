#include "model/storage/app_settings.h"

#include "model/storage/ini.h"

#include <string>
#include <vector>

namespace qm54 {

namespace {

constexpr int kMaxComPort = 256;
constexpr int kMaxSettleWait = 5000;  // a longer pause would only make the port look dead

int InRange(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}

std::string Numbered(const char* key, int n)
{
    return key + std::to_string(n);
}

// A path that the settings file cannot carry whole is not written: the entry keeps what it held,
// so that it never reads back as another path.
void SetPath(TIniData& ini, const char* key, const std::string& path)
{
    if (IniCanHold(path)) ini.SetValue(key, path);
}

// A key of the program's safeguards is written once it differs from its default or the file
// holds it, so that a settings file that never changed them stays as it was.
void SetUnlessDefault(TIniData& ini, const char* key, int value, int fallback)
{
    if (value != fallback || !ini.GetText(key, "").empty()) ini.SetValue(key, std::to_string(value));
}

constexpr int kMaxBackupDays = 100000;
constexpr int kMaxBackupKeep = 100000;

}  // namespace

AppSettings ReadAppSettings(const TIniData& ini, const std::string& programFolder)
{
    AppSettings s;
    s.Place.Top = ini.GetInt("FRMY", -1);
    s.Place.Left = ini.GetInt("FRMX", -1);
    s.Place.Width = ini.GetInt("FRMW", -1);
    s.Place.Height = ini.GetInt("FRMH", -1);
    s.StartMaximised = ini.GetInt("FRMMAX", -1) == 1;
    s.ComPort = InRange(ini.GetInt("COM_PORT", 1), 1, kMaxComPort, 1);
    s.PortDevice = ini.GetText("PORT", "");
    s.PortSettleWait = InRange(ini.GetInt("H67WAIT", 10), 0, kMaxSettleWait, 10);
    for (int i = 1; i <= 4; ++i) s.Recent.Append(ini.GetText(Numbered("FILE", i), ""));
    s.CurrentFolder = ini.GetText("CURFOLD", programFolder);
    if (!s.CurrentFolder.empty() && s.CurrentFolder.back() != '/') s.CurrentFolder += '/';
    for (int i = 0; i < ColumnGroupCount; ++i) s.ItemVisible[i] = ini.GetInt(Numbered("ITEM", i + 1), 1) != 0;
    const BackupRule defaults;
    s.VerifyAfterDownload = ini.GetInt("VERIFY", 1) != 0;
    s.Backups.Days = InRange(ini.GetInt("BACKUPDAYS", defaults.Days), 0, kMaxBackupDays, defaults.Days);
    s.Backups.Keep = InRange(ini.GetInt("BACKUPKEEP", defaults.Keep), 0, kMaxBackupKeep, defaults.Keep);
    return s;
}

void WriteAppSettings(TIniData& ini, const AppSettings& s, const std::optional<WindowPlace>& normalPlace)
{
    const std::string comPort = std::to_string(s.ComPort);
    ini.SetValue("COM_PORT", comPort);
    SetPath(ini, "PORT", s.PortDevice);
    SetPath(ini, "CURFOLD", s.CurrentFolder);
    if (normalPlace) {
        ini.SetValue("FRMX", std::to_string(normalPlace->Left));
        ini.SetValue("FRMY", std::to_string(normalPlace->Top));
        ini.SetValue("FRMW", std::to_string(normalPlace->Width));
        ini.SetValue("FRMH", std::to_string(normalPlace->Height));
    }
    for (int i = 0; i < ColumnGroupCount; ++i) ini.SetValue(Numbered("ITEM", i + 1), s.ItemVisible[i] ? "1" : "0");
    // A recent file that the settings file cannot carry whole is left out of the stored list.
    std::vector<std::string> paths;
    for (const std::string& path : s.Recent.Paths())
        if (IniCanHold(path)) paths.push_back(path);
    for (size_t i = 0; i < RecentFiles::ShownCount; ++i)
        ini.SetValue(Numbered("FILE", static_cast<int>(i) + 1), i < paths.size() ? paths[i] : "");
    const BackupRule defaults;
    SetUnlessDefault(ini, "VERIFY", s.VerifyAfterDownload ? 1 : 0, 1);
    SetUnlessDefault(ini, "BACKUPDAYS", s.Backups.Days, defaults.Days);
    SetUnlessDefault(ini, "BACKUPKEEP", s.Backups.Keep, defaults.Keep);
    ini.SetValue("COM_PORT", comPort);
}

}  // namespace qm54
