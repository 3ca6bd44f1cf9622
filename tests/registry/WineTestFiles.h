#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "RegistryTestSupport.h"

namespace zorvek::test {

// Writes registry files the way Wine 8 saves them (server/registry.c): escapes, str(N),
// dword, hex with its line breaks. The native tests use them where no Wine run made the files.
struct WineFileKey
{
    std::string path; // below the file's root, 8-bit as the program sees it
    std::vector<SeedValue> values;
};
std::string WineEscape(const std::string& text, char endA, char endB);
std::string WineValueLine(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data);
std::string WineRegistryText(bool machine, const std::vector<WineFileKey>& keys);

// A temporary folder, removed with the object.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Writes a prefix's system.reg and user.reg holding the seed, and in HKCU\Environment the
// test variable, as Wine would.
void WriteWinePrefix(const std::filesystem::path& folder, const Seed& seed);
void WriteTextFile(const std::filesystem::path& file, const std::string& text);

HarnessKind WineFilesHarnessKind();
HarnessKind ReplayedPrefixHarnessKind();

} // namespace zorvek::test
