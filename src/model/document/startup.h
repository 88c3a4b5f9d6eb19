// What the program decides once at start from its first command-line argument, and the caption
// of the main window.
#pragma once

#include "model/settings/operating_mode.h"

#include <string>

namespace qm54 {

struct FirstArgument {
    bool Dealer = false;       // "-D" or "/D"
    bool Manufacture = false;  // "-M" or "/M": ask for the factory password
    std::string DataFile;      // an argument containing "Q54" (any case), letter case kept
};

// Only the first argument counts; the comparison is on its upper-case form.
FirstArgument ParseFirstArgument(const std::string& argument);

// "<file> - QM54Win for KTD-4150 Series", with "(Manufacture mode)" appended in that mode.
std::string MainCaption(const std::string& currentFile, OperatingMode mode);

inline constexpr const char* NoFileName = "<none>";

// The about box's version line of a file version "a.b.c.d": "QM54 Ver. " with the first field, "."
// and the second field as a number of at least two digits (1.5.0.0 gives "QM54 Ver. 1.05"). An
// unreadable second field counts as 0; an empty version leaves the version part empty.
std::string AboutVersionLine(const std::string& fileVersion);

}  // namespace qm54
