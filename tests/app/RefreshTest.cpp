// The refresh cycle through the real sockets: queries, replies, rows, details, caption.
#include <algorithm>
#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTreeWidget>
#include <QUdpSocket>

#include "common/TextCodec.h"
#include "sample-host/ServerProfile.h"
#include "support/Controls.h"
#include "support/MainWindowFixture.h"

namespace zorvek::test {
namespace {

ServerProfile crashProfile(int players = 5)
{
    ServerProfile p;
    p.game = 2;
    p.gameType = "war";
    p.mapName = "mp_crash";
    p.maxClients = 24;
    p.friendlyFire = "2";
    p.killCam = "1";
    for (int i = 1; i <= players; ++i)
        p.players.append({"^" + QByteArray::number(i % 10) + "Hrac" + QByteArray::number(i), i * 10, 40 + i});
    return p;
}

class RefreshTest : public MainWindowFixture
{
protected:
    // Three CoD4 servers; the window starts on CoD4 with all three answered.
    void startOnCod4(std::vector<ServerProfile> profiles)
    {
        std::vector<EmulatedGameServer*> list;
        for (auto& p : profiles)
            list.push_back(addServer(p));
        serveGame(2, list);
        start();
        tabGames(*window)->setCurrentIndex(1);
        std::vector<int> indexes;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (!profiles[i].silent)
                indexes.push_back(static_cast<int>(i) + 1);
        ASSERT_TRUE(waitForReplies(indexes));
    }

    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < 6; ++c)
            cells << cell(r, c);
        return cells;
    }

    // Clears what the servers received, presses the refresh button and waits until each
    // server has its one query.
    bool refreshAndWaitForOneQueryEach()
    {
        for (auto& s : servers)
            s->clearReceived();
        window->cmdResponse_Click();
        return waitFor([&] {
            return std::all_of(servers.begin(), servers.end(),
                               [](const auto& s) { return s->statusQueryCount() == 1; });
        });
    }
};

TEST_F(RefreshTest, ARefreshSendsOneQueryPerServerEachFromItsOwnSocket)
{
    startOnCod4({crashProfile(), crashProfile(), crashProfile()});
    ASSERT_TRUE(refreshAndWaitForOneQueryEach());
    for (auto& s : servers) {
        ASSERT_EQ(s->received().size(), 1);
        const ReceivedDatagram& d = s->received().first();
        EXPECT_EQ(d.data, QByteArray("\xFF\xFF\xFF\xFFgetstatus"));
        EXPECT_EQ(d.data.size(), 13);
    }
    // Each slot's query comes from its own socket.
    EXPECT_NE(servers[0]->received().first().senderPort, servers[1]->received().first().senderPort);
    EXPECT_NE(servers[1]->received().first().senderPort, servers[2]->received().first().senderPort);
    EXPECT_EQ(cmdResponse(*window)->text(), QStringLiteral("Obnovit seznam"));
    EXPECT_TRUE(cmdResponse(*window)->isEnabled());
}

TEST_F(RefreshTest, ARefreshSendsTheQueriesInSlotOrder)
{
    // The order in which the queries reached the servers shows only in receive times that the
    // system takes (Linux): the time of reading would order nothing.
    if (!StampedUdpSocket::ReceiveTimesFromSystem())
        GTEST_SKIP() << "this system gives programs no receive times of datagrams";
    startOnCod4({crashProfile(), crashProfile(), crashProfile()});
    ASSERT_TRUE(refreshAndWaitForOneQueryEach());
    quint64 previous = 0;
    for (auto& s : servers) {
        EXPECT_GT(s->received().first().sequence, previous);
        previous = s->received().first().sequence;
    }
}

TEST_F(RefreshTest, AReplyFillsItsRow)
{
    startOnCod4({crashProfile(1), crashProfile(5), crashProfile(0)});
    EXPECT_EQ(row(2), (QStringList{"002 S2", "war", "mp_crash", "2", "1", "05 / 24"}));
    EXPECT_EQ(cell(1, 5), QStringLiteral("01 / 24"));
    EXPECT_EQ(cell(3, 5), QStringLiteral("00 / 24"));
    EXPECT_EQ(window->serverTable()[2].NumPlayers, 5);
    EXPECT_EQ(window->serverTable()[2].MaxClients, 24);
}

