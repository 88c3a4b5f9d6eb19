// Text across the line between the core and the Qt front end: the core holds UTF-8 in
// std::string, the widgets QString. Every front-end file converts through these.
#pragma once

#include <QLocale>
#include <QString>

#include <string>
#include <string_view>

#include "model/image/tables.h"

namespace qm54 {

inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toStdString(); }

// The system's decimal separator, "." or "," (anything else is shown as "."). Numbers are shown
// with it; "." and "," are both read back.
inline char DecimalSeparator() { return QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.'; }

// The name of value in option list list, as a widget shows it.
inline QString OptionText(int list, int value) { return ToQString(OptionName(list, value)); }

}  // namespace qm54
