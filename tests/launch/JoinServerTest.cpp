#include "launch/ServerJoiner.h"

#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/GameTable.h"
#include "launch/BrowserPath.h"
#include "launch/JoinCommand.h"
#include "launch/WineLauncher.h"
#include "registry/WineRegistryBackend.h"
#include "registry/cRegistry.h"
#include "support/CountingLauncher.h"
#include "support/RecordingPrograms.h"
#include "support/TestWinePrefix.h"

namespace zorvek {
namespace {

using fixtures::CountingLauncher;
using fixtures::ProgramRecord;
using fixtures::RecordingPrograms;
using fixtures::TestWinePrefix;

const QString kWine = QStringLiteral("wine");
const QString kXdgOpen = QStringLiteral("xdg-open");

// A Wine prefix with its registry, recording wine and xdg-open first on PATH, and the
// joiner wired to them as the program wires its own.
class JoinServerTest : public ::testing::Test
{
protected:
    JoinServerTest()
        : m_wineLauncher(m_prefix.path()), m_launcher(m_wineLauncher),
          m_registry(std::make_shared<WineRegistryBackend>(m_prefix.path().toStdString())),
          m_joiner(m_registry, m_launcher)
    {
        m_programs.add(kWine);
        m_xdgOpen = m_programs.add(kXdgOpen);
        m_joiner.SetBrowserPath(m_xdgOpen.toStdString());
    }

    void install(const std::string& key, const std::string& installPath, const QString& folder)
    {
        m_prefix.setMachineText(key, "InstallPath", installPath);
        if (!folder.isEmpty())
            m_prefix.makeFolder(folder);
    }

    static JoinRequest gameServer(int gameIndex, std::string host = "10.0.0.7", std::string port = "28960")
    {
        return JoinRequest{gameIndex, std::move(host), std::move(port), "EXE:", true};
    }

    static JoinRequest linkEntry(std::string link)
    {
        return JoinRequest{2, "web.example.cz", "80", std::move(link), false};
    }

    TestWinePrefix m_prefix;
    RecordingPrograms m_programs;
    QString m_xdgOpen;
    WineLauncher m_wineLauncher;
    CountingLauncher m_launcher;
    cRegistry m_registry;
    ServerJoiner m_joiner;
    QTemporaryDir m_scratch;
};

TEST_F(JoinServerTest, Cod4StartsItsClientThroughWineInTheInstallFolder)
{
    install("Software\\Activision\\Call of Duty 4", "C:\\Games\\CoD4", QStringLiteral("Games/CoD4"));
    ASSERT_TRUE(m_prefix.writeRegistry());

    const JoinResult result = m_joiner.JoinServer(gameServer(2, "10.0.0.7", "28960"));
    EXPECT_EQ(result.outcome, JoinOutcome::ClientStarted);
    EXPECT_TRUE(result.message.isEmpty());

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kWine);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments,
              (QStringList{QStringLiteral("C:\\Games\\CoD4\\iw3mp.exe"), QStringLiteral("+connect"),
                           QStringLiteral("10.0.0.7:28960")}));
    EXPECT_EQ(records[0].workingDirectory, m_prefix.driveC() + QStringLiteral("/Games/CoD4"));
    EXPECT_TRUE(records[0].winePrefixSet);
    EXPECT_EQ(records[0].winePrefix, m_prefix.path());
    EXPECT_TRUE(m_programs.records(kXdgOpen).empty());
}

struct ClientCase
{
    const char* name;
    int gameIndex;
    const char* registryKey; // as the installer writes it (the registry ignores case)
    const char* installPath;
    const char* folder; // below drive C
    const char* executable;
};

class JoinClientTest : public JoinServerTest, public ::testing::WithParamInterface<ClientCase>
{
};

TEST_P(JoinClientTest, StartsTheGamesExecutableInItsFolder)
{
    const ClientCase& c = GetParam();
    install(c.registryKey, c.installPath, QString::fromUtf8(c.folder));
    ASSERT_TRUE(m_prefix.writeRegistry());

    EXPECT_EQ(m_joiner.JoinServer(gameServer(c.gameIndex, "cod.example.cz", "20500")).outcome,
              JoinOutcome::ClientStarted);

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kWine);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, (QStringList{QString::fromUtf8(c.executable), QStringLiteral("+connect"),
                                                 QStringLiteral("cod.example.cz:20500")}));
    EXPECT_EQ(records[0].workingDirectory, m_prefix.driveC() + u'/' + QString::fromUtf8(c.folder));
}

