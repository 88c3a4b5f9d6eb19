// The factory access code that unlocks the Manufacture mode.
#pragma once

#include <string>

namespace qm54 {

// True when typed, trimmed of surrounding blanks and lower-cased, is the factory access code.
// The code is kept scrambled in the program and unscrambled only for the comparison.
bool FactoryCodeMatches(const std::string& typed);

}  // namespace qm54
