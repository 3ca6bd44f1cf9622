// Writes what advapi32 holds below the test keys, for the comparison with the Wine prefix
// reader. Runs when the Windows test script asks for it, after all other cases.
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "RegistryDump.h"
#include "registry/Win32RegistryBackend.h"

namespace zorvek::test {
namespace {

TEST(AdvapiDump, WritesWhatAdvapi32Returns)
{
    const char* dumpFile = std::getenv("ZORVEK_REGISTRY_DUMP");
    if (!dumpFile)
        GTEST_SKIP() << "ZORVEK_REGISTRY_DUMP names the file to write";
    Win32RegistryBackend backend;
    const auto lines = DumpTestKeys(backend);
    std::ofstream out(dumpFile, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out) << dumpFile;
    for (const auto& line : lines)
        out << line << '\n';
    EXPECT_GT(lines.size(), 100u);
}

} // namespace
} // namespace zorvek::test
