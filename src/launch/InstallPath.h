#pragma once

#include <string>
#include <string_view>

namespace zorvek {

class cRegistry;

// The "InstallPath" text value of a game's key below HKEY_LOCAL_MACHINE, read through
// `registry`: the install folder the game's installer wrote. Empty when the key or the
// value is missing, the value is not a text, or the read fails.
std::string ReadInstallPath(cRegistry& registry, std::string_view registryKey);

} // namespace zorvek
