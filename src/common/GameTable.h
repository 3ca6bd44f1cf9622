#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zorvek {

// One supported game: a tab of tabGames and everything the program looks up by it.
struct GameInfo
{
    std::string_view GameCaption;     // tab caption
    std::string_view ListPath;        // path of the server list on the list host
    std::string_view NumberFormat;    // digit pattern of the running number
    std::string_view LevelshotFolder; // subfolder of "levelshots", with its trailing "\"
    std::string_view RegistryKey;     // below HKEY_LOCAL_MACHINE, value "InstallPath"
    std::string_view ExecutableEntry; // appended to the install path
    std::uint32_t SteamAppId;         // the Steam edition's app id; 0: not sold on Steam
};

inline constexpr int kGameCount = 5;

// The five games in tab order; game index g (1..5) is GameTable()[g - 1].
const std::array<GameInfo, kGameCount>& GameTable();

// The row of game index 1..5.
const GameInfo& Game(int index);

inline constexpr std::string_view kInfoPath = "/zorvek/info.txt";

} // namespace zorvek
