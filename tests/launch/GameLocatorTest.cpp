// Joining a game installed where Linux players install them: the default Wine prefix,
// Lutris prefixes, bottles of Bottles and Steam libraries, laid out in a scratch home
// with recording stand-ins for the system's wine, the runners' own wines and steam.
#include "launch/GameLocator.h"

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "common/GameTable.h"
#include "launch/ServerJoiner.h"
#include "launch/WineLauncher.h"
#include "registry/SystemRegistry.h"
#include "registry/WineRegistryBackend.h"
#include "registry/cRegistry.h"
#include "support/CountingLauncher.h"
#include "support/RecordingPrograms.h"
#include "support/ScopedVariable.h"
#include "support/TestGameHome.h"
#include "support/TestWinePrefix.h"

namespace zorvek {
namespace {

using fixtures::CountingLauncher;
using fixtures::ProgramRecord;
using fixtures::RecordingPrograms;
using fixtures::ScopedVariable;
using fixtures::TestGameHome;
using fixtures::TestWinePrefix;

const GameInfo& kCod4 = Game(2);
const QString kLutrisGames = QString::fromLatin1(TestGameHome::kLutrisGames);
const QString kLutrisRunners = QString::fromLatin1(TestGameHome::kLutrisRunners);
const QString kBottlesData = QString::fromLatin1(TestGameHome::kBottlesData);
const QString kFlatpakBottlesData = QString::fromLatin1(TestGameHome::kFlatpakBottlesData);

// The places of the tables, each with a CoD4 of its own.
enum class Place {
    HomeWine,
    Lutris,
    OldLutris,
    LutrisWithoutItsWine,
    LutrisWineNamedByAPath,
    Bottles,
    FlatpakBottles,
    BottleOfTheSystemWine,
    Steam,
};

// How the client of a place is started.
struct Start
{
    QString program;    // the record name of the recording program
    QString prefix;     // below the home; empty for steam
    QString installDir; // below drive C
};

// A scratch home with an empty ~/.wine, recording wine and steam on PATH, and the
// joiner wired as the program wires its own: the shared registry and the launcher on
// ~/.wine, the home searched after it.
class GameHomeTest : public ::testing::Test
{
protected:
    GameHomeTest()
        : m_wineLauncher(m_home.filePath(QStringLiteral(".wine"))), m_launcher(m_wineLauncher),
          m_registry(
              std::make_shared<WineRegistryBackend>(m_home.filePath(QStringLiteral(".wine")).toStdString())),
          m_joiner(m_registry, m_launcher, {}, m_home.path())
    {
        m_home.prefix(QStringLiteral(".wine")).writeRegistry();
        m_programs.add(QStringLiteral("wine"));
        m_programs.add(QStringLiteral("steam"));
        m_library = m_home.filePath(QStringLiteral("mnt/games/SteamLibrary"));
    }

    JoinResult joinCod4() { return m_joiner.JoinServer(JoinRequest{2, "10.0.0.7", "28960", "EXE:", true}); }

    bool installCod4(const QString& prefix, const QString& installDir)
    {
        return m_home.install(prefix, kCod4, "C:\\Games\\" + installDir.mid(6).toStdString());
    }

