#pragma once

#include <QIcon>

namespace zorvek {

// The program's own icon, drawn at the sizes the desktop asks for (16 to 256 pixels): the
// windows carry it, and the installed package gives the desktop the same pictures.
QIcon AppIcon();

} // namespace zorvek
