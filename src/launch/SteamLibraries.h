#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

namespace zorvek {

// The Steam libraries of the user, and whether a game of Steam is installed in one.

// The `path` of every library that a libraryfolders.vdf lists, in its order:
//   "libraryfolders" { "0" { "path" "/home/u/.local/share/Steam" ... } "1" { ... } }
// Only absolute paths count. A text that is not a whole file of that form (cut short,
// unquoted words, braces that do not match) lists nothing.
std::vector<std::string> ParseLibraryFolders(std::string_view text);

// The libraries below `home`: Steam's own folder ~/.steam/steam and the libraries its
// steamapps/libraryfolders.vdf lists, then the same of ~/.local/share/Steam; each once.
std::vector<QString> SteamLibraries(const QString& home);

// Whether the library holds the game `appId`: Steam keeps steamapps/appmanifest_<id>.acf
// for each installed game.
bool SteamLibraryHasApp(const QString& library, std::uint32_t appId);

} // namespace zorvek
