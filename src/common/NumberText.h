#pragma once

#include <string>
#include <string_view>

namespace zorvek {

// Numbers in the program's texts: the one lenient reading that the player lines of a status
// reply and the info file share, and the shortest text of a number.

// Blanks (space, tab, line feed) are skipped anywhere; then an optional sign, digits, a
// decimal point with digits and an exponent are taken, and the reading stops at the first
// other character. A text without digits reads as 0, and so does a number beyond the range
// of a double (too large, or too small to be told from 0). No rounding: callers round as
// they need.
double ReadNumber(std::string_view text);

// The text of a number: its shortest decimal form ("007" read gives "7", -3 gives "-3").
std::string ShortestDecimalText(double value);

} // namespace zorvek
