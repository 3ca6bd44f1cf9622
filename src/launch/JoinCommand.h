#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace zorvek {

// The client's executable: the install path followed by the game's executable entry.
// An entry without its own leading backslash ("cod2mp_s.exe") gets one in between,
// unless the install path already ends with a separator.
std::string ExecutablePath(std::string_view installPath, std::string_view executableEntry);

// " +connect " host ":" port, exactly: nothing quoted, nothing after the port.
std::string ConnectParameters(std::string_view host, std::string_view port);

// The message shown (title "Info", information icon) when the registry does not say
// where the game with caption `gameCaption` is installed; its two lines are separated
// by one line feed.
QString NotInstalledMessage(std::string_view gameCaption);

} // namespace zorvek
