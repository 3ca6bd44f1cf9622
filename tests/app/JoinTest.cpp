// Joining from the server list and its keys and clicks, with recording programs for
// wine and xdg-open, a Wine prefix and a home folder of the test's own.
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTreeWidget>

#include "common/GameTable.h"
#include "launch/WineLauncher.h"
#include "registry/WineRegistryBackend.h"
#include "sample-host/ServerProfile.h"
#include "support/Controls.h"
#include "support/CountingLauncher.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingPrograms.h"
#include "support/TestGameHome.h"
#include "support/TestWinePrefix.h"

namespace zorvek::test {
namespace {

using fixtures::CountingLauncher;
using fixtures::RecordingPrograms;
using fixtures::TestGameHome;
using fixtures::TestWinePrefix;

class JoinTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        programs.add(QStringLiteral("wine"));
        xdgOpen = programs.add(QStringLiteral("xdg-open"));
        installFolder = prefix.makeFolder(QStringLiteral("Games/CoD4"));
        prefix.setMachineText("SOFTWARE\\Activision\\Call of Duty 4", "InstallPath", "C:\\Games\\CoD4");
        ASSERT_TRUE(prefix.writeRegistry());
        wineLauncher = std::make_unique<WineLauncher>(prefix.path());
        launcher = std::make_shared<CountingLauncher>(*wineLauncher);
    }

    // The window shares the launcher, which uses this fixture's Wine launcher.
    void TearDown() override { window.reset(); }

    frmMain::Options options() const
    {
        frmMain::Options o = MainWindowFixture::options();
        o.registryBackend = std::make_shared<WineRegistryBackend>(prefix.path().toStdString());
        o.launcher = launcher;
        o.searchHome = gameHome.path();
        return o;
    }

    // Six CoD4 servers (the fifth silent) and the window on CoD4 with its replies in.
    void startOnCod4()
    {
        std::vector<EmulatedGameServer*> list;
        for (int i = 0; i < 6; ++i) {
            ServerProfile p;
            p.silent = i == 4;
            list.push_back(addServer(p));
        }
        serveGame(2, list);
        window = std::make_unique<frmMain>(options());
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        tabGames(*window)->setCurrentIndex(1);
        ASSERT_TRUE(waitForReplies({1, 2, 3, 4, 6}));
    }

    void select(int row)
    {
        listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(row - 1));
    }
    QPoint rowCentre(int row) const
    {
        return listServers(*window)->visualItemRect(listServers(*window)->topLevelItem(row - 1)).center();
    }
    QString address(int slot) const { return QStringLiteral("127.0.0.1:%1").arg(servers[slot - 1]->port()); }

    RecordingPrograms programs;
    TestWinePrefix prefix;
    TestGameHome gameHome; // where a join looks after the prefix: empty unless a test fills it
    QString xdgOpen;
    QString installFolder;
    std::unique_ptr<WineLauncher> wineLauncher;
    std::shared_ptr<CountingLauncher> launcher;
};

TEST_F(JoinTest, StartUpFindsTheBrowserOnPath)
{
    startOnCod4();
    EXPECT_EQ(QString::fromStdString(window->browserPath()), xdgOpen);
}

TEST_F(JoinTest, DoubleClickOnAnAnsweredServerStartsTheClientConnectedToIt)
{
    startOnCod4();
    select(3);
    listPlayers(*window)->addTopLevelItem(new QTreeWidgetItem({"stale"}));
    window->listServers_DblClick();
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(editServerIP(*window)->text(), address(3));
    const auto records = programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, (QStringList{"C:\\Games\\CoD4\\iw3mp.exe", "+connect", address(3)}));
    EXPECT_EQ(records[0].workingDirectory, installFolder);
    EXPECT_EQ(records[0].winePrefix, prefix.path());
}

TEST_F(JoinTest, DoubleClickBeforeAReplyStartsNothing)
{
    startOnCod4();
    select(5); // the silent server
    window->listServers_DblClick();
    EXPECT_EQ(editServerIP(*window)->text(), address(5));
    EXPECT_EQ(launcher->starts, 0);

    // A real double-click re-queries with its first click: no reply yet, no join.
    // The sequence of a real double-click: press, release, double-click, release.
    QWidget* viewport = listServers(*window)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(2));
    editServerIP(*window)->clear();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowCentre(2));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(editServerIP(*window)->text(), address(2));
    EXPECT_EQ(launcher->starts, 0);
}

struct ReleaseCase
{
    const char* name;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    bool joins;
};

class ReleaseTest : public JoinTest, public ::testing::WithParamInterface<ReleaseCase>
{
};

TEST_P(ReleaseTest, ReQueriesTheRowAndJoinsOnlyWithShiftAlone)
{
    const ReleaseCase& c = GetParam();
    startOnCod4();
    servers[1]->clearReceived();
    listPlayers(*window)->addTopLevelItem(new QTreeWidgetItem({"stale"}));
    QTest::mouseClick(listServers(*window)->viewport(), c.button, c.modifiers, rowCentre(2));
    EXPECT_EQ(window->selectedServer(), 2);
    EXPECT_EQ(editServerIP(*window)->text(), address(2));
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(150, 80));
    ASSERT_TRUE(waitFor([&] { return servers[1]->statusQueryCount() == 1; }));
    EXPECT_EQ(launcher->starts, c.joins ? 1 : 0);
    if (c.joins) {
        const auto records = programs.waitForRecords(QStringLiteral("wine"));
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].arguments.value(2), address(2));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ReleaseTest,
    ::testing::Values(
        ReleaseCase{"LeftPlain", Qt::LeftButton, Qt::NoModifier, false},
        ReleaseCase{"LeftShiftJoins", Qt::LeftButton, Qt::ShiftModifier, true},
        ReleaseCase{"RightShiftJoins", Qt::RightButton, Qt::ShiftModifier, true},
        ReleaseCase{"MiddlePlain", Qt::MiddleButton, Qt::NoModifier, false},
        ReleaseCase{"ShiftCtrlDoesNotJoin", Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, false},
        ReleaseCase{"ShiftAltDoesNotJoin", Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoinTest, ReleaseRewritesTheRowAndEmptiesThePlayers)
{
    startOnCod4();
    select(3);
    window->SendQueryOne(3);
    ASSERT_TRUE(waitForReplies({3}));
    ASSERT_GT(listPlayers(*window)->topLevelItemCount(), -1);
    listServers(*window)->topLevelItem(2)->setText(1, QStringLiteral("marker"));
    listPlayers(*window)->addTopLevelItem(new QTreeWidgetItem({"stale"}));
    QTest::mouseClick(listServers(*window)->viewport(), Qt::LeftButton, {}, rowCentre(3));
    // The row shows the values held when the button went up, written afresh.
    EXPECT_EQ(cell(3, 1), QStringLiteral("war"));
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 0);
}