INSTANTIATE_TEST_SUITE_P(
    Games, JoinClientTest,
    testing::Values(ClientCase{"WorldAtWar", 1, "SOFTWARE\\Activision\\Call of Duty WAW", "C:\\Games\\WaW",
                               "Games/WaW", "C:\\Games\\WaW\\CoDWaWmp.exe"},
                    ClientCase{"UnitedOffensive", 3, "Software\\Activision\\Call of Duty United Offensive",
                               "C:\\Program Files\\CoD UO", "Program Files/CoD UO",
                               "C:\\Program Files\\CoD UO\\CoDUOMP.exe"},
                    ClientCase{"CallOfDuty", 4, "Software\\Activision\\Call of Duty", "C:\\Games\\CoD",
                               "Games/CoD", "C:\\Games\\CoD\\CoDMP.exe"},
                    ClientCase{"CallOfDuty2WithoutTrailingSeparator", 5,
                               "Software\\Activision\\Call of Duty 2", "C:\\Games\\CoD2", "Games/CoD2",
                               "C:\\Games\\CoD2\\cod2mp_s.exe"},
                    ClientCase{"CallOfDuty2WithTrailingSeparator", 5, "Software\\Activision\\Call of Duty 2",
                               "C:\\Games\\CoD2\\", "Games/CoD2", "C:\\Games\\CoD2\\cod2mp_s.exe"},
                    ClientCase{"EntryWithItsOwnSeparatorIsAppendedUnchanged", 2,
                               "Software\\Activision\\Call of Duty 4", "C:\\Games\\CoD4\\", "Games/CoD4",
                               "C:\\Games\\CoD4\\\\iw3mp.exe"}),
    [](const testing::TestParamInfo<ClientCase>& info) { return std::string(info.param.name); });

TEST_F(JoinServerTest, LinkEntryOpensTheLinkWithNoGameInstalledAndLeavesTheRegistryAlone)
{
    ASSERT_TRUE(m_prefix.writeRegistry());
    m_registry.SetClassKey(reg::kHkeyClassesRoot);
    m_registry.SetSectionKey("HTTP\\shell\\open\\command");
    m_registry.SetValueKey("");
    m_registry.SetValueType(static_cast<std::int32_t>(reg::kRegDword));

    const JoinResult result = m_joiner.JoinServer(linkEntry("http://www.example.cz/turnaj?a=1&b=2"));
    EXPECT_EQ(result.outcome, JoinOutcome::LinkOpened);
    EXPECT_TRUE(result.message.isEmpty());

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kXdgOpen);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{QStringLiteral("http://www.example.cz/turnaj?a=1&b=2")});
    EXPECT_TRUE(m_programs.records(kWine).empty());
    EXPECT_EQ(m_registry.ClassKey(), reg::kHkeyClassesRoot);
    EXPECT_EQ(m_registry.SectionKey(), "HTTP\\shell\\open\\command");
    EXPECT_EQ(m_registry.ValueKey(), "");
    EXPECT_EQ(m_registry.ValueType(), static_cast<std::int32_t>(reg::kRegDword));
}

TEST_F(JoinServerTest, MissingKeyOfTab4GivesTheMessageNamingCoD1)
{
    install("Software\\Activision\\Call of Duty 4", "C:\\Games\\CoD4", QStringLiteral("Games/CoD4"));
    ASSERT_TRUE(m_prefix.writeRegistry());

    const JoinResult result = m_joiner.JoinServer(gameServer(4));
    EXPECT_EQ(result.outcome, JoinOutcome::NotInstalled);
    EXPECT_EQ(result.message.toStdString(),
              "Nenalezena informace o hře (CoD1) v registrech.\n"
              "Ke spuštění hry musí obsahovat registry informaci o její instalaci.");
    EXPECT_EQ(result.message.count(u'\n'), 1);
    EXPECT_FALSE(result.message.contains(u'\r'));
    EXPECT_EQ(m_launcher.starts, 0);
}

struct MissingCase
{
    const char* name;
    int gameIndex;
    const char* caption;
    bool keyPresent;
    bool valuePresent; // an empty "InstallPath" when present
};

class NotInstalledTest : public JoinServerTest, public ::testing::WithParamInterface<MissingCase>
{
};