TEST_F(RefreshTest, DatagramOfTenBytesIsIgnoredAndElevenIsParsed)
{
    ServerProfile silent = crashProfile();
    silent.silent = true;
    startOnCod4({crashProfile(), silent, crashProfile()});
    EmulatedGameServer& second = *servers[1];
    second.setSilent(false);
    second.setRawReply(QByteArray("\xFF\xFF\xFF\xFFstatu", 10));
    window->SendQueryOne(2);
    ASSERT_TRUE(waitFor([&] { return second.statusQueryCount() >= 1; }));
    // Let the ten bytes arrive: a third server's reply comes after them on the loop.
    servers[2]->clearReceived();
    window->SendQueryOne(3);
    ASSERT_TRUE(waitForReplies({3}));
    EXPECT_FALSE(window->serverTable()[2].Replied);
    EXPECT_EQ(cell(2, 5), QStringLiteral("--"));

    second.setRawReply(QByteArray("\xFF\xFF\xFF\xFFstatusR", 11));
    window->SendQueryOne(2);
    ASSERT_TRUE(waitForReplies({2}));
    EXPECT_EQ(window->serverTable()[2].ReplyText.size(), 11u);
    EXPECT_EQ(cell(2, 5), QStringLiteral("00 / 00"));
}

TEST_F(RefreshTest, ARefreshWithoutReplyResetsARowOnceAndNotAgain)
{
    startOnCod4({crashProfile(), crashProfile(), crashProfile()});
    servers[1]->setSilent(true);
    window->cmdResponse_Click();
    EXPECT_EQ(row(2), (QStringList{"002 S2", "---", "---", "-", "-", "--"}));
    ASSERT_TRUE(waitForReplies({1, 3}));
    // A row already in reset form is not written again by the next refresh.
    listServers(*window)->topLevelItem(1)->setText(1, QStringLiteral("marker"));
    window->cmdResponse_Click();
    EXPECT_EQ(cell(2, 1), QStringLiteral("marker"));
    // Rows that had shown a reply are reset again.
    EXPECT_EQ(cell(1, 1), QStringLiteral("---"));
}

TEST_F(RefreshTest, SendQueryOneResetsTheValuesButLeavesTheRow)
{
    startOnCod4({crashProfile(), crashProfile(), crashProfile()});
    servers[0]->setSilent(true);
    window->SendQueryOne(1);
    EXPECT_FALSE(window->serverTable()[1].Replied);
    EXPECT_EQ(window->serverTable()[1].GameType, "---");
    EXPECT_EQ(window->serverTable()[1].NumPlayers, 0);
    EXPECT_EQ(row(1), (QStringList{"001 S1", "war", "mp_crash", "2", "1", "05 / 24"}));
}

TEST_F(RefreshTest, TabCaptionSumsThePlayers)
{
    startOnCod4({crashProfile(20), crashProfile(30), crashProfile(7)});
    EXPECT_EQ(window->totalPlayers(), 57);
    // The caption is written when the event loop next runs after the reply.
    EXPECT_TRUE(waitFor([&] { return tabGames(*window)->tabText(1) == QStringLiteral("CoD4:MW (57)"); }))
        << tabGames(*window)->tabText(1).toStdString();
}

TEST_F(RefreshTest, TabCaptionOfABurstOfRepliesShowsTheLatestTotal)
{
    startOnCod4({crashProfile(20), crashProfile(30), crashProfile(7)});
    ASSERT_TRUE(waitFor([&] { return tabGames(*window)->tabText(1) == QStringLiteral("CoD4:MW (57)"); }));
    // Replies handled one after another without the event loop running in between:
    // each total is kept at once, the caption takes the last one.
    window->sockCOD_DataArrival(1, BuildStatusResponse(crashProfile(1)));
    EXPECT_EQ(window->totalPlayers(), 38);
    window->sockCOD_DataArrival(2, BuildStatusResponse(crashProfile(2)));
    window->sockCOD_DataArrival(3, BuildStatusResponse(crashProfile(3)));
    EXPECT_EQ(window->totalPlayers(), 6);
    EXPECT_EQ(tabGames(*window)->tabText(1), QStringLiteral("CoD4:MW (57)"));
    QCoreApplication::processEvents();
    EXPECT_EQ(tabGames(*window)->tabText(1), QStringLiteral("CoD4:MW (6)"));
    EXPECT_EQ(tabGames(*window)->tabText(0), QStringLiteral("CoD:WaW"));
}