TEST_F(JoinTest, ArrowKeysQueryTheNeighbourAndStopAtTheEnds)
{
    startOnCod4();
    for (auto& s : servers)
        s->clearReceived();
    select(5);
    QTest::keyClick(listServers(*window), Qt::Key_Down);
    EXPECT_EQ(editServerIP(*window)->text(), address(6));
    ASSERT_TRUE(waitFor([&] { return servers[5]->statusQueryCount() == 1; }));
    EXPECT_EQ(window->selectedServer(), 6);

    // Down on the last row and Up on the first re-query that row.
    QTest::keyClick(listServers(*window), Qt::Key_Down);
    EXPECT_EQ(window->selectedServer(), 6);
    ASSERT_TRUE(waitFor([&] { return servers[5]->statusQueryCount() == 2; }));
    select(1);
    QTest::keyClick(listServers(*window), Qt::Key_Up);
    EXPECT_EQ(window->selectedServer(), 1);
    EXPECT_EQ(editServerIP(*window)->text(), address(1));
    ASSERT_TRUE(waitFor([&] { return servers[0]->statusQueryCount() == 1; }));
    EXPECT_EQ(launcher->starts, 0);
}

TEST_F(JoinTest, ArrowKeysKeepThePlayersOfThePreviousServerUntilTheReply)
{
    startOnCod4();
    select(4);
    window->SendQueryOne(4);
    ASSERT_TRUE(waitForReplies({4}));
    const int players = listPlayers(*window)->topLevelItemCount();
    QTest::keyClick(listServers(*window), Qt::Key_Down); // to the silent server
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), players);
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(150, 80));
}

TEST_F(JoinTest, KeysAndClicksWithoutASelectedRowDoNothing)
{
    startOnCod4();
    listServers(*window)->clearSelection();
    listServers(*window)->setCurrentItem(nullptr);
    window->listServers_KeyDown(Qt::Key_Down);
    window->listServers_MouseUp(Qt::LeftButton, Qt::ShiftModifier);
    window->listServers_DblClick();
    EXPECT_TRUE(editServerIP(*window)->text().isEmpty());
    EXPECT_EQ(launcher->starts, 0);
}

TEST_F(JoinTest, ALinkEntryOpensInTheBrowserWithoutAnInstalledGame)
{
    host.setListText(1, record("Forum", "127.0.0.1", "9", "http://forum.example.cz/?a=1&b=2"));
    startOnCod4();
    tabGames(*window)->setCurrentIndex(0);
    select(1);
    window->listServers_MouseUp(Qt::LeftButton, Qt::ShiftModifier);
    const auto records = programs.waitForRecords(QStringLiteral("xdg-open"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{"http://forum.example.cz/?a=1&b=2"});
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(JoinTest, AGameWithoutInstallationGivesTheInfoMessage)
{
    EmulatedGameServer* server = addServer();
    serveGame(4, {server});
    startOnCod4();
    tabGames(*window)->setCurrentIndex(3);
    select(1);
    window->listServers_MouseUp(Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(boxes.shown().size(), 1);
    const auto& box = boxes.shown()[0];
    EXPECT_EQ(box.text,
              QString::fromUtf8("Nenalezena informace o hře (CoD1) v registrech.\n"
                                "Ke spuštění hry musí obsahovat registry informaci o její instalaci."));
    EXPECT_EQ(box.text.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(box.title, QStringLiteral("Info"));
    EXPECT_EQ(box.icon, QMessageBox::Information);
    EXPECT_EQ(launcher->starts, 0);
}

TEST_F(JoinTest, AGameInALutrisPrefixStartsInThatPrefix)
{
    // CoD2 is not in the window's Wine prefix but in the prefix of a Lutris game.
    EmulatedGameServer* server = addServer();
    serveGame(5, {server});
    ASSERT_TRUE(
        gameHome.addLutrisGame(QString::fromLatin1(TestGameHome::kLutrisGames) + QStringLiteral("/cod2.yml"),
                               QStringLiteral("Games/cod2"), {}));
    ASSERT_TRUE(gameHome.install(QStringLiteral("Games/cod2"), Game(5), "C:\\Games\\CoD2"));
    startOnCod4();
    tabGames(*window)->setCurrentIndex(4);
    ASSERT_TRUE(waitForReplies({1}));
    select(1);
    window->listServers_DblClick();

    const auto records = programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, (QStringList{"C:\\Games\\CoD2\\cod2mp_s.exe", "+connect",
                                                 QStringLiteral("127.0.0.1:%1").arg(server->port())}));
    EXPECT_EQ(records[0].winePrefix, gameHome.filePath(QStringLiteral("Games/cod2")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
} // namespace zorvek::test