TEST_P(NotInstalledTest, GivesTheMessageAndStartsNothing)
{
    const MissingCase& c = GetParam();
    const std::string key(Game(c.gameIndex).RegistryKey);
    if (c.valuePresent)
        m_prefix.setMachineText(key, "InstallPath", "");
    else if (c.keyPresent)
        m_prefix.setMachineText(key, "Version", "1.0");
    ASSERT_TRUE(m_prefix.writeRegistry());

    const JoinResult result = m_joiner.JoinServer(gameServer(c.gameIndex));
    EXPECT_EQ(result.outcome, JoinOutcome::NotInstalled);
    EXPECT_EQ(result.message, NotInstalledMessage(c.caption));
    EXPECT_TRUE(
        result.message.contains(QStringLiteral("(") + QString::fromUtf8(c.caption) + QStringLiteral(")")));
    EXPECT_EQ(m_launcher.starts, 0);
}

INSTANTIATE_TEST_SUITE_P(Registry, NotInstalledTest,
                         testing::Values(MissingCase{"NoKey", 2, "CoD4:MW", false, false},
                                         MissingCase{"KeyWithoutInstallPath", 1, "CoD:WaW", true, false},
                                         MissingCase{"EmptyInstallPath", 4, "CoD1", true, true},
                                         MissingCase{"EmptyInstallPathOfTab5", 5, "CoD2", true, true}),
                         [](const testing::TestParamInfo<MissingCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(JoinServerTest, EverySelectorIsSetBeforeTheRead)
{
    install("Software\\Activision\\Call of Duty 4", "C:\\Games\\CoD4", QStringLiteral("Games/CoD4"));
    ASSERT_TRUE(m_prefix.writeRegistry());
    // What the browser lookup leaves behind on the shared instance.
    m_registry.SetClassKey(reg::kHkeyClassesRoot);
    m_registry.SetSectionKey("HTTP\\shell\\open\\command");
    m_registry.SetValueKey("");
    m_registry.SetValueType(static_cast<std::int32_t>(reg::kRegBinary));

    EXPECT_EQ(m_joiner.JoinServer(gameServer(2)).outcome, JoinOutcome::ClientStarted);
    EXPECT_EQ(m_registry.ClassKey(), reg::kHkeyLocalMachine);
    EXPECT_EQ(m_registry.SectionKey(), "SOFTWARE\\Activision\\Call of Duty 4");
    EXPECT_EQ(m_registry.ValueKey(), "InstallPath");
    EXPECT_EQ(m_registry.ValueType(), static_cast<std::int32_t>(reg::kRegSz));
    EXPECT_EQ(m_programs.waitForRecords(kWine).size(), 1u);
}

TEST_F(JoinServerTest, DefaultLeftOnTheSharedInstanceIsNoInstallPath)
{
    ASSERT_TRUE(m_prefix.writeRegistry());
    m_registry.SetDefault(std::string("C:\\Games\\Stale"));

    const JoinResult result = m_joiner.JoinServer(gameServer(2));
    EXPECT_EQ(result.outcome, JoinOutcome::NotInstalled);
    EXPECT_EQ(result.message, NotInstalledMessage("CoD4:MW"));
    EXPECT_EQ(m_registry.Default(), RegistryValue());
    EXPECT_EQ(m_launcher.starts, 0);
}

TEST_F(JoinServerTest, HostWithShellMetacharactersIsOnePlainArgument)
{
    install("Software\\Activision\\Call of Duty 4", "C:\\Games\\CoD4", QStringLiteral("Games/CoD4"));
    ASSERT_TRUE(m_prefix.writeRegistry());
    const std::string dir = m_scratch.path().toStdString();
    const std::string host =
        "a;touch${IFS}" + dir + "/x`touch${IFS}" + dir + "/y`$(touch${IFS}" + dir + "/z)|id>" + dir + "/w&id";

    EXPECT_EQ(m_joiner.JoinServer(gameServer(2, host, "28960")).outcome, JoinOutcome::ClientStarted);

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kWine);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments,
              (QStringList{QStringLiteral("C:\\Games\\CoD4\\iw3mp.exe"), QStringLiteral("+connect"),
                           QString::fromStdString(host + ":28960")}));
    EXPECT_TRUE(QDir(m_scratch.path()).isEmpty());
}

TEST_F(JoinServerTest, HostWithABlankSplitsByTheWindowsRulesAndRunsNothing)
{
    install("Software\\Activision\\Call of Duty 4", "C:\\Games\\CoD4", QStringLiteral("Games/CoD4"));
    ASSERT_TRUE(m_prefix.writeRegistry());
    const std::string dir = m_scratch.path().toStdString();
    const std::string host = "a;touch " + dir + "/x`touch " + dir + "/y`$(touch " + dir + "/z)";

    EXPECT_EQ(m_joiner.JoinServer(gameServer(2, host, "28960")).outcome, JoinOutcome::ClientStarted);

    // The client sees the same words it would see on Windows: the parameter text is
    // split at blanks and nothing in it is run.
    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kWine);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(
        records[0].arguments,
        (QStringList{QStringLiteral("C:\\Games\\CoD4\\iw3mp.exe"), QStringLiteral("+connect"),
                     QStringLiteral("a;touch"), QString::fromStdString(dir + "/x`touch"),
                     QString::fromStdString(dir + "/y`$(touch"), QString::fromStdString(dir + "/z):28960")}));
    EXPECT_TRUE(QDir(m_scratch.path()).isEmpty());
}