    // Lays out `place` with CoD4 installed in it; gives how its client starts.
    Start install(Place place)
    {
        auto lutris = [&](const QString& games, const QString& prefix, const QString& version) {
            EXPECT_TRUE(m_home.addLutrisGame(games + QStringLiteral("/call-of-duty-4-1700000000.yml"), prefix,
                                             version));
        };
        auto runnerWine = [&](const QString& wine, const QString& recordName) {
            EXPECT_TRUE(m_programs.addAt(m_home.filePath(wine + QStringLiteral("/bin/wine")), recordName));
        };
        Start start;
        switch (place) {
        case Place::HomeWine:
            start = {QStringLiteral("wine"), QStringLiteral(".wine"), QStringLiteral("Games/Home")};
            break;
        case Place::Lutris:
            lutris(kLutrisGames, QStringLiteral("Games/cod4"), QStringLiteral("lutris-7.2-2-x86_64"));
            runnerWine(kLutrisRunners + QStringLiteral("/lutris-7.2-2-x86_64"),
                       QStringLiteral("lutris-wine"));
            start = {QStringLiteral("lutris-wine"), QStringLiteral("Games/cod4"),
                     QStringLiteral("Games/Lutris")};
            break;
        case Place::OldLutris:
            lutris(QString::fromLatin1(TestGameHome::kOldLutrisGames), QStringLiteral("Games/cod4-old"),
                   QStringLiteral("lutris-6.0"));
            runnerWine(kLutrisRunners + QStringLiteral("/lutris-6.0"), QStringLiteral("old-lutris-wine"));
            start = {QStringLiteral("old-lutris-wine"), QStringLiteral("Games/cod4-old"),
                     QStringLiteral("Games/OldLutris")};
            break;
        case Place::LutrisWithoutItsWine:
            lutris(kLutrisGames, QStringLiteral("Games/cod4-gone"), QStringLiteral("lutris-gone"));
            start = {QStringLiteral("wine"), QStringLiteral("Games/cod4-gone"),
                     QStringLiteral("Games/NoWine")};
            break;
        case Place::LutrisWineNamedByAPath:
            // "../elsewhere" would lead out of the runners' folder to a wine that exists.
            lutris(kLutrisGames, QStringLiteral("Games/cod4-path"), QStringLiteral("../elsewhere"));
            EXPECT_TRUE(QDir().mkpath(m_home.filePath(kLutrisRunners)));
            runnerWine(QDir::cleanPath(kLutrisRunners + QStringLiteral("/../elsewhere")),
                       QStringLiteral("elsewhere-wine"));
            start = {QStringLiteral("wine"), QStringLiteral("Games/cod4-path"),
                     QStringLiteral("Games/ByPath")};
            break;
        case Place::Bottles: {
            const QString bottle =
                m_home.addBottle(kBottlesData, QStringLiteral("CoD4"), QStringLiteral("soda-7.0-9"));
            runnerWine(kBottlesData + QStringLiteral("/runners/soda-7.0-9"), QStringLiteral("bottles-wine"));
            start = {QStringLiteral("bottles-wine"), bottle, QStringLiteral("Games/Bottle")};
            break;
        }
        case Place::FlatpakBottles: {
            const QString bottle =
                m_home.addBottle(kFlatpakBottlesData, QStringLiteral("CoD4"), QStringLiteral("caffe-7.20"));
            runnerWine(kFlatpakBottlesData + QStringLiteral("/runners/caffe-7.20"),
                       QStringLiteral("flatpak-bottles-wine"));
            start = {QStringLiteral("flatpak-bottles-wine"), bottle, QStringLiteral("Games/FlatpakBottle")};
            break;
        }
        case Place::BottleOfTheSystemWine: {
            const QString bottle =
                m_home.addBottle(kBottlesData, QStringLiteral("System"), QStringLiteral("sys-wine-9.0"));
            start = {QStringLiteral("wine"), bottle, QStringLiteral("Games/SystemBottle")};
            break;
        }
        case Place::Steam:
            EXPECT_TRUE(m_home.addSteam({m_library}));
            EXPECT_TRUE(TestGameHome::addSteamApp(m_library, kCod4.SteamAppId));
            return {QStringLiteral("steam"), {}, {}};
        }
        EXPECT_TRUE(installCod4(start.prefix, start.installDir));
        return start;
    }

