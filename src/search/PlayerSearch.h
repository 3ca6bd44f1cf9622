#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

namespace zorvek {

struct ServerTable;

// The most hits one search lists; one more ends the search with the too-many message.
inline constexpr int kMaxFoundPlayers = 32;

// One hit: the player's name as stored (colour codes removed, Windows-1250 bytes,
// letter case as received) and the server slot the player is on.
struct FoundPlayer
{
    std::string FoundName;
    std::uint8_t FoundServer = 0;
};

// The hits of one search, in server slot order and, per server, in reply order.
struct FoundPlayers
{
    std::vector<FoundPlayer> hits;
    int FoundCount = 0;   // hits.size(), 0..kMaxFoundPlayers
    bool tooMany = false; // a hit beyond kMaxFoundPlayers was found; the search stopped there
};

// Collects the players of slots 1..ServerCount whose names contain the search text,
// compared in Unicode upper case (the text is matched as typed, spaces included).
// Every searched slot's stored reply is parsed into its player slots and its NumPlayers
// set on the way; a slot that never answered has no players.
FoundPlayers CollectFoundPlayers(ServerTable& table, const QString& find);

} // namespace zorvek
