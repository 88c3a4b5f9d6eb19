#include "model/storage/recent_files.h"

#include <algorithm>

namespace qm54 {

void RecentFiles::Append(const std::string& path)
{
    if (path.empty() || paths_.size() >= ShownCount) return;
    if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) return;
    paths_.push_back(path);
}

void RecentFiles::Touch(const std::string& path)
{
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > ShownCount) paths_.resize(ShownCount);
}

void RecentFiles::Remove(const std::string& path)
{
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

std::string RecentDisplayName(const std::string& path, const std::string& currentFolder)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return path;
    std::string folder = currentFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (path.substr(0, slash == 0 ? 1 : slash) == folder) return path.substr(slash + 1);
    return path;
}

}  // namespace qm54