    // The one start of a join, as `start` says it should be.
    void expectStarted(const Start& start)
    {
        const std::vector<ProgramRecord> records = m_programs.waitForRecords(start.program);
        ASSERT_EQ(records.size(), 1u) << start.program.toStdString();
        EXPECT_EQ(m_launcher.starts, 1);
        if (start.program == QLatin1String("steam")) {
            EXPECT_EQ(records[0].arguments,
                      (QStringList{QStringLiteral("-applaunch"), QStringLiteral("7940"),
                                   QStringLiteral("+connect"), QStringLiteral("10.0.0.7:28960")}));
            return;
        }
        QString windowsDir = QStringLiteral("C:\\") + start.installDir;
        windowsDir.replace(u'/', u'\\');
        EXPECT_EQ(records[0].arguments,
                  (QStringList{windowsDir + QStringLiteral("\\iw3mp.exe"), QStringLiteral("+connect"),
                               QStringLiteral("10.0.0.7:28960")}));
        EXPECT_TRUE(records[0].winePrefixSet);
        EXPECT_EQ(records[0].winePrefix, m_home.filePath(start.prefix));
        EXPECT_EQ(records[0].workingDirectory,
                  m_home.prefix(start.prefix).driveC() + u'/' + start.installDir);
    }

    TestGameHome m_home;
    RecordingPrograms m_programs;
    WineLauncher m_wineLauncher;
    CountingLauncher m_launcher;
    cRegistry m_registry;
    ServerJoiner m_joiner;
    QString m_library; // Steam's second library
};

struct OrderCase
{
    const char* name;
    std::vector<Place> installedIn;
    Place winner;
};

class PlaceOrderTest : public GameHomeTest, public ::testing::WithParamInterface<OrderCase>
{
};

TEST_P(PlaceOrderTest, TheFirstPlaceWithTheGameStartsItsClient)
{
    Start winner;
    for (Place place : GetParam().installedIn) {
        const Start start = install(place);
        if (place == GetParam().winner)
            winner = start;
    }
    ASSERT_FALSE(winner.program.isEmpty());

    const JoinResult result = joinCod4();
    EXPECT_EQ(result.outcome, JoinOutcome::ClientStarted);
    EXPECT_TRUE(result.message.isEmpty());
    expectStarted(winner);
}

INSTANTIATE_TEST_SUITE_P(
    Places, PlaceOrderTest,
    testing::Values(
        OrderCase{"HomeWineBeforeAllOthers",
                  {Place::Steam, Place::Bottles, Place::Lutris, Place::HomeWine},
                  Place::HomeWine},
        OrderCase{
            "LutrisBeforeBottlesAndSteam", {Place::Steam, Place::Bottles, Place::Lutris}, Place::Lutris},
        OrderCase{"NewerLutrisFolderBeforeTheOlder", {Place::OldLutris, Place::Lutris}, Place::Lutris},
        OrderCase{"OlderLutrisFolder", {Place::Bottles, Place::OldLutris}, Place::OldLutris},
        OrderCase{"LutrisWithoutItsWineRunsTheSystemsInItsPrefix",
                  {Place::LutrisWithoutItsWine},
                  Place::LutrisWithoutItsWine},
        OrderCase{"LutrisWineNamedByAPathIsNotLookedFor",
                  {Place::LutrisWineNamedByAPath},
                  Place::LutrisWineNamedByAPath},
        OrderCase{"BottlesBeforeSteam", {Place::Steam, Place::Bottles}, Place::Bottles},
        OrderCase{"NativeBottlesBeforeFlatpak", {Place::FlatpakBottles, Place::Bottles}, Place::Bottles},
        OrderCase{"FlatpakBottlesBeforeSteam", {Place::Steam, Place::FlatpakBottles}, Place::FlatpakBottles},
        OrderCase{"BottleOfTheSystemWine", {Place::BottleOfTheSystemWine}, Place::BottleOfTheSystemWine},
        OrderCase{"SteamInItsSecondLibrary", {Place::Steam}, Place::Steam}),
    [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

bool MakePipe(const QString& path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A place that must be passed over: the game is also in Steam, which then starts it, or,
// where the row breaks Steam itself, nowhere.
class BrokenPlaceTest;

struct BrokenCase
{
    const char* name;
    std::function<void(BrokenPlaceTest&)> breakIt;
    bool steamStarts = true;
};

class BrokenPlaceTest : public GameHomeTest, public ::testing::WithParamInterface<BrokenCase>
{
public:
    using GameHomeTest::install;
    TestGameHome& home() { return m_home; }
    const QString& library() const { return m_library; }
    // A Lutris configuration of the prefix "Games/cod4" with CoD4 installed in it.
    void lutrisCod4() { install(Place::Lutris); }
    QString lutrisConfig() const { return kLutrisGames + QStringLiteral("/call-of-duty-4-1700000000.yml"); }
    QString lutrisRegistry() const { return m_home.filePath(QStringLiteral("Games/cod4/system.reg")); }
    QString bottleConfig() const
    {
        return m_home.filePath(kBottlesData + QStringLiteral("/bottles/CoD4/bottle.yml"));
    }
    QString libraryFolders() const
    {
        return m_home.filePath(QString::fromLatin1(TestGameHome::kSteam) +
                               QStringLiteral("/steamapps/libraryfolders.vdf"));
    }
};

TEST_P(BrokenPlaceTest, IsPassedOverQuietly)
{
    install(Place::Steam);
    GetParam().breakIt(*this);

    const JoinResult result = joinCod4();
    if (!GetParam().steamStarts) {
        EXPECT_EQ(result.outcome, JoinOutcome::NotInstalled);
        EXPECT_EQ(m_launcher.starts, 0);
        return;
    }
    EXPECT_EQ(result.outcome, JoinOutcome::ClientStarted);
    expectStarted({QStringLiteral("steam"), {}, {}});
}

void Truncate(const QString& path, const QByteArray& before)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    ASSERT_TRUE(text.contains(before));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.left(text.indexOf(before)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenPlaceTest,
    testing::Values(
        BrokenCase{"LutrisConfigCutInsideThePrefix",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       // A quoted prefix that does not close is no prefix, though the
                       // folder it begins to name has the game.
                       ASSERT_TRUE(t.home().writeFile(t.lutrisConfig(),
                                                      "game:\n  exe: x.exe\n  prefix: '" +
                                                          t.home().filePath("Games/cod4").toUtf8()));
                   }},
        BrokenCase{"LutrisConfigIsAPipe",
                   [](BrokenPlaceTest& t) {
                       ASSERT_TRUE(MakePipe(t.home().filePath(kLutrisGames + QStringLiteral("/a-pipe.yml"))));
                   }},
        BrokenCase{"LutrisConfigIsAFolder",
                   [](BrokenPlaceTest& t) {
                       ASSERT_TRUE(
                           QDir().mkpath(t.home().filePath(kLutrisGames + QStringLiteral("/a-folder.yml"))));
                   }},
        BrokenCase{"LutrisConfigOverTheSizeLimit",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       ASSERT_TRUE(t.home().writeFile(
                           t.lutrisConfig(),
                           TestGameHome::lutrisGameText(t.home().filePath("Games/cod4"), {}) + "#" +
                               QByteArray(2 << 20, 'x') + "\n"));
                   }},
        BrokenCase{"LutrisPrefixMissing",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       ASSERT_TRUE(t.home().writeFile(
                           t.lutrisConfig(),
                           TestGameHome::lutrisGameText(t.home().filePath("Games/gone"), {})));
                   }},
        BrokenCase{"LutrisPrefixRelative",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       ASSERT_TRUE(t.home().writeFile(t.lutrisConfig(), "game:\n  prefix: Games/cod4\n"));
                   }},
        BrokenCase{"LutrisRegistryIsJunk",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       ASSERT_TRUE(t.home().writeFile(QStringLiteral("Games/cod4/system.reg"),
                                                      QByteArray("\x00\xff[Software\\\\Activision\x01", 24)));
                   }},
        BrokenCase{"LutrisRegistryCutInsideTheValue",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       Truncate(t.lutrisRegistry(), "Lutris\"");
                   }},
        BrokenCase{"LutrisRegistryIsAPipe",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       ASSERT_TRUE(QFile::remove(t.lutrisRegistry()));
                       ASSERT_TRUE(MakePipe(t.lutrisRegistry()));
                   }},
        BrokenCase{"LutrisInstallPathNotAText",
                   [](BrokenPlaceTest& t) {
                       t.lutrisCod4();
                       ASSERT_TRUE(
                           t.home().writeFile(QStringLiteral("Games/cod4/system.reg"),
                                              "WINE REGISTRY Version 2\n\n[Software\\\\Activision\\\\Call of "
                                              "Duty 4] 1700000000\n\"InstallPath\"=dword:00000001\n"));
                   }},
        BrokenCase{"LutrisPrefixWithAnotherGame",
                   [](BrokenPlaceTest& t) {
                       ASSERT_TRUE(t.home().addLutrisGame(kLutrisGames + QStringLiteral("/cod2.yml"),
                                                          QStringLiteral("Games/cod2"), {}));
                       ASSERT_TRUE(
                           t.home().install(QStringLiteral("Games/cod2"), Game(5), "C:\\Games\\CoD2"));
                   }},
        BrokenCase{"BottleWithoutRunner",
                   [](BrokenPlaceTest& t) {
                       t.install(Place::Bottles);
                       ASSERT_TRUE(t.home().writeFile(t.bottleConfig().mid(t.home().path().size() + 1),
                                                      "Arch: win64\nName: CoD4\nPath: CoD4\n"));
                   }},
        BrokenCase{"BottleConfigIsAPipe",
                   [](BrokenPlaceTest& t) {
                       t.install(Place::Bottles);
                       ASSERT_TRUE(QFile::remove(t.bottleConfig()));
                       ASSERT_TRUE(MakePipe(t.bottleConfig()));
                   }},
        BrokenCase{"FolderWithoutBottleConfig",
                   [](BrokenPlaceTest& t) {
                       t.install(Place::Bottles);
                       ASSERT_TRUE(QFile::remove(t.bottleConfig()));
                   }},
        BrokenCase{"SteamListCutShort", [](BrokenPlaceTest& t) { Truncate(t.libraryFolders(), "\t}\n}\n"); },
                   false},
        BrokenCase{"SteamListIsAPipe",
                   [](BrokenPlaceTest& t) {
                       ASSERT_TRUE(QFile::remove(t.libraryFolders()));
                       ASSERT_TRUE(MakePipe(t.libraryFolders()));
                   },
                   false},
        BrokenCase{"SteamManifestIsAFolder",
                   [](BrokenPlaceTest& t) {
                       const QString manifest =
                           t.library() + QStringLiteral("/steamapps/appmanifest_7940.acf");
                       ASSERT_TRUE(QFile::remove(manifest));
                       ASSERT_TRUE(QDir().mkpath(manifest));
                   },
                   false}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST_F(GameHomeTest, FindsWhatWasInstalledSinceTheLastJoin)
{
    EXPECT_EQ(joinCod4().outcome, JoinOutcome::NotInstalled);

    // A Lutris prefix appears, its registry without the game yet.
    ASSERT_TRUE(
        m_home.addLutrisGame(kLutrisGames + QStringLiteral("/cod4.yml"), QStringLiteral("Games/cod4"), {}));
    ASSERT_TRUE(m_home.prefix(QStringLiteral("Games/cod4")).writeRegistry());
    EXPECT_EQ(joinCod4().outcome, JoinOutcome::NotInstalled);

    // The game is installed into it.
    ASSERT_TRUE(installCod4(QStringLiteral("Games/cod4"), QStringLiteral("Games/Later")));
    EXPECT_EQ(joinCod4().outcome, JoinOutcome::ClientStarted);
    expectStarted({QStringLiteral("wine"), QStringLiteral("Games/cod4"), QStringLiteral("Games/Later")});
}

