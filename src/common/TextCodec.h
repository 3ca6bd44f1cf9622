#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace zorvek {

// The one conversion point between the program's 8-bit texts (list files, replies,
// registry texts: Windows-1250, one byte a character) and the screen's Unicode: QString
// over the table of common/Cp1250.h.
QString FromCp1250(std::string_view bytes);

// Typed text back to Windows-1250 bytes; characters the code page lacks become "?".
std::string ToCp1250(const QString& text);

} // namespace zorvek
