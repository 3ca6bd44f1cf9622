// The registry of the running system: which backend, and where a Wine prefix is looked for.
#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "registry/SystemRegistry.h"
#include "registry/WineRegistryBackend.h"

namespace zorvek {
namespace {

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        set(value);
    }
    ~ScopedVariable() { set(m_old ? m_old->c_str() : nullptr); }

private:
    void set(const char* value)
    {
        if (value)
            setenv(m_name.c_str(), value, 1);
        else
            unsetenv(m_name.c_str());
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

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