TEST_F(RefreshTest, QueriesGoStraightToTheServersWhateverTheApplicationProxy)
{
    startOnCod4({crashProfile(1), crashProfile(2), crashProfile(3)});
    // A SOCKS proxy that accepts connections and never answers: a socket that used it
    // would never get its datagram out.
    QTcpServer proxy;
    ASSERT_TRUE(proxy.listen(QHostAddress::LocalHost));
    const bool systemProxies = QNetworkProxyFactory::usesSystemConfiguration();
    const QNetworkProxy previous = QNetworkProxy::applicationProxy();
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::Socks5Proxy, "127.0.0.1", proxy.serverPort()));
    for (auto& s : servers)
        s->clearReceived();
    window->cmdResponse_Click();
    const bool replied = waitForReplies({1, 2, 3});
    QNetworkProxy::setApplicationProxy(previous);
    QNetworkProxyFactory::setUseSystemConfiguration(systemProxies);
    ASSERT_TRUE(replied);
    for (auto& s : servers)
        EXPECT_EQ(s->statusQueryCount(), 1);
}

TEST_F(RefreshTest, ReplyForTheSelectedRowShowsLevelshotAndPlayers)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("levelshots/cod4")));
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("levelshots/cod4/mp_crash.jpg")), "JPG"));

    ServerProfile other = crashProfile(2);
    other.mapName = "mp_backlot";
    ServerProfile selected = crashProfile(0);
    selected.players = {{"^1Pe^2pa", -3, 999},
                        {QByteArray("\xd8"
                                    "eho\xf8",
                                    5),
                         7, 48},
                        {"^^1x", 0, 0}};
    startOnCod4({other, selected, crashProfile(1)});

    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(1));
    window->SendQueryOne(2);
    ASSERT_TRUE(waitForReplies({2}));
    ASSERT_EQ(listPlayers(*window)->topLevelItemCount(), 3);
    const QStringList names{"Pepa", QString::fromUtf8("Řehoř"), "1x"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(listPlayers(*window)->topLevelItem(i)->text(0), names[i]);
    EXPECT_EQ(listPlayers(*window)->topLevelItem(0)->text(1), QStringLiteral("999"));
    EXPECT_EQ(listPlayers(*window)->topLevelItem(0)->text(2), QStringLiteral("-3"));
    EXPECT_TRUE(window->levelshotPath().endsWith(QStringLiteral("/levelshots/cod4/mp_crash.jpg")));
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(64, 32));

    // A reply for another row touches neither the picture nor the players.
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 3);
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(64, 32));
}

TEST_F(RefreshTest, SelectedServerOnAMapWithoutPictureShowsTheDefault)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("levelshots/cod4")));
    ServerProfile p = crashProfile(1);
    p.mapName = "mp_unknown";
    startOnCod4({p});
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(150, 80));
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 1);
}

// A server whose answers to its n-th query (1, 2, ...) the test scripts; it remembers
// who asked last, so the test can also answer by hand.
class ScriptedServer : public QObject
{
public:
    explicit ScriptedServer(std::function<QList<QByteArray>(int query)> answers)
        : m_answers(std::move(answers))
    {
        socket.bind(QHostAddress::LocalHost, 0);
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram query = socket.receiveDatagram();
                asker = query.senderAddress();
                askerPort = query.senderPort();
                askerPorts.push_back(askerPort);
                for (const QByteArray& answer : m_answers(++queries))
                    send(answer);
            }
        });
    }
    void send(const QByteArray& datagram) { socket.writeDatagram(datagram, asker, askerPort); }

    QUdpSocket socket;
    QHostAddress asker;
    quint16 askerPort = 0;
    std::vector<quint16> askerPorts; // of each query
    int queries = 0;

private:
    std::function<QList<QByteArray>(int)> m_answers;
};

ServerProfile crashProfileOnMap(int players, const QByteArray& map)
{
    ServerProfile p = crashProfile(players);
    p.mapName = map;
    return p;
}

TEST_F(RefreshTest, OnlyTheFirstDatagramOfAQueryCounts)
{
    ScriptedServer server([](int) {
        return QList<QByteArray>{BuildStatusResponse(crashProfile(1)),
                                 BuildStatusResponse(crashProfileOnMap(9, "mp_second"))};
    });
    host.setListText(
        2, record("Double", "127.0.0.1", QByteArray::number(server.socket.localPort())) +
               record("Other", "127.0.0.1", QByteArray::number(addServer(crashProfile(2))->port())));
    start();
    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({1, 2}));
    // The second datagram was sent before the other server's reply was handled.
    window->SendQueryOne(2);
    ASSERT_TRUE(waitForReplies({2}));
    EXPECT_EQ(window->serverTable()[1].MapName, "mp_crash");
    EXPECT_EQ(cell(1, 5), QStringLiteral("01 / 24"));
}

