// The backup list reader: files with arbitrary names and contents in serial folders with arbitrary
// names are listed and pruned. Properties: every entry listed is a file of the tree whose name
// parses as a backup's and lies in a folder named as a serial; its band is "VHF", "UHF" or "?";
// the list is newest first; pruning removes only backups, never more than it reports, and always
// keeps the newest rule.Keep of the folder.
//
// Input: keep byte, days byte, then records: folder-name length, folder name, file-name length,
// file name, content length (two bytes), content.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "temp_folder.h"
#include "model/storage/backup_store.h"

#include <filesystem>
#include <set>
#include <string>

namespace {

using namespace qm54;
namespace fs = std::filesystem;

// A name the file system takes as one component.
std::string Component(std::span<const uint8_t> bytes)
{
    std::string name;
    name.reserve(bytes.size());
    for (uint8_t b : bytes)
        if (b != '/' && b != 0) name.push_back(static_cast<char>(b));
    if (name.empty() || name == "." || name == "..") return std::string(1, 'x');
    return name;
}

size_t CountFiles(const fs::path& root)
{
    size_t n = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qm54fuzz::TempFolder folder;
    FUZZ_CHECK(!folder.path.empty());
    const fs::path root = folder.path / "backups";
    qm54fuzz::FuzzInput input(data, size);
    const BackupRule rule{input.Byte() * 7, input.Byte() % 8};
    std::set<std::string> serials;
    while (!input.Empty()) {
        const std::string serial = Component(input.Take(input.Byte() % 40));
        const std::string name = Component(input.Take(input.Byte()));
        const auto content = input.Take(input.Word() % 4096);
        std::error_code ec;
        fs::create_directories(root / serial, ec);
        if (ec) continue;
        qm54fuzz::WriteAll(root / serial / name, content.data(), content.size());
        serials.insert(serial);
    }
    const std::vector<BackupEntry> all = ListBackups(root.string());
    for (size_t i = 0; i < all.size(); ++i) {
        const BackupEntry& e = all[i];
        const fs::path path(e.Path);
        FUZZ_CHECK(fs::is_regular_file(path));
        FUZZ_CHECK(path.parent_path().filename().string() == e.Serial);
        FUZZ_CHECK(ParseBackupName(path.filename().string()).has_value());
        FUZZ_CHECK(e.Band == "VHF" || e.Band == "UHF" || e.Band == "?");
        if (i > 0) FUZZ_CHECK(all[i - 1].Name.Stamp >= e.Name.Stamp);
    }
    for (const std::string& serial : serials) {
        const size_t listed = ListBackups(root.string(), serial).size();
        const size_t filesBefore = CountFiles(root);
        const int removed = PruneBackups(root.string(), serial, rule, 1'800'000'000);
        FUZZ_CHECK(removed >= 0 && static_cast<size_t>(removed) <= listed);
        FUZZ_CHECK(CountFiles(root) == filesBefore - static_cast<size_t>(removed));
        FUZZ_CHECK(ListBackups(root.string(), serial).size() >= std::min(listed, static_cast<size_t>(rule.Keep)));
    }
    return 0;
}
