// The settings file: arbitrary bytes are loaded, one value is changed, the file is saved and read
// again. Properties: the reloaded value is the one set (when the file format can hold it); no
// value plants extra lines; every line that is not an entry stays where it was; the other keys
// keep their values; saving again settles at once; no temporary file is left. And the settings the
// main window keeps, read from that file, written back and read again, come back the same.
//
// Input: options byte (bits 0-2 the key, bit 3 no settings file at all, bit 4 the window place
// is written back), value length byte,
// the value, then the settings file's bytes.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "temp_folder.h"
#include "model/storage/app_settings.h"
#include "model/storage/ini.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <optional>

namespace {

using namespace qm54;
namespace fs = std::filesystem;

const std::array<const char*, 8> kKeys{"COM_PORT", "com_port", "PORT", "H67WAIT", "FILE1", "CURFOLD", "FRMX", "ITEM23"};
constexpr const char* kMissing = "\x01missing";

// What a settings line can hold as a value: no comment or entry mark, no line break, nothing
// that trimming would remove.
bool Storable(std::string_view value)
{
    if (value.empty() || static_cast<unsigned char>(value.front()) <= ' ' || static_cast<unsigned char>(value.back()) <= ' ')
        return false;
    return value.find_first_of(";=\r\n") == std::string_view::npos;
}

bool IsEntryLine(std::string_view line)
{
    return line.substr(0, line.find(';')).find('=') != std::string_view::npos;
}

bool SameKey(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

bool SamePlace(const WindowPlace& a, const WindowPlace& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

// The main window's settings read from the file at path, written back (the window place too when
// writePlace) and read again.
void CheckAppSettingsRoundTrip(const fs::path& path, bool writePlace)
{
    const std::string programFolder = "/prog/";
    TIniData ini(path.string());
    ini.Load();
    const AppSettings read = ReadAppSettings(ini, programFolder);
    WriteAppSettings(ini, read, writePlace ? std::optional<WindowPlace>(read.Place) : std::nullopt);
    ini.Save();

    TIniData reloaded(path.string());
    reloaded.Load();
    const AppSettings again = ReadAppSettings(reloaded, programFolder);
    FUZZ_CHECK(SamePlace(again.Place, read.Place));
    FUZZ_CHECK(again.StartMaximised == read.StartMaximised);
    FUZZ_CHECK(again.ComPort == read.ComPort);
    FUZZ_CHECK(again.PortDevice == read.PortDevice);
    FUZZ_CHECK(again.PortSettleWait == read.PortSettleWait);
    FUZZ_CHECK(again.Recent.Paths() == read.Recent.Paths());
    FUZZ_CHECK(again.CurrentFolder == read.CurrentFolder);
    FUZZ_CHECK(again.ItemVisible == read.ItemVisible);
    FUZZ_CHECK(again.VerifyAfterDownload == read.VerifyAfterDownload);
    FUZZ_CHECK(again.Backups.Days == read.Backups.Days && again.Backups.Keep == read.Backups.Keep);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qm54fuzz::TempFolder folder;
    FUZZ_CHECK(!folder.path.empty());
    const fs::path path = folder.path / "QM54Win.ini";
    std::error_code ec;

    qm54fuzz::FuzzInput input(data, size);
    const uint8_t options = input.Byte();
    const auto valueBytes = input.Take(input.Byte());
    const std::string value(valueBytes.begin(), valueBytes.end());
    const auto fileBytes = input.Take(size);
    const std::string key = kKeys[options & 7];
    const bool noFile = (options & 8) != 0;

    if (!noFile) qm54fuzz::WriteAll(path, fileBytes.data(), fileBytes.size());

    TIniData before(path.string());
    before.Load();
    TIniData ini(path.string());
    ini.Load();
    const bool keyHeldValue = ini.GetText(key, kMissing) != kMissing;  // an entry with an empty value reads as missing
    ini.SetValue(key, value);
    ini.Save();

    TIniData after(path.string());
    after.Load();
    if (Storable(value)) FUZZ_CHECK(after.GetText(key, kMissing) == value);

    for (const char* other : kKeys)
        if (!SameKey(other, key)) FUZZ_CHECK(after.GetText(other, kMissing) == before.GetText(other, kMissing));

    const auto& oldLines = before.Lines();
    const auto& newLines = after.Lines();
    if (noFile) {
        FUZZ_CHECK(newLines.size() == 1);
    } else {
        FUZZ_CHECK(newLines.size() == oldLines.size() || (!keyHeldValue && newLines.size() == oldLines.size() + 1));
        for (size_t i = 0; i < oldLines.size() && i < newLines.size(); ++i)
            if (!IsEntryLine(oldLines[i])) FUZZ_CHECK(newLines[i] == oldLines[i]);
    }

    // A saved file reaches its settled form in one more save (an appended entry gains its ";"
    // when it is rewritten as a line of the file); from then on saving changes nothing.
    after.Save();
    const std::string settled = qm54fuzz::ReadAll(path);
    TIniData again(path.string());
    again.Load();
    FUZZ_CHECK(again.Lines() == newLines);
    again.Save();
    FUZZ_CHECK(qm54fuzz::ReadAll(path) == settled);

    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder.path, ec)) {
        FUZZ_CHECK(entry.path() == path);
        ++files;
    }
    FUZZ_CHECK(files == 1);

    if (!noFile) qm54fuzz::WriteAll(path, fileBytes.data(), fileBytes.size());
    CheckAppSettingsRoundTrip(path, (options & 0x10) != 0);
    return 0;
}
