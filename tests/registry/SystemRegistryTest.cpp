// The registry of the running system: which backend, and where a Wine prefix is looked for.
#include <string>

#include <gtest/gtest.h>

#include "registry/SystemRegistry.h"
#include "registry/WineRegistryBackend.h"
#include "support/ScopedVariable.h"

namespace zorvek {
namespace {

using fixtures::ScopedVariable;

TEST(SystemRegistry, WinePrefixFromVariable)
{
    ScopedVariable prefix("WINEPREFIX", "/games/prefix");
    EXPECT_EQ(DefaultWinePrefix(), "/games/prefix");
}

TEST(SystemRegistry, WinePrefixInHomeWhenVariableEmptyOrUnset)
{
    ScopedVariable home("HOME", "/home/player");
    {
        ScopedVariable prefix("WINEPREFIX", "");
        EXPECT_EQ(DefaultWinePrefix(), "/home/player/.wine");
    }
    ScopedVariable prefix("WINEPREFIX", nullptr);
    EXPECT_EQ(DefaultWinePrefix(), "/home/player/.wine");
}

TEST(SystemRegistry, LinuxReadsTheDefaultPrefix)
{
    ScopedVariable prefix("WINEPREFIX", "/games/prefix");
    const auto backend = std::dynamic_pointer_cast<WineRegistryBackend>(MakeSystemRegistryBackend());
    ASSERT_TRUE(backend);
    EXPECT_EQ(backend->prefix(), "/games/prefix");
}

} // namespace
} // namespace zorvek
