#include "model/storage/backup_store.h"

#include "model/storage/atomic_file.h"
#include "model/image/emem.h"
#include "model/storage/file_read.h"
#include "model/image/map54.h"
#include "model/storage/program_folder.h"
#include "model/image/tables.h"
#include "model/storage/user_folders.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace qm54 {

namespace {

namespace fs = std::filesystem;

constexpr size_t kStampSize = 15;  // YYYYMMDD-HHMMSS
constexpr const char* kExtension = ".Q54";
constexpr int kMaxSequence = 9999;
constexpr std::time_t kSecondsPerDay = 86400;

constexpr BackupDirection kDirections[] = {BackupDirection::Upload, BackupDirection::Download,
                                           BackupDirection::Verify};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsStamp(const std::string& text)
{
    if (text.size() != kStampSize || text[8] != '-') return false;
    for (size_t i = 0; i < kStampSize; ++i)
        if (i != 8 && !IsDigit(text[i])) return false;
    return true;
}

std::string WithSlash(const std::string& folder)
{
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::string FileName(const std::string& stamp, BackupDirection direction, int sequence)
{
    std::string name = stamp + "-" + DirectionName(direction);
    if (sequence > 1) name += "-" + std::to_string(sequence);
    return name + kExtension;
}

// The stamp as a time (local), for the age rule; nothing when it is not a real date.
std::optional<std::time_t> StampTime(const std::string& stamp)
{
    auto number = [&](size_t at, size_t count) {
        int value = 0;
        std::from_chars(stamp.data() + at, stamp.data() + at + count, value);
        return value;
    };
    std::tm t{};
    t.tm_year = number(0, 4) - 1900;
    t.tm_mon = number(4, 2) - 1;
    t.tm_mday = number(6, 2);
    t.tm_hour = number(9, 2);
    t.tm_min = number(11, 2);
    t.tm_sec = number(13, 2);
    t.tm_isdst = -1;
    const std::time_t value = std::mktime(&t);
    if (value == static_cast<std::time_t>(-1)) return std::nullopt;
    return value;
}

bool NewestFirst(const BackupEntry& a, const BackupEntry& b)
{
    if (a.Name.Stamp != b.Name.Stamp) return a.Name.Stamp > b.Name.Stamp;
    return a.Name.Sequence > b.Name.Sequence;
}

// The backups of one serial folder, newest first.
std::vector<BackupEntry> ListFolder(const std::string& folder, const std::string& serial)
{
    std::vector<BackupEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::optional<BackupName> parsed = ParseBackupName(name);
        std::error_code typeError;
        if (!parsed || !it->is_regular_file(typeError)) continue;
        BackupEntry entry{WithSlash(folder) + name, serial, *parsed, "?", ""};
        const ReadResult read = ReadFileHead(entry.Path, ImageSize + 1);
        if (read.Ok && read.Data.size() == ImageSize) {
            TMap54 map;
            std::copy(read.Data.begin(), read.Data.end(), map.Bytes().begin());
            TCEmem emem;
            if (map.Decode(emem)) entry.Band = OptionName(OptBand, emem.Band);
            entry.Firmware = emem.FirmwareVersion;
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), NewestFirst);
    return entries;
}

bool IsSerialFolderName(const std::string& name)
{
    if (name.empty() || name.size() > 32) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

}  // namespace

const char* DirectionName(BackupDirection direction)
{
    switch (direction) {
    case BackupDirection::Upload: return "upload";
    case BackupDirection::Download: return "download";
    case BackupDirection::Verify: return "verify";
    }
    return "upload";
}

std::optional<BackupName> ParseBackupName(const std::string& fileName)
{
    const size_t extSize = std::char_traits<char>::length(kExtension);
    if (fileName.size() < kStampSize + 2 + extSize) return std::nullopt;
    if (fileName.compare(fileName.size() - extSize, extSize, kExtension) != 0) return std::nullopt;
    BackupName name;
    name.Stamp = fileName.substr(0, kStampSize);
    if (!IsStamp(name.Stamp) || fileName[kStampSize] != '-') return std::nullopt;
    const std::string rest = fileName.substr(kStampSize + 1, fileName.size() - kStampSize - 1 - extSize);
    for (BackupDirection direction : kDirections) {
        const std::string word = DirectionName(direction);
        if (rest.compare(0, word.size(), word) != 0) continue;
        const std::string tail = rest.substr(word.size());
        if (tail.empty()) {
            name.Direction = direction;
            return name;
        }
        if (tail.size() < 2 || tail[0] != '-' || tail[1] == '0') return std::nullopt;
        int sequence = 0;
        const auto [end, ec] = std::from_chars(tail.data() + 1, tail.data() + tail.size(), sequence);
        if (ec != std::errc() || end != tail.data() + tail.size() || sequence < 2 || sequence > kMaxSequence)
            return std::nullopt;
        name.Direction = direction;
        name.Sequence = sequence;
        return name;
    }
    return std::nullopt;
}

std::string SerialFolder(std::span<const uint8_t> imageStart)
{
    std::string serial;
    for (size_t i = 0; i < image::SerialNumberSize && image::SerialNumber + i < imageStart.size(); ++i) {
        const char c = static_cast<char>(imageStart[image::SerialNumber + i]);
        if (IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) serial += c;
    }
    return serial.empty() ? "unknown" : serial;
}

BackupWriteResult WriteBackup(const std::string& root, const ImageBytes& image, BackupDirection direction,
                              std::time_t now, const BackupRule& rule, const std::string& serialGiven)
{
    BackupWriteResult result;
    const std::string serial = IsSerialFolderName(serialGiven) ? serialGiven : SerialFolder(image);
    const std::string folder = WithSlash(root) + serial + "/";
    const std::string stamp = TimeStamp(now);
    result.Path = folder + FileName(stamp, direction, 1);
    if (!MakeFolders(folder)) {
        result.Reason = "the folder cannot be created";
        return result;
    }
    // Backups of one second are numbered across directions, so that their names sort as they
    // were made.
    int sameSecond = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<BackupName> name = ParseBackupName(it->path().filename().string());
        if (name && name->Stamp == stamp) sameSecond = std::max(sameSecond, name->Sequence);
    }
    result.Path = folder + FileName(stamp, direction, sameSecond + 1);
    const WriteResult written = AtomicWriteFile(result.Path, image.data(), image.size());
    result.Ok = written.Ok;
    result.Reason = written.Reason;
    if (result.Ok) PruneBackups(root, serial, rule, now);
    return result;
}

std::vector<BackupEntry> ListBackups(const std::string& root, const std::string& serial)
{
    std::vector<BackupEntry> all;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (!IsSerialFolderName(name) || !it->is_directory(typeError)) continue;
        if (!serial.empty() && name != serial) continue;
        std::vector<BackupEntry> some = ListFolder(it->path().string(), name);
        all.insert(all.end(), some.begin(), some.end());
    }
    std::stable_sort(all.begin(), all.end(), NewestFirst);
    return all;
}

int PruneBackups(const std::string& root, const std::string& serial, const BackupRule& rule, std::time_t now)
{
    if (!IsSerialFolderName(serial)) return 0;
    const std::vector<BackupEntry> entries = ListFolder(WithSlash(root) + serial, serial);
    const std::time_t oldestKept = now - static_cast<std::time_t>(rule.Days) * kSecondsPerDay;
    int removed = 0;
    for (size_t i = static_cast<size_t>(std::max(rule.Keep, 0)); i < entries.size(); ++i) {
        const std::optional<std::time_t> at = StampTime(entries[i].Name.Stamp);
        if (at && *at > oldestKept) continue;
        std::error_code ec;
        if (fs::remove(entries[i].Path, ec)) ++removed;
    }
    return removed;
}

}  // namespace qm54
