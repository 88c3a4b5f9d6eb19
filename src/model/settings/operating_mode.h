// The operating mode the program runs in, fixed at start. It decides which settings can be edited
// and which areas a clone write sends.
#pragma once

namespace qm54 {

enum class OperatingMode { Normal = 0, Dealer = 1, Manufacture = 2 };

}  // namespace qm54
