// The state of the Caps, Num and Scroll lock keys, where the platform reports it (X11).
#pragma once

#include <optional>

namespace qm54 {

struct LockKeyState {
    bool Caps = false;
    bool Num = false;
    bool Scroll = false;
};

// The current state, or nothing when the platform does not tell (Wayland, offscreen).
std::optional<LockKeyState> QueryLockKeys();

}  // namespace qm54
