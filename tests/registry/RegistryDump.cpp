#include "RegistryDump.h"

#include <cstdio>

#include "RegistryTestSupport.h"
#include "registry/cRegistry.h"

namespace zorvek::test {

using namespace reg;

namespace {

std::string Hex(const std::string& bytes)
{
    std::string out;
    char buffer[4];
    for (const char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02x", unsigned(static_cast<unsigned char>(c)));
        out += buffer;
    }
    return out.empty() ? "-" : out;
}

void DumpKey(RegistryBackend& backend, std::int32_t root, const std::string& section,
             std::vector<std::string>& lines)
{
    lines.push_back("key " + std::to_string(root) + " " + section);
    // Opened in two steps, parent and then the last name: Wine's byte-oriented functions take
    // paths of at most 260 characters.
    constexpr std::uint32_t access = kKeyQueryValue | kKeyEnumerateSubKeys;
    RegistryHandle parent = 0;
    RegistryHandle key = 0;
    const std::size_t slash = section.rfind('\\');
    long status = backend.openKey(RootHandle(root), section.substr(0, slash), 0, access, parent);
    if (status == kErrorSuccess) {
        status = backend.openKey(parent, section.substr(slash + 1), 0, access, key);
        backend.closeKey(parent);
    }
    if (status != kErrorSuccess) {
        lines.push_back("  cannot open");
        return;
    }
    std::vector<std::string> names;
    std::vector<std::string> children;
    char name[16384];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t length = sizeof name;
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        if (backend.enumValue(key, i, name, length, &type, nullptr, &size) != kErrorSuccess)
            break;
        names.emplace_back(name, length);
    }
    for (std::uint32_t i = 0; backend.enumKey(key, i, name, 256) == kErrorSuccess; ++i)
        children.emplace_back(name);
    backend.closeKey(key);

    for (const auto& valueName : names) {
        const auto stored = ReadStored(backend, root, section, valueName);
        std::string line = "  value " + Hex(valueName);
        if (stored)
            line += " type " + std::to_string(stored->type) + " data " +
                    Hex(std::string(stored->data.begin(), stored->data.end()));
        cRegistry registry(std::shared_ptr<RegistryBackend>(&backend, [](RegistryBackend*) {}));
        registry.SetClassKey(root);
        registry.SetSectionKey(section);
        registry.SetValueKey(valueName);
        const RegistryValue read = registry.Value();
        line += " read " + std::to_string(read.index()) + " " + Hex(TextForm(read)) + " as " +
                std::to_string(registry.ValueType());
        lines.push_back(line);
    }
    for (const auto& child : children)
        DumpKey(backend, root, section + "\\" + child, lines);
}

} // namespace

std::vector<std::string> DumpTestKeys(RegistryBackend& backend)
{
    std::vector<std::string> lines;
    DumpKey(backend, kHkeyCurrentUser, kTestRoot, lines);
    DumpKey(backend, kHkeyLocalMachine, kTestRoot, lines);
    // The test classes and extensions in the two class trees (not through HKEY_CLASSES_ROOT,
    // which Wine's advapi32 shows without the user's classes).
    for (const std::int32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
        for (const auto& found : TestClassKeys(backend, root))
            DumpKey(backend, root, "Software\\Classes\\" + found, lines);
    }
    return lines;
}

} // namespace zorvek::test
