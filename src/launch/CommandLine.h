#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvek {

// The Windows rules for the argument part of a command line, as the Microsoft C runtime
// (2008 and later) applies them when a program splits its command line into argv.

// Splits a parameter text into arguments: space and tab separate arguments outside
// quotes; 2n backslashes before a quote give n backslashes and the quote opens or
// closes quoting; 2n+1 give n backslashes and a literal quote; "" inside quotes gives
// a literal quote; other backslashes are literal. Bytes other than these pass unchanged.
std::vector<std::string> SplitWindowsCommandLine(std::string_view params);

// One argument written so that SplitWindowsCommandLine gives it back unchanged.
std::string QuoteWindowsArgument(std::string_view argument);

// Arguments joined by single spaces, each written by QuoteWindowsArgument.
std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments);

} // namespace zorvek
