// A fresh folder of its own under the system's temporary folder for one test, removed with
// everything in it when the object goes. Write permission on the folder is given back first, so
// that a test may leave it read-only.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace qm54::test {

class TempFolder {
public:
    // prefix names the folder ("prefix-" and six random characters), so that one left behind
    // by a killed test tells who made it.
    explicit TempFolder(const std::string& prefix = "qm54-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder()
    {
        if (path_.empty()) return;
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace qm54::test
