#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "launch/ProcessLauncher.h"

namespace zorvek {

// The Wine prefixes of the games that Lutris installed, each with the Wine build Lutris
// runs it with, read from Lutris's game configurations.

// What a game configuration of Lutris says about where the game runs: `game:` names the
// prefix (`prefix:`), `wine:` may name the Wine build (`version:`).
struct LutrisGame
{
    std::string prefix;
    std::string wineVersion; // empty: none named
};

// Nothing when the text names no prefix.
std::optional<LutrisGame> ParseLutrisGame(std::string_view text);

// The prefixes named by the game configurations below `home`: the `*.yml` files of
// ~/.local/share/lutris/games, then of ~/.config/lutris/games (older Lutris), each folder
// in the order of the file names. A prefix is an absolute folder ("~/" is the home);
// its wine is ~/.local/share/lutris/runners/wine/<version>/bin/wine when the version is
// named and that program exists, else empty (the system's). Configurations that cannot
// be read or say nothing usable are left out, and so are a prefix folder that does not
// exist and one named twice.
std::vector<WineRunner> LutrisPrefixes(const QString& home);

} // namespace zorvek
