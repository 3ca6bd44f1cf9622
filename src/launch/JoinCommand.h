#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

namespace zorvek {

// The client's executable: the install path followed by the game's executable entry.
// An entry without its own leading backslash ("cod2mp_s.exe") gets one in between,
// unless the install path already ends with a separator.
std::string ExecutablePath(std::string_view installPath, std::string_view executableEntry);

// " +connect " host ":" port, exactly: nothing quoted, nothing after the port.
std::string ConnectParameters(std::string_view host, std::string_view port);

// The arguments of `steam` that start the Steam edition `appId` with the client's
// parameter text: "-applaunch", the id, then the words the Windows rules split from
// `parameters` (Steam hands every word after the id to the game).
std::vector<std::string> SteamLaunchArguments(std::uint32_t appId, std::string_view parameters);

// The message shown (title "Info", information icon) when the registry does not say
// where the game with caption `gameCaption` is installed; its two lines are separated
// by one line feed.
QString NotInstalledMessage(std::string_view gameCaption);

} // namespace zorvek
