// Hostile game servers through the main window on loopback: datagrams of the largest
// size, replies without line feeds, with NUL bytes, with a thousand quotes, with 200
// players or a 60,000-byte settings line, floods, and answers from another port. The
// window keeps running, the other rows are right and memory stays bounded.
#include <functional>
#include <ostream>
#include <string>

#include <QNetworkDatagram>
#include <QTabBar>
#include <QTreeWidget>
#include <QUdpSocket>

#include "HardeningSupport.h"
#include "sample-host/ServerProfile.h"
#include "support/Controls.h"
#include "support/MainWindowFixture.h"

namespace zorvek::test {
namespace {

constexpr int kLargestDatagram = 65507; // the largest UDP payload over IPv4
constexpr int kRounds = 6;

// Bytes of a literal, NUL bytes included.
template <std::size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QByteArray header()
{
    return QByteArray(4, '\xFF') + "statusResponse\n";
}

QByteArray settingsLine(const QByteArray& gameType, const QByteArray& map, int maxClients)
{
    return "\\g_gametype\\" + gameType + "\\mapname\\" + map +
           "\\scr_friendlyfire\\1\\scr_killcam\\0\\sv_maxclients\\" + QByteArray::number(maxClients) + "\n";
}

QByteArray playerLines(int count)
{
    QByteArray lines;
    for (int i = 1; i <= count; ++i)
        lines += QByteArray::number(i * 2) + " 50 \"^2P" + QByteArray::number(i) + "\"\n";
    return lines;
}

// What the hostile server sends, and what its slot must show afterwards.
struct HostileCase
{
    const char* name;
    std::function<QByteArray()> reply;
    std::function<void(EmulatedGameServer&)> bend; // flood, other port
    bool handled;                                  // the reply reaches its slot
    std::string gameType;
    std::string mapName;
    const char* playersCell; // the "Hráči" column
    int numPlayers;
    int listedPlayers; // rows of listPlayers, the hostile row being selected
    std::string firstPlayer;
};

// Rows are listed by name in test listings, not as bytes.
void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

QByteArray fullSizeDatagram()
{
    QByteArray reply = header() + settingsLine("war", "mp_big", 32) + playerLines(10);
    reply += QByteArray(kLargestDatagram - reply.size(), 'x');
    return reply;
}

QByteArray noLineFeed()
{
    return QByteArray(4, '\xFF') +
           "statusResponse\\g_gametype\\war\\mapname\\mp_x\\sv_maxclients\\8 \"a\" \"b\"";
}

QByteArray nulBytes()
{
    return header() + bytes("\\g_gametype\\w\0ar\\mapname\\mp_\0nul\\sv_maxclients\\16\n") +
           bytes("3 40 \"A\0B\"\n\0\0\0\n4 41 \"C\"\n");
}

QByteArray thousandQuotes()
{
    return header() + settingsLine("war", "mp_q", 24) + QByteArray(1000, '"') + "\n";
}

QByteArray twoHundredPlayers()
{
    return header() + settingsLine("war", "mp_many", 64) + playerLines(200);
}

// A settings line of exactly 60,000 bytes: a long host name before the settings read,
// and a game type of 30,000 characters that reaches the row.
QByteArray longSettingsLine()
{
    const QByteArray tail =
        "\\g_gametype\\" + QByteArray(30000, 'g') + "\\mapname\\mp_long\\sv_maxclients\\20";
    const QByteArray head = "\\sv_hostname\\";
    const QByteArray line = head + QByteArray(60000 - head.size() - tail.size(), 'h') + tail;
    return header() + line + "\n" + playerLines(1);
}

QByteArray floodReply()
{
    return header() + settingsLine("ctf", "mp_flood", 18) + playerLines(4);
}

const HostileCase kCases[] = {
    {"DatagramOf65507Bytes", fullSizeDatagram, nullptr, true, "war", "mp_big", "10 / 32", 10, 10, "P1"},
    {"NoLineFeed", noLineFeed, nullptr, true, "", "", "00 / 00", 0, 0, ""},
    {"NulBytes", nulBytes, nullptr, true, std::string("w\0ar", 4), std::string("mp_\0nul", 7), "02 / 16", 2,
     2, std::string("A\0B", 3)},
    {"ThousandQuotes", thousandQuotes, nullptr, true, "war", "mp_q", "255 / 24", 255, 64, ""},
    {"TwoHundredPlayers", twoHundredPlayers, nullptr, true, "war", "mp_many", "200 / 64", 200, 64, "P1"},
    {"SettingsLineOf60000Bytes", longSettingsLine, nullptr, true, std::string(30000, 'g'), "mp_long",
     "01 / 20", 1, 1, "P1"},
    {"FloodOfDatagrams", floodReply, [](EmulatedGameServer& s) { s.setReplyCount(5000); }, true, "ctf",
     "mp_flood", "04 / 18", 4, 4, "P1"},
    {"FloodFromAnotherPort", floodReply,
     [](EmulatedGameServer& s) {
         s.answerFromOtherPort();
         s.setReplyCount(5000);
     },
     false, "---", "---", "--", 0, 0, ""},
    {"AnswerFromAnotherPort", floodReply, [](EmulatedGameServer& s) { s.answerFromOtherPort(); }, false,
     "---", "---", "--", 0, 0, ""},
};

ServerProfile goodProfile(const QByteArray& type, const QByteArray& map, int maxClients, int players)
{
    ServerProfile p;
    p.game = 2;
    p.gameType = type;
    p.mapName = map;
    p.maxClients = maxClients;
    for (int i = 1; i <= players; ++i)
        p.players.append({"^1Good" + QByteArray::number(i), i, 30 + i});
    return p;
}

class HostileServerTest : public MainWindowFixture, public ::testing::WithParamInterface<HostileCase>
{
protected:
    // One refresh of all three servers; waits for the two good ones and, when the hostile
    // one is to be handled, for it too. Otherwise two more round trips of a good server
    // give the hostile datagrams time to arrive before the checks.
    bool refreshRound(const HostileCase& c)
    {
        window->cmdResponse_Click();
        if (c.handled)
            return waitForReplies({1, 2, 3});
        if (!waitForReplies({1, 3}))
            return false;
        for (int i = 0; i < 2; ++i) {
            window->SendQueryOne(3);
            if (!waitForReplies({3}))
                return false;
        }
        return true;
    }

