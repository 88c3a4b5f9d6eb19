#include "model/app_settings.h"

#include "model/ini.h"

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

}  // namespace

AppSettings ReadAppSettings(const TIniData& ini, const std::string& programFolder)
{
    AppSettings s;
    s.place.top = ini.GetInt("FRMY", -1);
    s.place.left = ini.GetInt("FRMX", -1);
    s.place.width = ini.GetInt("FRMW", -1);
    s.place.height = ini.GetInt("FRMH", -1);
    s.startMaximised = ini.GetInt("FRMMAX", -1) == 1;
    s.comPort = InRange(ini.GetInt("COM_PORT", 1), 1, kMaxComPort, 1);
    s.portDevice = ini.GetText("PORT", "");
    s.portSettleWait = InRange(ini.GetInt("H67WAIT", 10), 0, kMaxSettleWait, 10);
    for (int i = 1; i <= 4; ++i) s.recent.Append(ini.GetText(Numbered("FILE", i), ""));
    s.currentFolder = ini.GetText("CURFOLD", programFolder);
    if (!s.currentFolder.empty() && s.currentFolder.back() != '/') s.currentFolder += '/';
    for (int i = 0; i < ColumnGroupCount; ++i) s.itemVisible[i] = ini.GetInt(Numbered("ITEM", i + 1), 1) != 0;
    return s;
}

void WriteAppSettings(TIniData& ini, const AppSettings& s, const std::optional<WindowPlace>& normalPlace)
{
    const std::string comPort = std::to_string(s.comPort);
    ini.SetValue("COM_PORT", comPort);
    SetPath(ini, "PORT", s.portDevice);
    SetPath(ini, "CURFOLD", s.currentFolder);
    if (normalPlace) {
        ini.SetValue("FRMX", std::to_string(normalPlace->left));
        ini.SetValue("FRMY", std::to_string(normalPlace->top));
        ini.SetValue("FRMW", std::to_string(normalPlace->width));
        ini.SetValue("FRMH", std::to_string(normalPlace->height));
    }
    for (int i = 0; i < ColumnGroupCount; ++i) ini.SetValue(Numbered("ITEM", i + 1), s.itemVisible[i] ? "1" : "0");
    // A recent file that the settings file cannot carry whole is left out of the stored list.
    std::vector<std::string> paths;
    for (const std::string& path : s.recent.Paths())
        if (IniCanHold(path)) paths.push_back(path);
    for (size_t i = 0; i < RecentFiles::ShownCount; ++i)
        ini.SetValue(Numbered("FILE", static_cast<int>(i) + 1), i < paths.size() ? paths[i] : "");
    ini.SetValue("COM_PORT", comPort);
}

}  // namespace qm54
