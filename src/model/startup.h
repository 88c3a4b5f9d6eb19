// What the program decides once at start: the operating mode switch or data file of the first
// command-line argument, and the narrowband policy of today's date.
#pragma once

#include "model/operating_mode.h"

#include <string>

namespace qm54 {

enum class NarrowbandPolicy { None = 0, Caution = 1, Enforced = 2 };

struct FirstArgument {
    bool dealer = false;       // "-D" or "/D"
    bool manufacture = false;  // "-M" or "/M": ask for the factory password
    std::string dataFile;      // an argument containing "Q54" (any case), letter case kept
};

// Only the first argument counts; the comparison is on its upper-case form.
FirstArgument ParseFirstArgument(const std::string& argument);

// yyyymmdd compared as text: from 20130101 Enforced, from 20110101 Caution, else None.
NarrowbandPolicy NarrowbandPolicyFor(const std::string& yyyymmdd);

// Today's local date as "YYYYMMDD".
std::string TodayYyyymmdd();

// "<file> - QM54Win for KTD-4150 Series", with "(Manufacture mode)" appended in that mode.
std::string MainCaption(const std::string& currentFile, OperatingMode mode);

inline constexpr const char* kNoFile = "<none>";

}  // namespace qm54
