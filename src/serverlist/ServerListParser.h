#pragma once

#include <string>
#include <string_view>

namespace zorvek {

struct ServerTable;

// The running number of a server name written with a digit pattern, the game table's
// NumberFormat ("000" or "00"): zero-padded to at least as many digits as the pattern has
// (7 -> "007", 100 -> "100").
std::string PadToDigitPattern(int number, std::string_view pattern);

// Rebuilds ServerCount and slots 1..ServerCount of the table from one server list text
// (records "name;host;port;link;" each followed by CR LF or LF), each name prefixed with
// its running number in the digit pattern fmt (the game's NumberFormat). Slots above the
// new count are left as they were.
void ParseServerList(std::string_view text, std::string_view fmt, ServerTable& table);

} // namespace zorvek
