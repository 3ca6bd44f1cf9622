#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "registry/RegistryBackend.h"
#include "registry/RegistryValue.h"

namespace zorvek::test {

// Every test key lives below this key of HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; test
// classes are named with this prefix below HKEY_CLASSES_ROOT.
inline constexpr const char* kTestRoot = "Software\\ZorvekRegistryTest";
inline constexpr const char* kTestClassPrefix = "ZorvekTest.";

// The expansion tests use this variable; the harnesses and the Windows test script define it.
inline constexpr const char* kTestVariable = "ZORVEK_TEST_DIR";
inline constexpr const char* kTestVariableValue = "C:\\zorvek-test";

std::vector<std::uint8_t> Bytes(std::initializer_list<int> bytes);
std::vector<std::uint8_t> TextBytes(const std::string& text);

struct SeedKey
{
    std::int32_t root = 0;
    std::string section;
};

struct SeedValue
{
    std::int32_t root = 0;
    std::string section;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// What a registry must hold before a case runs. Roots are HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE.
struct Seed
{
    std::vector<SeedKey> keys;
    std::vector<SeedValue> values;
};

// One backend under test and the way to fill its registry.
class BackendHarness
{
public:
    virtual ~BackendHarness() = default;
    // A backend whose registry holds the seed.
    virtual std::shared_ptr<RegistryBackend> prepare(const Seed& seed) = 0;
    // Whether writes through the backend can succeed (the Wine prefix reader refuses them).
    virtual bool writable() const = 0;
    // True for a Wine prefix that a Windows run of these tests has already filled: its write
    // cases check what that run stored instead of writing.
    virtual bool replaysWindowsRun() const { return false; }
    // Handles left open, where the backend can tell.
    virtual std::optional<std::size_t> openHandles() const { return std::nullopt; }
    // Whether HKEY_CLASSES_ROOT shows HKCU\Software\Classes over HKLM\Software\Classes.
    virtual bool mergesUserClasses() const { return true; }
};

struct HarnessKind
{
    std::string name;
    std::function<std::unique_ptr<BackendHarness>()> make;
};
void PrintTo(const HarnessKind& kind, std::ostream* os);

// Backends that can hold seeded values: all of this build.
std::vector<HarnessKind> ReadHarnesses();
// Backends whose write cases run: the writable ones, and a replayed Wine prefix.
std::vector<HarnessKind> WriteHarnesses();
// Backends that accept writes.
std::vector<HarnessKind> WritableHarnesses();

// The folder of a Wine prefix filled by the Windows test run, from $ZORVEK_WINE_PREFIX; empty when unset.
std::string ReplayedWinePrefix();

// Raw type and bytes of a stored value as the backend reports them; nullopt when it is missing.
struct StoredValue
{
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const StoredValue&) const = default;
};
void PrintTo(const StoredValue& value, std::ostream* os);
std::optional<StoredValue> ReadStored(RegistryBackend& backend, std::int32_t root, const std::string& section,
                                      const std::string& name);
bool KeyPresent(RegistryBackend& backend, std::int32_t root, const std::string& section);

// The test classes and their extensions ("ZorvekTest.*", ".zt-*") below Software\Classes
// of a root, in the order the backend enumerates them; none when the key cannot be opened.
std::vector<std::string> TestClassKeys(RegistryBackend& backend, std::int32_t root);

// Deletes a key with everything below it; used to clear the test keys of a real registry.
void DeleteTree(RegistryBackend& backend, std::int32_t root, const std::string& section);

// Writes seeds through a writable backend.
void WriteSeed(RegistryBackend& backend, const Seed& seed);

std::string Describe(const RegistryValue& value);

} // namespace zorvek::test
