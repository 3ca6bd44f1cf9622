#pragma once

#include "registry/RegistryBackend.h"

namespace zorvek {

// The Windows registry itself: each operation is the advapi32 function of the same shape,
// and the expansion is kernel32's ExpandEnvironmentStringsA. Built only for Windows.
class Win32RegistryBackend : public RegistryBackend
{
public:
    long openKey(reg::RegistryHandle key, const std::string& subKey, std::uint32_t options,
                 std::uint32_t access, reg::RegistryHandle& result) override;
    long createKey(reg::RegistryHandle key, const std::string& subKey, std::uint32_t options,
                   std::uint32_t access, reg::RegistryHandle& result, std::uint32_t* disposition) override;
    long closeKey(reg::RegistryHandle key) override;
    long queryValue(reg::RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override;
    long setValue(reg::RegistryHandle key, const std::string& valueName, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override;
    long deleteKey(reg::RegistryHandle key, const std::string& subKey) override;
    long deleteValue(reg::RegistryHandle key, const std::string& valueName) override;
    long enumKey(reg::RegistryHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
    long enumValue(reg::RegistryHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                   std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override;
    long queryInfoKey(reg::RegistryHandle key, reg::KeyInfo& info) override;
    long connectRegistry(const std::string& machine, reg::RegistryHandle rootKey,
                         reg::RegistryHandle& result) override;
    std::uint32_t expandEnvironmentStrings(const std::string& source, char* destination,
                                           std::uint32_t size) override;
};

} // namespace zorvek
