#include "registry/SystemRegistry.h"

#include <cstdlib>

namespace zorvek {

std::string DefaultWinePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.wine";
}

} // namespace zorvek
