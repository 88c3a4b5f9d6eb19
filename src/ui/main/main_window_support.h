// What the main window's source files share: the conversions between the core's UTF-8 texts and
// Qt's, and the window's fixed texts and sizes.
#pragma once

#include <QString>

#include <string>

namespace qm54 {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

inline constexpr int MainWindowMinWidth = 835;
inline constexpr int MainWindowMinHeight = 540;
inline constexpr const char* MainWindowDefaultHint = "F1 for Help   F10 for Menus";

}  // namespace qm54