    void expectGoodRows()
    {
        EXPECT_EQ(cell(1, 1), QStringLiteral("war"));
        EXPECT_EQ(cell(1, 2), QStringLiteral("mp_crash"));
        EXPECT_EQ(cell(1, 5), QStringLiteral("05 / 24"));
        EXPECT_EQ(cell(3, 1), QStringLiteral("dom"));
        EXPECT_EQ(cell(3, 2), QStringLiteral("mp_backlot"));
        EXPECT_EQ(cell(3, 5), QStringLiteral("03 / 16"));
    }

    DialogRecorder dialogs; // the info window, should the list host's info file bring one
};

TEST_P(HostileServerTest, WindowRunsOtherRowsAreRightAndMemoryStaysBounded)
{
    const HostileCase& c = GetParam();
    EmulatedGameServer* first = addServer(goodProfile("war", "mp_crash", 24, 5));
    EmulatedGameServer* hostile = addServer(goodProfile("war", "mp_hostile", 24, 1));
    EmulatedGameServer* third = addServer(goodProfile("dom", "mp_backlot", 16, 3));
    const QByteArray datagram = c.reply();
    hostile->setRawReply(datagram);
    if (c.bend)
        c.bend(*hostile);
    serveGame(2, {first, hostile, third});

    start();
    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({1, 3}));
    // With the hostile row selected, its reply also fills the player list.
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(1));
    ASSERT_EQ(window->selectedServer(), 2);