TEST_F(JoinServerTest, EmptyBrowserPathStartsNothingAndDoesNotFail)
{
    ASSERT_TRUE(m_prefix.writeRegistry());
    m_joiner.SetBrowserPath({});

    const JoinResult result = m_joiner.JoinServer(linkEntry("http://www.example.cz/"));
    EXPECT_EQ(result.outcome, JoinOutcome::LinkNotOpened);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_FALSE(m_joiner.OpenLink("http://www.example.cz/poster"));
    EXPECT_EQ(m_launcher.starts, 0);
}

TEST_F(JoinServerTest, BrowserThatDoesNotStartFailsQuietly)
{
    ASSERT_TRUE(m_prefix.writeRegistry());
    m_joiner.SetBrowserPath(QDir(m_scratch.path()).filePath(QStringLiteral("gone/browser")).toStdString());

    EXPECT_EQ(m_joiner.JoinServer(linkEntry("http://www.example.cz/")).outcome, JoinOutcome::LinkNotOpened);
    EXPECT_EQ(m_launcher.starts, 1);
}

TEST_F(JoinServerTest, PosterLinkOpensInTheBrowserAsItsOnlyArgument)
{
    EXPECT_TRUE(m_joiner.OpenLink("http://www.example.cz/info page"));

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kXdgOpen);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{QStringLiteral("http://www.example.cz/info page")});
}

struct LinkCase
{
    const char* name;
    const char* link;
    const char* address; // what reaches the opener; null: nothing is started
};

class LinkTextTest : public JoinServerTest, public ::testing::WithParamInterface<LinkCase>
{
};

