// The differences between two programmings, named as `qm54 show` names the settings and as the
// channel grid heads its columns, with both values as the dialogs and the grid show them: the
// common settings, channel by channel, the alpha tags, then the bytes no setting holds.
#pragma once

#include <string>
#include <vector>

#include "model/image/emem.h"
#include "model/image/map54.h"

namespace qm54 {

struct Difference {
    std::string Name;  // "BaseTot", "Channel 3 Rx Freq", "AlphaTagText[0]", "Byte 0x5F3"
    std::string A;
    std::string B;
};

std::vector<Difference> DiffProgrammings(const TCEmem& a, const TMap54& mapA, const TCEmem& b, const TMap54& mapB);

// One line a difference: "Name: A | B".
std::string DifferenceLine(const Difference& difference);

}  // namespace qm54
