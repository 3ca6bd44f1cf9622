#pragma once

#include <cstdint>
#include <string>

namespace zorvek::reg {

// A key handle as the registry functions see it: an opaque integer as wide as a pointer.
// The predefined root keys are their 32-bit numbers sign-extended, as Windows defines them.
using RegistryHandle = std::intptr_t;

// Root keys as 32-bit numbers (the values the registry class keeps in ClassKey).
inline constexpr std::int32_t kHkeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kHkeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t kHkeyUsers = static_cast<std::int32_t>(0x80000003u);
inline constexpr std::int32_t kHkeyPerformanceData = static_cast<std::int32_t>(0x80000004u);
inline constexpr std::int32_t kHkeyCurrentConfig = static_cast<std::int32_t>(0x80000005u);

// The handle of a root key given by its 32-bit number.
constexpr RegistryHandle RootHandle(std::int32_t rootKey)
{
    return static_cast<RegistryHandle>(rootKey);
}

// Whether a handle is one of the predefined root keys, HKEY_CLASSES_ROOT to HKEY_CURRENT_CONFIG.
constexpr bool IsRootHandle(RegistryHandle handle)
{
    return handle >= RootHandle(kHkeyClassesRoot) && handle <= RootHandle(kHkeyCurrentConfig);
}

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegResourceList = 8;
inline constexpr std::uint32_t kRegFullResourceDescriptor = 9;
inline constexpr std::uint32_t kRegResourceRequirementsList = 10;
inline constexpr std::uint32_t kRegQword = 11;

// Status codes (Windows error numbers).
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidData = 13;
inline constexpr long kErrorBadNetpath = 53;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorBadPathname = 161;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorKeyDeleted = 1018;

// Access rights of a key.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyCreateLink = 0x0020;
// The rights that let a key be changed: a read-only backend refuses them, and a read never
// asks for them.
inline constexpr std::uint32_t kWriteRights = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink;
// The six key-specific rights together, without the standard rights.
inline constexpr std::uint32_t kKeyAllSpecific = 0x003F;

// Options of openKey/createKey.
inline constexpr std::uint32_t kRegOptionNonVolatile = 0;

// Dispositions reported by createKey.
inline constexpr std::uint32_t kRegCreatedNewKey = 1;
inline constexpr std::uint32_t kRegOpenedExistingKey = 2;

// What queryInfoKey reports; lengths are in characters without the terminator, sizes in bytes.
struct KeyInfo
{
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyLength = 0;
    std::uint32_t maxClassLength = 0;
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLength = 0;
    std::uint32_t maxValueSize = 0;
};

} // namespace zorvek::reg

namespace zorvek {

// The byte-oriented registry operations the registry class needs, shaped like their advapi32
// counterparts (the functions ending in A): same arguments, same buffer rules, Windows status codes.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;

    // RegOpenKeyExA.
    virtual long openKey(reg::RegistryHandle key, const std::string& subKey, std::uint32_t options,
                         std::uint32_t access, reg::RegistryHandle& result) = 0;
    // RegCreateKeyExA with an empty class text and default security; disposition may be null.
    virtual long createKey(reg::RegistryHandle key, const std::string& subKey, std::uint32_t options,
                           std::uint32_t access, reg::RegistryHandle& result, std::uint32_t* disposition) = 0;
    // RegCloseKey.
    virtual long closeKey(reg::RegistryHandle key) = 0;
    // RegQueryValueExA: type, data and size may each be null; size is in/out in bytes.
    virtual long queryValue(reg::RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    // RegSetValueExA.
    virtual long setValue(reg::RegistryHandle key, const std::string& valueName, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteKeyA.
    virtual long deleteKey(reg::RegistryHandle key, const std::string& subKey) = 0;
    // RegDeleteValueA.
    virtual long deleteValue(reg::RegistryHandle key, const std::string& valueName) = 0;
    // RegEnumKeyA: a zero-terminated name into a buffer of nameSize bytes.
    virtual long enumKey(reg::RegistryHandle key, std::uint32_t index, char* name,
                         std::uint32_t nameSize) = 0;
    // RegEnumValueA: nameLength is in/out in characters (terminator included on the way in,
    // excluded on the way out); type, data and dataSize may be null.
    virtual long enumValue(reg::RegistryHandle key, std::uint32_t index, char* name,
                           std::uint32_t& nameLength, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* dataSize) = 0;
    // RegQueryInfoKeyA without the class text and the security and time outputs.
    virtual long queryInfoKey(reg::RegistryHandle key, reg::KeyInfo& info) = 0;
    // RegConnectRegistryA: machine is "\\name" or empty for the local computer.
    virtual long connectRegistry(const std::string& machine, reg::RegistryHandle rootKey,
                                 reg::RegistryHandle& result) = 0;
    // ExpandEnvironmentStringsA: returns the size needed, terminator included (0 on failure).
    virtual std::uint32_t expandEnvironmentStrings(const std::string& source, char* destination,
                                                   std::uint32_t size) = 0;
};

} // namespace zorvek