    ASSERT_TRUE(refreshRound(c));
    const std::int64_t afterFirst = ResidentBytes();
    for (int round = 2; round <= kRounds; ++round)
        ASSERT_TRUE(refreshRound(c)) << "round " << round;
    const std::int64_t growth = ResidentBytes() - afterFirst;

    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
    expectGoodRows();

    const ServerSlot& slot = window->serverTable()[2];
    EXPECT_EQ(slot.Replied, c.handled);
    EXPECT_EQ(slot.GameType, c.gameType);
    EXPECT_EQ(slot.MapName, c.mapName);
    EXPECT_EQ(slot.NumPlayers, c.numPlayers);
    EXPECT_EQ(cell(2, 5), QString::fromUtf8(c.playersCell));
    if (c.handled) {
        // One datagram, whole: nothing appended from a flood, nothing cut at a NUL.
        EXPECT_EQ(slot.ReplyText.size(), static_cast<std::size_t>(datagram.size()));
        EXPECT_EQ(slot.ReplyText, datagram.toStdString());
        EXPECT_EQ(cell(2, 2).size(), static_cast<qsizetype>(c.mapName.size()));
    } else {
        EXPECT_EQ(cell(2, 2), QStringLiteral("---"));
    }
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), c.listedPlayers);
    if (c.listedPlayers > 0) {
        EXPECT_EQ(slot.Players[1].PlayerName, c.firstPlayer);
    }
    EXPECT_EQ(window->totalPlayers(), 5 + 3 + c.numPlayers);
    // The caption follows the total once per pass of the event loop.
    const QString caption = QStringLiteral("CoD4:MW (%1)").arg(5 + 3 + c.numPlayers);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabGames(*window)->tabText(1) == caption; }, 5000))
        << tabGames(*window)->tabText(1).toStdString();

    EXPECT_LT(growth, kGrowthBound) << "resident memory grew by " << growth << " bytes over " << kRounds - 1
                                    << " more rounds";
}

INSTANTIATE_TEST_SUITE_P(Replies, HostileServerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A server that sends a run of short datagrams (10 bytes, which do not count) before its
// reply: they are read and dropped, the socket stays open, and the reply still counts.
class ChatteringServer : public QObject
{
public:
    ChatteringServer()
    {
        EXPECT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram query = socket.receiveDatagram();
                if (!query.data().endsWith("getstatus"))
                    continue;
                // Few enough to fit the receive buffer with the reply behind them.
                for (int i = 0; i < 200; ++i)
                    socket.writeDatagram(QByteArray(4, '\xFF') + "print\n", query.senderAddress(),
                                         query.senderPort());
                socket.writeDatagram(floodReply(), query.senderAddress(), query.senderPort());
            }
        });
    }
    QUdpSocket socket;
};

TEST_F(HostileServerTest, ShortDatagramsBeforeTheReplyAreDroppedAndTheReplyCounts)
{
    EmulatedGameServer* first = addServer(goodProfile("war", "mp_crash", 24, 5));
    ChatteringServer chatter;
    EmulatedGameServer* third = addServer(goodProfile("dom", "mp_backlot", 16, 3));
    host.setListText(2, record("S1", "127.0.0.1", QByteArray::number(first->port())) +
                            record("S2", "127.0.0.1", QByteArray::number(chatter.socket.localPort())) +
                            record("S3", "127.0.0.1", QByteArray::number(third->port())));
    start();
    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({1, 2, 3}));
    for (int round = 0; round < 3; ++round) {
        window->cmdResponse_Click();
        ASSERT_TRUE(waitForReplies({1, 2, 3}));
    }
    expectGoodRows();
    EXPECT_EQ(window->serverTable()[2].ReplyText, floodReply().toStdString());
    EXPECT_EQ(cell(2, 2), QStringLiteral("mp_flood"));
    EXPECT_EQ(cell(2, 5), QStringLiteral("04 / 18"));
}

} // namespace
} // namespace zorvek::test
