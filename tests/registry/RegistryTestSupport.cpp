#include "RegistryTestSupport.h"

#include <cstdlib>
#include <iomanip>
#include <sstream>

#include "registry/MemoryRegistryBackend.h"
#ifdef _WIN32
#include <windows.h>

#include "registry/Win32RegistryBackend.h"
#endif
#include "WineTestFiles.h"

namespace zorvek::test {

using namespace reg;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> bytes)
{
    std::vector<std::uint8_t> result;
    for (const int b : bytes)
        result.push_back(static_cast<std::uint8_t>(b));
    return result;
}

std::vector<std::uint8_t> TextBytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

void PrintTo(const HarnessKind& kind, std::ostream* os)
{
    *os << kind.name;
}

void PrintTo(const StoredValue& value, std::ostream* os)
{
    *os << "type " << value.type << " bytes";
    for (const auto b : value.data)
        *os << ' ' << std::hex << std::setw(2) << std::setfill('0') << int(b) << std::dec;
}

std::string Describe(const RegistryValue& value)
{
    std::ostringstream out;
    out << "kind " << value.index() << " [";
    for (const char c : TextForm(value))
        out << ' ' << std::hex << std::setw(2) << std::setfill('0') << int(static_cast<unsigned char>(c));
    out << " ]";
    return out.str();
}

std::string ReplayedWinePrefix()
{
    const char* prefix = std::getenv("ZORVEK_WINE_PREFIX");
    return prefix ? prefix : "";
}

std::optional<StoredValue> ReadStored(RegistryBackend& backend, std::int32_t root, const std::string& section,
                                      const std::string& name)
{
    RegistryHandle key = 0;
    if (backend.openKey(RootHandle(root), section, 0, kKeyQueryValue, key) != kErrorSuccess)
        return std::nullopt;
    StoredValue stored;
    std::uint32_t size = 0;
    long status = backend.queryValue(key, name, &stored.type, nullptr, &size);
    if (status == kErrorSuccess) {
        stored.data.resize(size);
        status = backend.queryValue(key, name, &stored.type, stored.data.data(), &size);
        stored.data.resize(size);
    }
    backend.closeKey(key);
    if (status != kErrorSuccess)
        return std::nullopt;
    return stored;
}

bool KeyPresent(RegistryBackend& backend, std::int32_t root, const std::string& section)
{
    RegistryHandle key = 0;
    if (backend.openKey(RootHandle(root), section, 0, kKeyQueryValue, key) != kErrorSuccess)
        return false;
    backend.closeKey(key);
    return true;
}

std::vector<std::string> TestClassKeys(RegistryBackend& backend, std::int32_t root)
{
    std::vector<std::string> names;
    RegistryHandle classes = 0;
    if (backend.openKey(RootHandle(root), "Software\\Classes", 0, kKeyEnumerateSubKeys, classes) !=
        kErrorSuccess)
        return names;
    char name[256];
    for (std::uint32_t i = 0; backend.enumKey(classes, i, name, sizeof name) == kErrorSuccess; ++i) {
        const std::string found(name);
        if (found.rfind(kTestClassPrefix, 0) == 0 || found.rfind(".zt-", 0) == 0)
            names.push_back(found);
    }
    backend.closeKey(classes);
    return names;
}

void DeleteTree(RegistryBackend& backend, std::int32_t root, const std::string& section)
{
    RegistryHandle key = 0;
    if (backend.openKey(RootHandle(root), section, 0, kKeyEnumerateSubKeys, key) != kErrorSuccess)
        return;
    std::vector<std::string> children;
    char name[256];
    for (std::uint32_t i = 0; backend.enumKey(key, i, name, sizeof name) == kErrorSuccess; ++i)
        children.emplace_back(name);
    backend.closeKey(key);
    for (const auto& child : children)
        DeleteTree(backend, root, section + "\\" + child);
    backend.deleteKey(RootHandle(root), section);
}

namespace {

// Creates a key in two steps, the parent and then the last name below it: Wine's byte-oriented
// functions take paths of at most 260 characters, while a name alone may have 255.
long CreateSeedKey(RegistryBackend& backend, std::int32_t root, const std::string& section,
                   RegistryHandle& key)
{
    const std::size_t slash = section.rfind('\\');
    if (slash == std::string::npos)
        return backend.createKey(RootHandle(root), section, 0, kKeyAllSpecific, key, nullptr);
    RegistryHandle parent = 0;
    long status =
        backend.createKey(RootHandle(root), section.substr(0, slash), 0, kKeyAllSpecific, parent, nullptr);
    if (status != kErrorSuccess)
        return status;
    status = backend.createKey(parent, section.substr(slash + 1), 0, kKeyAllSpecific, key, nullptr);
    backend.closeKey(parent);
    return status;
}

} // namespace

