// The pictures of the tool buttons and their menu entries, read when they are first painted and
// only at the size they are painted at.
#pragma once

#include <QIcon>
#include <QStyle>

namespace qm54 {

// The style's standard picture id. Made by the style, such an icon reads and decodes every size
// of its built-in picture (16, 32 and 128 pixels) at once; this one reads the one size that the
// tool button or the menu entry needs, when it is first painted. Where the icon theme of the
// desktop has the picture, or the style has no built-in one, it is the style's own icon.
QIcon StandardIconAtShownSize(QStyle::StandardPixmap id);

}  // namespace qm54
