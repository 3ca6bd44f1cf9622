#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "serverlist/PlayerSlots.h"

namespace zorvek {

inline constexpr int kMaxServers = 255;

// Everything held for one server slot: its list record and what its latest reply said.
// Reply texts and player slots outlive queries and game switches.
struct ServerSlot
{
    std::string ServerName;
    std::string ServerHost;
    std::string ServerPort;
    std::string ServerLink;
    bool ServerIsGame = false;

    std::string ReplyText;
    std::string GameType;
    std::string MapName;
    std::string FriendlyFire;
    std::string KillCam;
    std::uint8_t MaxClients = 0;
    std::uint8_t NumPlayers = 0;
    bool Replied = false;
    bool ShownReplied = false;

    PlayerSlots Players; // 1..64
};

// The servers of the current game, slots 1..255. Slots above ServerCount keep
// whatever they held; every reader bounds itself by ServerCount.
struct ServerTable
{
    std::uint8_t ServerCount = 0;
    std::array<ServerSlot, kMaxServers + 1> Slots{}; // 1..255; element 0 is unused

    ServerSlot& operator[](int slot) { return Slots[static_cast<std::size_t>(slot)]; }
    const ServerSlot& operator[](int slot) const { return Slots[static_cast<std::size_t>(slot)]; }
};

} // namespace zorvek