TEST_F(GameHomeTest, AGameWithoutASteamEditionIsNotLookedForInSteam)
{
    install(Place::Steam);
    const GameInfo& unitedOffensive = Game(3);
    ASSERT_EQ(unitedOffensive.SteamAppId, 0u);
    ASSERT_TRUE(TestGameHome::addSteamApp(m_library, 0));

    const JoinResult result = m_joiner.JoinServer(JoinRequest{3, "10.0.0.7", "28960", "EXE:", true});
    EXPECT_EQ(result.outcome, JoinOutcome::NotInstalled);
    EXPECT_EQ(m_launcher.starts, 0);
}

TEST_F(GameHomeTest, SteamMissingFromPathStartsNothingAndSaysNothing)
{
    install(Place::Steam);
    RecordingPrograms onlyThese(RecordingPrograms::Path::Only);

    const JoinResult result = joinCod4();
    EXPECT_EQ(result.outcome, JoinOutcome::ClientNotStarted);
    EXPECT_TRUE(result.message.isEmpty());
}

struct SearchHomeCase
{
    const char* name;
    QByteArray winePrefix;
    QByteArray home;
    QString searchHome;
};

class SearchHomeForTest : public testing::TestWithParam<SearchHomeCase>
{
};

TEST_P(SearchHomeForTest, IsTheHomeUnlessWinePrefixNamesTheOnePrefix)
{
    EXPECT_EQ(SearchHomeFor(GetParam().winePrefix, GetParam().home), GetParam().searchHome);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, SearchHomeForTest,
    testing::Values(SearchHomeCase{"WinePrefixSet", "/games/cod", "/home/u", {}},
                    SearchHomeCase{"WinePrefixEmpty", "", "/home/u", QStringLiteral("/home/u")},
                    SearchHomeCase{"NoHome", "", "", {}}),
    [](const testing::TestParamInfo<SearchHomeCase>& info) { return std::string(info.param.name); });