void WriteSeed(RegistryBackend& backend, const Seed& seed)
{
    for (const auto& k : seed.keys) {
        RegistryHandle key = 0;
        if (CreateSeedKey(backend, k.root, k.section, key) == kErrorSuccess)
            backend.closeKey(key);
    }
    for (const auto& v : seed.values) {
        RegistryHandle key = 0;
        if (CreateSeedKey(backend, v.root, v.section, key) != kErrorSuccess)
            continue;
        // RegSetValueExA counts a text's terminator that the caller left out when a zero byte
        // follows the data; a non-zero byte behind it keeps the size exactly as given.
        std::vector<std::uint8_t> data = v.data;
        data.push_back(0xFF);
        backend.setValue(key, v.name, v.type, data.data(), static_cast<std::uint32_t>(v.data.size()));
        backend.closeKey(key);
    }
}

namespace {

#ifdef _WIN32
// Removes what an earlier run left: the test keys and the test classes with their extensions.
void ClearTestKeys(RegistryBackend& backend)
{
    for (const std::int32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
        DeleteTree(backend, root, kTestRoot);
        for (const auto& found : TestClassKeys(backend, root))
            DeleteTree(backend, root, "Software\\Classes\\" + found);
    }
}
#endif

class MemoryHarness : public BackendHarness
{
public:
    std::shared_ptr<RegistryBackend> prepare(const Seed& seed) override
    {
        m_backend = std::make_shared<MemoryRegistryBackend>();
        m_backend->setEnvironmentVariable(kTestVariable, kTestVariableValue);
        m_backend->setEnvironmentVariable("ProgramFiles", "C:\\Program Files");
        WriteSeed(*m_backend, seed);
        return m_backend;
    }
    bool writable() const override { return true; }
    std::optional<std::size_t> openHandles() const override
    {
        return m_backend ? std::optional<std::size_t>(m_backend->openHandleCount()) : std::nullopt;
    }

private:
    std::shared_ptr<MemoryRegistryBackend> m_backend;
};

#ifdef _WIN32
// The real registry: each run of the test program starts by clearing the test keys, and
// leaves what it wrote for the comparison with the Wine prefix reader.
class Win32Harness : public BackendHarness
{
public:
    std::shared_ptr<RegistryBackend> prepare(const Seed& seed) override
    {
        auto backend = std::make_shared<Win32RegistryBackend>();
        static bool cleared = false;
        if (!cleared) {
            ClearTestKeys(*backend);
            cleared = true;
        }
        WriteSeed(*backend, seed);
        return backend;
    }
    bool writable() const override { return true; }
    // Wine's advapi32 shows only HKLM\Software\Classes below HKEY_CLASSES_ROOT; Windows
    // shows the user's classes over the machine's.
    bool mergesUserClasses() const override
    {
        return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr;
    }
};
#endif

HarnessKind Memory()
{
    return {"Memory", [] { return std::make_unique<MemoryHarness>(); }};
}

} // namespace

std::vector<HarnessKind> ReadHarnesses()
{
    std::vector<HarnessKind> kinds{Memory(), WineFilesHarnessKind()};
#ifdef _WIN32
    kinds.push_back({"Win32", [] { return std::make_unique<Win32Harness>(); }});
#endif
    if (!ReplayedWinePrefix().empty())
        kinds.push_back(ReplayedPrefixHarnessKind());
    return kinds;
}

std::vector<HarnessKind> WriteHarnesses()
{
    std::vector<HarnessKind> kinds = WritableHarnesses();
    if (!ReplayedWinePrefix().empty())
        kinds.push_back(ReplayedPrefixHarnessKind());
    return kinds;
}

std::vector<HarnessKind> WritableHarnesses()
{
    std::vector<HarnessKind> kinds{Memory()};
#ifdef _WIN32
    kinds.push_back({"Win32", [] { return std::make_unique<Win32Harness>(); }});
#endif
    return kinds;
}

} // namespace zorvek::test