TEST_F(RefreshTest, ADatagramLeftOverFromOneQueryIsNotTakenForTheNext)
{
    // The first query is answered twice (the second datagram waits unread on the
    // window's socket), the next one only by hand.
    ScriptedServer server([](int query) {
        if (query > 1)
            return QList<QByteArray>{};
        return QList<QByteArray>{BuildStatusResponse(crashProfile(1)),
                                 BuildStatusResponse(crashProfileOnMap(7, "mp_stale"))};
    });
    host.setListText(2, record("Late", "127.0.0.1", QByteArray::number(server.socket.localPort())));
    start();
    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(window->serverTable()[1].MapName, "mp_crash");

    window->SendQueryOne(1);
    ASSERT_TRUE(waitFor([&] { return server.queries == 2; }));
    EXPECT_FALSE(window->serverTable()[1].Replied) << "the left-over datagram was taken as the reply";
    server.send(BuildStatusResponse(crashProfileOnMap(2, "mp_fresh")));
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(window->serverTable()[1].MapName, "mp_fresh");
    EXPECT_EQ(cell(1, 5), QStringLiteral("02 / 24"));
}

TEST_F(RefreshTest, StraysAfterAReplyAreDroppedAndAFloodIsLeftToTheSystem)
{
    struct Case
    {
        int strays;
        bool samePort; // the socket kept its port for the next query
    };
    for (const Case c : {Case{0, true}, Case{5, true}, Case{2000, false}}) {
        SCOPED_TRACE(c.strays);
        ScriptedServer server([&c](int query) {
            QList<QByteArray> answers{
                BuildStatusResponse(crashProfileOnMap(query, "mp_" + QByteArray::number(query)))};
            if (query == 1)
                for (int i = 0; i < c.strays; ++i)
                    answers.append(BuildStatusResponse(crashProfileOnMap(9, "mp_stray")));
            return answers;
        });
        host.setListText(2, record("Strays", "127.0.0.1", QByteArray::number(server.socket.localPort())));
        start();
        tabGames(*window)->setCurrentIndex(1);
        ASSERT_TRUE(waitForReplies({1}));
        window->SendQueryOne(1);
        ASSERT_TRUE(waitForReplies({1}));
        EXPECT_EQ(window->serverTable()[1].MapName, "mp_2");
        EXPECT_EQ(cell(1, 5), QStringLiteral("02 / 24"));
        ASSERT_EQ(server.askerPorts.size(), 2u);
        EXPECT_EQ(server.askerPorts[0] == server.askerPorts[1], c.samePort);
        window.reset();
    }
}

TEST_F(RefreshTest, ADatagramFromAnotherPortOrAddressIsIgnored)
{
    startOnCod4({crashProfile(3), crashProfile(4)});
    EmulatedGameServer& first = *servers[0];
    first.answerFromOtherPort();
    first.clearReceived();
    window->cmdResponse_Click();
    ASSERT_TRUE(waitFor([&] { return first.statusQueryCount() >= 1; }));
    for (int i = 0; i < 2; ++i) {
        window->SendQueryOne(2);
        ASSERT_TRUE(waitForReplies({2}));
    }
    // The stray datagram neither filled the row nor closed the socket.
    EXPECT_FALSE(window->serverTable()[1].Replied);
    first.answerFromOwnPort();
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(window->serverTable()[1].NumPlayers, 3);

    // Another loopback address, same port: not the server that was asked.
    QUdpSocket impostor;
    ASSERT_TRUE(impostor.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    first.setSilent(true);
    first.clearReceived();
    window->SendQueryOne(1);
    ASSERT_TRUE(waitFor([&] { return first.received().size() == 1; }));
    const quint16 windowPort = first.received().first().senderPort;
    impostor.writeDatagram(BuildStatusResponse(crashProfile(9)), QHostAddress::LocalHost, windowPort);
    // Two round trips of the other server: the impostor's datagram was waiting before them.
    for (int i = 0; i < 2; ++i) {
        window->SendQueryOne(2);
        ASSERT_TRUE(waitForReplies({2}));
    }
    EXPECT_FALSE(window->serverTable()[1].Replied);
}

TEST_F(RefreshTest, SwitchingToCoDUoShowsTwoDigitNumbers)
{
    host.setListText(3, record("A", "127.0.0.1", "9") + record("B", "127.0.0.1", "9"));
    startOnCod4({crashProfile(), crashProfile()});
    EXPECT_EQ(cell(1, 0), QStringLiteral("001 S1"));
    tabGames(*window)->setCurrentIndex(2);
    ASSERT_EQ(listServers(*window)->topLevelItemCount(), 2);
    EXPECT_EQ(cell(1, 0), QStringLiteral("01 A"));
    EXPECT_EQ(cell(2, 0), QStringLiteral("02 B"));
    EXPECT_EQ(row(2), (QStringList{"02 B", "---", "---", "-", "-", "--"}));
    EXPECT_EQ(window->gameCaption(), QStringLiteral("CoD:UO"));
}

TEST_F(RefreshTest, AGameWithAnEmptyListClearsBothListsAndSendsNothing)
{
    host.setContent(ListHost::ListPath(4), QByteArray()); // its download fails: no rows for CoD1
    startOnCod4({crashProfile(2)});
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({1}));
    ASSERT_EQ(listPlayers(*window)->topLevelItemCount(), 2);
    servers[0]->clearReceived();
    tabGames(*window)->setCurrentIndex(3);
    EXPECT_EQ(listServers(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(150, 80));
    window->cmdResponse_Click();
    // Switching back sends again; nothing reached the server before that.
    EXPECT_EQ(servers[0]->statusQueryCount(), 0);
}

TEST_F(RefreshTest, ALateReplyAboveTheNewServerCountTouchesNoRow)
{
    ServerProfile slow = crashProfile(4);
    std::vector<ServerProfile> profiles(4, crashProfile(1));
    profiles.push_back(slow);
    startOnCod4(profiles);
    servers[4]->setReplyDelay(150);
    host.setListText(3, record("A", "127.0.0.1", "9"));
    window->SendQueryOne(5);
    tabGames(*window)->setCurrentIndex(2); // one row now
    ASSERT_TRUE(waitFor([&] { return window->serverTable()[5].Replied; }));
    EXPECT_EQ(listServers(*window)->topLevelItemCount(), 1);
    EXPECT_EQ(window->serverTable().ServerCount, 1);
    EXPECT_EQ(window->totalPlayers(), 0);
}

TEST_F(RefreshTest, ReplyWhileNoRowIsSelectedTouchesNoDetails)
{
    startOnCod4({crashProfile(2)});
    listServers(*window)->clearSelection();
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 0);
}

