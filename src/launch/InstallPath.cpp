#include "launch/InstallPath.h"

#include <string>

#include "registry/ReadRegistryText.h"
#include "registry/RegistryBackend.h"

namespace zorvek {

std::string ReadInstallPath(cRegistry& registry, std::string_view registryKey)
{
    // Only a text value names a folder: a missing value, a value of another type (a number,
    // bytes) and a read that fails all read as empty, and the user hears that the game is
    // not installed.
    return ReadRegistryText(registry, reg::kHkeyLocalMachine, std::string(registryKey), "InstallPath");
}

} // namespace zorvek
