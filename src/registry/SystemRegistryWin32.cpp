#include "registry/SystemRegistry.h"

#include <windows.h>

#include "registry/Win32RegistryBackend.h"

namespace zorvek {

std::shared_ptr<RegistryBackend> MakeSystemRegistryBackend()
{
    return std::make_shared<Win32RegistryBackend>();
}

std::string ExecutableBaseName()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

} // namespace zorvek
