#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serverlist/ServerTable.h"

namespace zorvek {

// The 13-byte status query: four 0xFF bytes and "getstatus", nothing after it.
std::string StatusQuery();

// Value of one setting of the reply's settings line, "" when the name is absent.
// The name matches only as a whole setting name ("\name\"); the value ends at the
// next "\" or "." or at the end of the line.
std::string GetParam(std::string_view reply, std::string_view name);

// Number of players: the quote characters of the player lines (after the settings
// line) halved, rounded half to even, at most 255.
std::uint8_t GetNumPlayers(std::string_view reply);

// Parses the player lines into players[1..64] (names without colour codes) and returns
// the number of complete quote pairs after the settings line, which may exceed 64;
// only the first 64 are stored. Slots above the result are left as they were, and a
// reply without players makes none.
int ParsePlayers(std::string_view reply, PlayerSlots& players);

// The text without colour codes: "^" is dropped with the one character after it.
std::string RemoveTags(std::string_view text);

// sv_maxclients as a whole decimal number 0..255; anything else gives 0.
std::uint8_t ReadMaxClients(std::string_view value);

} // namespace zorvek
