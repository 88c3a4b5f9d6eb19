// What the program decides once at start from its first command-line argument, and the caption
// of the main window.
#pragma once

#include "model/operating_mode.h"

#include <string>

namespace qm54 {

struct FirstArgument {
    bool dealer = false;       // "-D" or "/D"
    bool manufacture = false;  // "-M" or "/M": ask for the factory password
    std::string dataFile;      // an argument containing "Q54" (any case), letter case kept
};

// Only the first argument counts; the comparison is on its upper-case form.
FirstArgument ParseFirstArgument(const std::string& argument);

// "<file> - QM54Win for KTD-4150 Series", with "(Manufacture mode)" appended in that mode.
std::string MainCaption(const std::string& currentFile, OperatingMode mode);

inline constexpr const char* kNoFile = "<none>";

}  // namespace qm54