TEST_P(LinkTextTest, OnlyWebAddressesReachTheOpenerAsOneArgument)
{
    const LinkCase& c = GetParam();
    // A link entry of a list and the poster's link of the info file take the same road.
    const JoinResult result = m_joiner.JoinServer(linkEntry(c.link));
    const bool posterOpened = m_joiner.OpenLink(c.link);
    EXPECT_TRUE(result.message.isEmpty());
    if (!c.address) {
        EXPECT_EQ(result.outcome, JoinOutcome::LinkNotOpened);
        EXPECT_FALSE(posterOpened);
        EXPECT_EQ(m_launcher.starts, 0);
        return;
    }
    EXPECT_EQ(result.outcome, JoinOutcome::LinkOpened);
    EXPECT_TRUE(posterOpened);
    const std::vector<ProgramRecord> records = m_programs.waitForRecords(kXdgOpen, 2);
    ASSERT_EQ(records.size(), 2u);
    for (const ProgramRecord& record : records)
        EXPECT_EQ(record.arguments, QStringList{QString::fromUtf8(c.address)});
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkTextTest,
    testing::Values(
        LinkCase{"HttpAsItStands", "http://www.klan.cz/turnaj?a=1&b=2", "http://www.klan.cz/turnaj?a=1&b=2"},
        LinkCase{"HttpsAsItStands", "https://klan.cz/", "https://klan.cz/"},
        LinkCase{"SchemeInCapitalsWrittenLower", "HTTP://WWW.KLAN.CZ/Forum", "http://WWW.KLAN.CZ/Forum"},
        LinkCase{"MixedCaseHttps", "HtTpS://klan.cz", "https://klan.cz"},
        LinkCase{"WwwGetsHttp", "www.klan.cz", "http://www.klan.cz"},
        LinkCase{"WwwInCapitals", "WWW.Klan.cz/turnaj", "http://WWW.Klan.cz/turnaj"},
        LinkCase{"BlanksAroundAreDropped", " \t http://klan.cz/ \r\n", "http://klan.cz/"},
        LinkCase{"BlanksAroundWww", "  www.klan.cz  ", "http://www.klan.cz"},
        LinkCase{"BlanksAndQuotesInsideStayOneArgument", "http://klan.cz/a b\"c' d",
                 "http://klan.cz/a b\"c' d"},
        LinkCase{"ShellTextInsideIsPlainText", "http://klan.cz/$(id)`id`;id|id",
                 "http://klan.cz/$(id)`id`;id|id"},
        LinkCase{"BareHostName", "klan.cz", nullptr}, LinkCase{"LocalFile", "file:///etc/passwd", nullptr},
        LinkCase{"LocalFileInCapitals", "FILE:///etc/passwd", nullptr},
        LinkCase{"SteamScheme", "steam://run/1", nullptr},
        LinkCase{"Javascript", "javascript:alert(1)", nullptr},
        LinkCase{"OtherWebLikeScheme", "ftp://klan.cz/", nullptr},
        LinkCase{"SchemeLookalike", "httpx://klan.cz/", nullptr},
        LinkCase{"SchemeWithoutSlashes", "http:klan.cz", nullptr},
        LinkCase{"SchemeAlone", "http://", nullptr}, LinkCase{"WwwAlone", " www. ", nullptr},
        LinkCase{"WwwWithoutDot", "wwwklan.cz", nullptr}, LinkCase{"ShortOption", "-h", nullptr},
        LinkCase{"LongOption", "--help", nullptr}, LinkCase{"AbsolutePath", "/usr/bin/xterm", nullptr},
        LinkCase{"RelativePath", "levelshots/cod4", nullptr}, LinkCase{"Empty", "", nullptr},
        LinkCase{"OnlyBlanks", " \t ", nullptr}, LinkCase{"QuotedAddress", "\"http://klan.cz/\"", nullptr}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST(JoinServerWithoutWineTest, InstalledGameWithoutWineStartsNothingAndSaysNothing)
{
    TestWinePrefix prefix;
    prefix.setMachineText("Software\\Activision\\Call of Duty 4", "InstallPath", "C:\\Games\\CoD4");
    prefix.makeFolder(QStringLiteral("Games/CoD4"));
    ASSERT_TRUE(prefix.writeRegistry());
    RecordingPrograms programs(RecordingPrograms::Path::Only);
    WineLauncher launcher(prefix.path());
    cRegistry registry(std::make_shared<WineRegistryBackend>(prefix.path().toStdString()));
    ServerJoiner joiner(registry, launcher);

    const JoinResult result = joiner.JoinServer(JoinRequest{2, "10.0.0.7", "28960", "EXE:", true});
    EXPECT_EQ(result.outcome, JoinOutcome::ClientNotStarted);
    EXPECT_TRUE(result.message.isEmpty());
}

TEST(BrowserLookupTest, ReadsTheBrowserCommandOfTheWinePrefix)
{
    TestWinePrefix prefix;
    prefix.setMachineText("Software\\Classes\\http\\shell\\open\\command", "",
                          "\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"");
    ASSERT_TRUE(prefix.writeRegistry());
    cRegistry registry(std::make_shared<WineRegistryBackend>(prefix.path().toStdString()));

    const std::string command = ReadBrowserCommand(registry);
    EXPECT_EQ(command, "\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"");
    EXPECT_EQ(BrowserPathFromCommand(command), "C:\\windows\\system32\\winebrowser.exe");
    EXPECT_EQ(registry.ClassKey(), reg::kHkeyClassesRoot);
}

TEST(BrowserLookupTest, MissingBrowserCommandReadsEmpty)
{
    TestWinePrefix prefix;
    ASSERT_TRUE(prefix.writeRegistry());
    cRegistry registry(std::make_shared<WineRegistryBackend>(prefix.path().toStdString()));
    EXPECT_EQ(ReadBrowserCommand(registry), "");
}

TEST(BrowserLookupTest, DefaultLeftOnTheSharedInstanceIsNoCommand)
{
    TestWinePrefix prefix;
    ASSERT_TRUE(prefix.writeRegistry());
    cRegistry registry(std::make_shared<WineRegistryBackend>(prefix.path().toStdString()));
    registry.SetDefault(std::string("\"C:\\stale.exe\" \"%1\""));
    EXPECT_EQ(ReadBrowserCommand(registry), "");
}

TEST(BrowserLookupTest, FindsXdgOpenOnPath)
{
    TestWinePrefix prefix;
    cRegistry registry(std::make_shared<WineRegistryBackend>(prefix.path().toStdString()));
    RecordingPrograms programs(RecordingPrograms::Path::Only);
    EXPECT_EQ(FindBrowserPath(registry), "");
    const QString xdgOpen = programs.add(kXdgOpen);
    EXPECT_EQ(FindBrowserPath(registry), xdgOpen.toStdString());
}

} // namespace
} // namespace zorvek
