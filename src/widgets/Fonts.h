#pragma once

#include <QFont>

namespace zorvek {

// The fonts of the fixed windows, in points with fractions (8.25): a .ui file takes
// whole points only. Where Verdana is missing the system's fallback draws it.
QFont Verdana(double points, bool bold = false);
QFont Tahoma(double points);

} // namespace zorvek