TEST_F(RefreshTest, UnusableHostOrPortSkipsTheSlotAndTheRefreshGoesOn)
{
    EmulatedGameServer* good = addServer(crashProfile(6));
    host.setListText(2, record("NoPort", "127.0.0.1", "abc") + record("Big", "127.0.0.1", "70000") +
                            record("Zero", "127.0.0.1", "0") + record("NoHost", "", "28960") +
                            record("Garbage", "\x01\xfe x", "28960") +
                            record("Spaces", "no such host", "28960") +
                            record("Good", "127.0.0.1", QByteArray::number(good->port())));
    start();
    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({7}));
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(cell(r, 5), QStringLiteral("--")) << r;
    EXPECT_EQ(cell(7, 5), QStringLiteral("06 / 24"));
}

struct MaxClientsCase
{
    const char* name;
    QByteArray value; // empty name: the setting is left out
    bool present;
    const char* shown;
};

class MaxClientsTest : public MainWindowFixture, public ::testing::WithParamInterface<MaxClientsCase>
{
};

TEST_P(MaxClientsTest, OutOfRangeOrGarbageGivesZero)
{
    const MaxClientsCase& c = GetParam();
    ServerProfile p = crashProfile(3);
    if (c.present)
        p.extraSettings.append(qMakePair(QByteArray("sv_maxclients"), c.value));
    else
        p.extraSettings.append(qMakePair(QByteArray("sv_maxclients_unused"), QByteArray("1")));
    EmulatedGameServer* server = addServer(p);
    if (!c.present) {
        // A reply without sv_maxclients at all.
        QByteArray reply = BuildStatusResponse(p);
        const int at = reply.indexOf("\\sv_maxclients\\");
        ASSERT_GE(at, 0);
        int end = reply.indexOf('\\', at + 15);
        if (end < 0)
            end = reply.indexOf('\n', at + 15);
        reply.remove(at, end - at);
        server->setRawReply(reply);
    }
    serveGame(2, {server});
    start();
    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(cell(1, 5), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Values, MaxClientsTest,
                         ::testing::Values(MaxClientsCase{"Absent", "", false, "03 / 00"},
                                           MaxClientsCase{"Empty", "", true, "03 / 00"},
                                           MaxClientsCase{"NotANumber", "abc", true, "03 / 00"},
                                           MaxClientsCase{"Above255", "300", true, "03 / 00"},
                                           MaxClientsCase{"Negative", "-1", true, "03 / 00"},
                                           MaxClientsCase{"Largest", "255", true, "03 / 255"},
                                           MaxClientsCase{"Hundreds", "128", true, "03 / 128"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvek::test
