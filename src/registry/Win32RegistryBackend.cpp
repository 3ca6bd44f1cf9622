#include "registry/Win32RegistryBackend.h"

#include <windows.h>

#include "registry/RegistryNames.h"

namespace zorvek {

using namespace reg;

namespace {

HKEY ToHkey(RegistryHandle handle)
{
    return reinterpret_cast<HKEY>(handle);
}

RegistryHandle FromHkey(HKEY key)
{
    return reinterpret_cast<RegistryHandle>(key);
}

// The handle types agree with the Windows ones, so the root keys need no translation.
static_assert(sizeof(RegistryHandle) == sizeof(HKEY));

} // namespace

long Win32RegistryBackend::openKey(RegistryHandle key, const std::string& subKey, std::uint32_t options,
                                   std::uint32_t access, RegistryHandle& result)
{
    HKEY opened = nullptr;
    // The games are 32-bit programs: on 64-bit Windows their keys below HKLM\Software live in
    // the 32-bit view, which a 64-bit program sees only when it asks for it. A read looks
    // there first, then in the program's own view.
    if (key == RootHandle(kHkeyLocalMachine) && !(access & (kWriteRights | KEY_WOW64_64KEY)) &&
        Wow6432Path(subKey) &&
        RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, access | KEY_WOW64_32KEY, &opened) ==
            ERROR_SUCCESS) {
        result = FromHkey(opened);
        return ERROR_SUCCESS;
    }
    const LSTATUS status = RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, access, &opened);
    if (status == ERROR_SUCCESS)
        result = FromHkey(opened);
    return status;
}

long Win32RegistryBackend::createKey(RegistryHandle key, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t access, RegistryHandle& result, std::uint32_t* disposition)
{
    // Default security: a zero-filled record with no descriptor.
    SECURITY_ATTRIBUTES security = {};
    char emptyClass[1] = {};
    HKEY opened = nullptr;
    DWORD created = 0;
    const LSTATUS status = RegCreateKeyExA(ToHkey(key), subKey.c_str(), 0, emptyClass, options, access,
                                           &security, &opened, &created);
    if (status == ERROR_SUCCESS) {
        result = FromHkey(opened);
        if (disposition)
            *disposition = created;
    }
    return status;
}

long Win32RegistryBackend::closeKey(RegistryHandle key)
{
    return RegCloseKey(ToHkey(key));
}

long Win32RegistryBackend::queryValue(RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* size)
{
    DWORD storedType = 0;
    DWORD byteSize = size ? *size : 0;
    const LSTATUS status = RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr,
                                            type ? &storedType : nullptr, data, size ? &byteSize : nullptr);
    if (type)
        *type = storedType;
    if (size)
        *size = byteSize;
    return status;
}

long Win32RegistryBackend::setValue(RegistryHandle key, const std::string& valueName, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size)
{
    return RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type, data, size);
}

long Win32RegistryBackend::deleteKey(RegistryHandle key, const std::string& subKey)
{
    return RegDeleteKeyA(ToHkey(key), subKey.c_str());
}

long Win32RegistryBackend::deleteValue(RegistryHandle key, const std::string& valueName)
{
    return RegDeleteValueA(ToHkey(key), valueName.c_str());
}

long Win32RegistryBackend::enumKey(RegistryHandle key, std::uint32_t index, char* name,
                                   std::uint32_t nameSize)
{
    return RegEnumKeyA(ToHkey(key), index, name, nameSize);
}

long Win32RegistryBackend::enumValue(RegistryHandle key, std::uint32_t index, char* name,
                                     std::uint32_t& nameLength, std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* dataSize)
{
    DWORD length = nameLength;
    DWORD storedType = 0;
    DWORD byteSize = dataSize ? *dataSize : 0;
    const LSTATUS status = RegEnumValueA(ToHkey(key), index, name, &length, nullptr,
                                         type ? &storedType : nullptr, data, dataSize ? &byteSize : nullptr);
    nameLength = length;
    if (type)
        *type = storedType;
    if (dataSize)
        *dataSize = byteSize;
    return status;
}

long Win32RegistryBackend::queryInfoKey(RegistryHandle key, KeyInfo& info)
{
    char emptyClass[1] = {};
    DWORD classLength = 0;
    DWORD subKeys = 0, maxSubKeyLength = 0, maxClassLength = 0, values = 0, maxValueNameLength = 0,
          maxValueSize = 0;
    DWORD securityDescriptor = 0;
    FILETIME lastWrite = {};
    const LSTATUS status = RegQueryInfoKeyA(ToHkey(key), emptyClass, &classLength, nullptr, &subKeys,
                                            &maxSubKeyLength, &maxClassLength, &values, &maxValueNameLength,
                                            &maxValueSize, &securityDescriptor, &lastWrite);
    if (status == ERROR_SUCCESS) {
        info.subKeys = subKeys;
        info.maxSubKeyLength = maxSubKeyLength;
        info.maxClassLength = maxClassLength;
        info.values = values;
        info.maxValueNameLength = maxValueNameLength;
        info.maxValueSize = maxValueSize;
    }
    return status;
}

long Win32RegistryBackend::connectRegistry(const std::string& machine, RegistryHandle rootKey,
                                           RegistryHandle& result)
{
    HKEY connected = nullptr;
    const LSTATUS status =
        RegConnectRegistryA(machine.empty() ? nullptr : machine.c_str(), ToHkey(rootKey), &connected);
    if (status == ERROR_SUCCESS)
        result = FromHkey(connected);
    return status;
}

std::uint32_t Win32RegistryBackend::expandEnvironmentStrings(const std::string& source, char* destination,
                                                             std::uint32_t size)
{
    return ExpandEnvironmentStringsA(source.c_str(), destination, size);
}

} // namespace zorvek
