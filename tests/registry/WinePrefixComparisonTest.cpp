// The Wine prefix reader against advapi32: the Windows test program, run under Wine, wrote
// its keys into a prefix and dumped what advapi32 and the class read back; the same prefix's
// files must read the same here. Runs when the Windows test script passes the prefix.
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RegistryDump.h"
#include "RegistryTestSupport.h"
#include "registry/WineRegistryBackend.h"

namespace zorvek::test {
namespace {

TEST(WinePrefixComparison, ReaderMatchesAdvapi32)
{
    const std::string prefix = ReplayedWinePrefix();
    const char* dumpFile = std::getenv("ZORVEK_REGISTRY_DUMP");
    if (prefix.empty() || !dumpFile)
        GTEST_SKIP() << "needs a prefix filled by the Windows test run (scripts/test-windows.sh)";

    std::ifstream in(dumpFile);
    ASSERT_TRUE(in) << dumpFile;
    std::vector<std::string> advapi;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        advapi.push_back(line);
    }
    WineRegistryBackend backend(prefix);
    const std::vector<std::string> reader = DumpTestKeys(backend);
    // The Windows run writes well over a hundred keys; a short dump means it did not run.
    EXPECT_GT(advapi.size(), 100u);
    std::size_t first = 0;
    while (first < advapi.size() && first < reader.size() && advapi[first] == reader[first])
        ++first;
    if (first < advapi.size() || first < reader.size()) {
        std::string context;
        for (std::size_t i = first; i < first + 4; ++i) {
            context += "\n  advapi32: " + (i < advapi.size() ? advapi[i] : "<end>");
            context += "\n  reader:   " + (i < reader.size() ? reader[i] : "<end>");
        }
        ADD_FAILURE() << "first difference at line " << first + 1 << " of " << advapi.size() << " and "
                      << reader.size() << context;
    }
    EXPECT_EQ(backend.openHandleCount(), 0u);
}

} // namespace
} // namespace zorvek::test
