#include "registry/SystemRegistry.h"

#include <filesystem>
#include <system_error>

#include "registry/WineRegistryBackend.h"

namespace zorvek {

std::shared_ptr<RegistryBackend> MakeSystemRegistryBackend()
{
    return std::make_shared<WineRegistryBackend>(DefaultWinePrefix());
}

std::string ExecutableBaseName()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return executable.stem().string();
}

} // namespace zorvek
