// The File menu's list of recently opened data files: most recent first, at most four shown and
// stored.
#pragma once

#include <string>
#include <vector>

namespace qm54 {

class RecentFiles {
public:
    static constexpr size_t ShownCount = 4;

    const std::vector<std::string>& Paths() const { return paths_; }
    // Appends a path read from the settings file (empty values are skipped, duplicates too).
    void Append(const std::string& path);
    // Moves path to the top (adding it when missing).
    void Touch(const std::string& path);
    void Remove(const std::string& path);

private:
    std::vector<std::string> paths_;
};

// The menu text of a path: the file name alone when its folder is currentFolder, else the path.
std::string RecentDisplayName(const std::string& path, const std::string& currentFolder);

}  // namespace qm54