// The program's own wiring from its environment: HOME with CoD4 in Lutris and Steam.
class SystemLookupTest : public ::testing::Test
{
protected:
    SystemLookupTest()
    {
        m_programs.add(QStringLiteral("wine"));
        m_programs.add(QStringLiteral("steam"));
        m_home.prefix(QStringLiteral(".wine")).writeRegistry();
        m_home.addLutrisGame(kLutrisGames + QStringLiteral("/cod4.yml"), QStringLiteral("Games/cod4"), {});
        m_home.install(QStringLiteral("Games/cod4"), kCod4, "C:\\Games\\CoD4");
        const QString library = m_home.filePath(QStringLiteral("mnt/SteamLibrary"));
        m_home.addSteam({library});
        TestGameHome::addSteamApp(library, kCod4.SteamAppId);
    }

    // Joins CoD4 as the program does, wired from the environment as it is now.
    JoinResult joinCod4()
    {
        cRegistry registry(MakeSystemRegistryBackend());
        const std::unique_ptr<ProcessLauncher> launcher = MakeSystemProcessLauncher();
        ServerJoiner joiner(registry, *launcher, {}, SystemSearchHome());
        return joiner.JoinServer(JoinRequest{2, "10.0.0.7", "28960", "EXE:", true});
    }

    TestGameHome m_home;
    RecordingPrograms m_programs;
    ScopedVariable m_homeVariable{"HOME", m_home.path().toLocal8Bit().constData()};
};

