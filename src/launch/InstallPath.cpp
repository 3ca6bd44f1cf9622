#include "launch/InstallPath.h"

#include <cstdint>
#include <exception>

#include "registry/cRegistry.h"

namespace zorvek {

std::string ReadInstallPath(cRegistry& registry, std::string_view registryKey)
{
    // The program's registry instance is shared and keeps whatever its last user set, so
    // every selector is set before the read.
    registry.SetClassKey(reg::kHkeyLocalMachine);
    registry.SetValueType(static_cast<std::int32_t>(reg::kRegSz));
    registry.SetSectionKey(std::string(registryKey));
    registry.SetValueKey("InstallPath");
    try {
        // Only a text names a folder; a value of another type (a number, bytes) counts
        // as missing, as does the empty default of a missing value.
        const RegistryValue value = registry.Value();
        const std::string* text = std::get_if<std::string>(&value);
        return text ? *text : std::string();
    } catch (const std::exception&) {
        // A read that fails reads as a missing value: the user hears that the game is
        // not installed, and the program goes on.
        return {};
    }
}

} // namespace zorvek
