// What the main window's source files share: the window's fixed texts and sizes, and the text
// conversions between the core and Qt.
#pragma once

#include "ui/common/qt_text.h"

namespace qm54 {

inline constexpr int MainWindowMinWidth = 835;
inline constexpr int MainWindowMinHeight = 540;
inline constexpr const char* MainWindowDefaultHint = "F1 for Help   F10 for Menus";

}  // namespace qm54
