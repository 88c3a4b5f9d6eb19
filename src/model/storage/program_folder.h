// Where the program keeps its settings file, its default data file and its help: the folder of
// the executable, unless QM54WIN_HOME names another one or the executable's folder cannot be
// written, or the program is installed (its folder has ../share/qm54win/ beside it); then the
// per-user folder $XDG_CONFIG_HOME/qm54win/ (default ~/.config/qm54win/).
#pragma once

#include <string>

namespace qm54 {

struct ProgramFolderInputs {
    std::string ExecutableFolder;  // folder of the running executable
    std::string HomeOverride;      // QM54WIN_HOME, empty when unset
    std::string XdgConfigHome;     // XDG_CONFIG_HOME, empty when unset
    std::string Home;              // HOME, empty when unset
};

// The inputs of the running process (environment and /proc/self/exe).
ProgramFolderInputs CurrentProgramFolderInputs();

// The program folder with a trailing '/'. The chosen folder is created when it is missing
// (QM54WIN_HOME or the per-user folder); the executable's folder is used only when writable
// and not an installed bin/ folder.
std::string ResolveProgramFolder(const ProgramFolderInputs& in);

// Creates folder and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

}  // namespace qm54
