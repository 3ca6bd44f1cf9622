#include "launch/JoinCommand.h"

#include <string>

#include <gtest/gtest.h>

#include "common/GameTable.h"

namespace zorvek {
namespace {

struct ExecutableCase
{
    const char* name;
    std::string installPath;
    std::string entry;
    std::string executable;
};

class ExecutablePathTest : public testing::TestWithParam<ExecutableCase>
{
};

TEST_P(ExecutablePathTest, JoinsInstallPathAndEntry)
{
    EXPECT_EQ(ExecutablePath(GetParam().installPath, GetParam().entry), GetParam().executable);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExecutablePathTest,
    testing::Values(ExecutableCase{"EntryWithSeparator", "C:\\Games\\CoD4", "\\iw3mp.exe",
                                   "C:\\Games\\CoD4\\iw3mp.exe"},
                    ExecutableCase{"EntryWithSeparatorAfterTrailingOneKeepsBoth", "C:\\Games\\CoD4\\",
                                   "\\iw3mp.exe", "C:\\Games\\CoD4\\\\iw3mp.exe"},
                    ExecutableCase{"BareEntryGetsOneSeparator", "C:\\Games\\CoD2", "cod2mp_s.exe",
                                   "C:\\Games\\CoD2\\cod2mp_s.exe"},
                    ExecutableCase{"BareEntryAfterTrailingBackslash", "C:\\Games\\CoD2\\", "cod2mp_s.exe",
                                   "C:\\Games\\CoD2\\cod2mp_s.exe"},
                    ExecutableCase{"BareEntryAfterTrailingSlash", "C:/Games/CoD2/", "cod2mp_s.exe",
                                   "C:/Games/CoD2/cod2mp_s.exe"},
                    ExecutableCase{"BareEntryAfterDriveRoot", "C:\\", "cod2mp_s.exe", "C:\\cod2mp_s.exe"}),
    [](const testing::TestParamInfo<ExecutableCase>& info) { return std::string(info.param.name); });

TEST(ExecutablePathTest, EveryGameOfTheTableGetsExactlyOneSeparator)
{
    for (const GameInfo& game : GameTable()) {
        const std::string path = ExecutablePath("C:\\Games\\X", game.ExecutableEntry);
        std::string entry(game.ExecutableEntry);
        if (entry.front() == '\\')
            entry.erase(0, 1);
        EXPECT_EQ(path, "C:\\Games\\X\\" + entry) << game.GameCaption;
    }
}

struct ParametersCase
{
    const char* name;
    std::string host;
    std::string port;
    std::string parameters;
};

class ConnectParametersTest : public testing::TestWithParam<ParametersCase>
{
};

TEST_P(ConnectParametersTest, IsSpacePlusConnectSpaceHostColonPort)
{
    EXPECT_EQ(ConnectParameters(GetParam().host, GetParam().port), GetParam().parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConnectParametersTest,
    testing::Values(ParametersCase{"AddressAndPort", "10.0.0.7", "28960", " +connect 10.0.0.7:28960"},
                    ParametersCase{"NameKeptAsItIs", " cod.example.cz ", "x", " +connect  cod.example.cz :x"},
                    ParametersCase{"EmptyHostAndPort", "", "", " +connect :"}),
    [](const testing::TestParamInfo<ParametersCase>& info) { return std::string(info.param.name); });

TEST(NotInstalledMessageTest, NamesTheGameAndHasOneLineFeed)
{
    const QString message = NotInstalledMessage("CoD2");
    EXPECT_EQ(message.toStdString(), "Nenalezena informace o hře (CoD2) v registrech.\n"
                                     "Ke spuštění hry musí obsahovat registry informaci o její instalaci.");
}

} // namespace
} // namespace zorvek
