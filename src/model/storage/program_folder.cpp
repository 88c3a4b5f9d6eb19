#include "model/storage/program_folder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace qm54 {

namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool IsWritableFolder(const std::string& folder)
{
    struct stat st {};
    return !folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           access(folder.c_str(), W_OK | X_OK) == 0;
}

// An installed program (bin/ beside share/qm54win/) never writes into its own folder, not even
// when run by root: its settings and data belong to the user.
bool IsInstalledFolder(const std::string& folder)
{
    struct stat st {};
    const std::string share = WithSlash(folder) + "../share/qm54win";
    return !folder.empty() && stat(share.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool MakeFolders(const std::string& folder)
{
    if (folder.empty()) return false;
    std::string path;
    size_t at = 0;
    while (at != std::string::npos) {
        at = folder.find('/', at + 1);
        path = folder.substr(0, at);
        if (path.empty()) continue;
        if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

ProgramFolderInputs CurrentProgramFolderInputs()
{
    ProgramFolderInputs in;
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) {
        std::string exe(buffer, static_cast<size_t>(n));
        const auto slash = exe.rfind('/');
        if (slash != std::string::npos) in.ExecutableFolder = exe.substr(0, slash);
    }
    in.HomeOverride = Env("QM54WIN_HOME");
    in.XdgConfigHome = Env("XDG_CONFIG_HOME");
    in.Home = Env("HOME");
    return in;
}

std::string ResolveProgramFolder(const ProgramFolderInputs& in)
{
    if (!in.HomeOverride.empty()) {
        MakeFolders(in.HomeOverride);
        return WithSlash(in.HomeOverride);
    }
    if (IsWritableFolder(in.ExecutableFolder) && !IsInstalledFolder(in.ExecutableFolder)) return WithSlash(in.ExecutableFolder);
    std::string base = in.XdgConfigHome;
    if (base.empty()) base = (in.Home.empty() ? std::string("/tmp") : in.Home) + "/.config";
    const std::string folder = WithSlash(base) + "qm54win";
    MakeFolders(folder);
    return WithSlash(folder);
}

}  // namespace qm54