TEST_F(SystemLookupTest, WinePrefixSetLimitsTheLookupToIt)
{
    TestWinePrefix prefix;
    ASSERT_TRUE(prefix.writeRegistry());
    const ScopedVariable winePrefix("WINEPREFIX", prefix.path().toLocal8Bit().constData());
    EXPECT_EQ(joinCod4().outcome, JoinOutcome::NotInstalled);

    prefix.setMachineText(std::string(kCod4.RegistryKey), "InstallPath", "C:\\Games\\Mine");
    prefix.makeFolder(QStringLiteral("Games/Mine"));
    ASSERT_TRUE(prefix.writeRegistry());
    EXPECT_EQ(joinCod4().outcome, JoinOutcome::ClientStarted);
    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].winePrefix, prefix.path());
    EXPECT_EQ(records[0].arguments.value(0), QStringLiteral("C:\\Games\\Mine\\iw3mp.exe"));
}

TEST_F(SystemLookupTest, EmptyWinePrefixSearchesTheHome)
{
    const ScopedVariable winePrefix("WINEPREFIX", "");
    EXPECT_EQ(joinCod4().outcome, JoinOutcome::ClientStarted);
    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].winePrefix, m_home.filePath(QStringLiteral("Games/cod4")));
}

} // namespace
} // namespace zorvek
