#pragma once

#include <string>
#include <string_view>

namespace zorvek {

// Windows-1250, the code page of the program's 8-bit texts (list files, replies, registry
// texts: one byte a character), as one table of 256 characters. Plain C++ without Qt: the
// registry, which is also built for Windows, converts with it as well as the screen does.

// The character of one byte; every byte has one, and it encodes back to the same byte.
char16_t Cp1250ToUtf16(unsigned char byte);
std::u16string Cp1250ToUtf16(std::string_view bytes);

// Text back to bytes. A character that the code page lacks becomes one "?" (a character
// outside the Basic Multilingual Plane, two UTF-16 units, too).
std::string Utf16ToCp1250(std::u16string_view text);

} // namespace zorvek
