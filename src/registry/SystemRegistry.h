#pragma once

#include <memory>
#include <string>

#include "registry/RegistryBackend.h"

namespace zorvek {

// The folder of the Wine prefix whose registry the program reads on Linux:
// $WINEPREFIX when it is set and not empty, otherwise $HOME/.wine.
std::string DefaultWinePrefix();

// The registry of this system: advapi32 on Windows, the default Wine prefix's files elsewhere.
std::shared_ptr<RegistryBackend> MakeSystemRegistryBackend();

// The running program's executable file name without folder and extension.
std::string ExecutableBaseName();

} // namespace zorvek
