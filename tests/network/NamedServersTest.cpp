// Servers named by host names, through the main window: a refresh never waits for the
// resolver, a query goes out when its name resolves, and only while its slot still waits.
#include <QSignalSpy>

#include "NamedServersFixture.h"
#include "query/HostLookup.h"
#include "sample-host/ServerProfile.h"

namespace zorvek::test {
namespace {

class NamedServersTest : public NamedServersFixture
{
protected:
    // Serves a list of the given servers under the given host texts, in order.
    void serveNamed(int game, const std::vector<std::pair<QByteArray, EmulatedGameServer*>>& list)
    {
        QByteArray text;
        int n = 0;
        for (const auto& [hostText, server] : list)
            text += record("N" + QByteArray::number(++n), hostText, QByteArray::number(server->port()));
        host.setListText(game, text);
    }

    static QString name(int i) { return QStringLiteral("srv%1.zorvek.test").arg(i); }

    HostLookup* lookup() const { return window->findChild<HostLookup*>(); }

    bool waitForQuestions(const QString& host, int count = 1)
    {
        return waitFor([&] { return dns.questions(host) >= count; }, 10000);
    }
};

TEST_F(NamedServersTest, TenNamedServersFillWhileTheWindowKeepsRunning)
{
    std::vector<std::pair<QByteArray, EmulatedGameServer*>> list;
    for (int i = 1; i <= 10; ++i) {
        dns.hold(name(i));
        list.push_back({name(i).toLatin1(), addServer()});
    }
    serveNamed(1, list);

    // Start-up runs two refreshes; with every answer held it still ends and shows the window.
    start();
    for (int i = 1; i <= 10; ++i)
        ASSERT_TRUE(waitForQuestions(name(i))) << name(i).toStdString();
    EXPECT_EQ(dns.answersSent(), 0);
    EXPECT_TRUE(cmdResponse(*window)->isEnabled());
    for (int row = 1; row <= 10; ++row)
        EXPECT_EQ(cell(row, 5), QStringLiteral("--"));
    // A click while the names are still being looked up comes back at once as well.
    QTest::mouseClick(cmdResponse(*window), Qt::LeftButton);
    EXPECT_EQ(cmdResponse(*window)->text(), QStringLiteral("Obnovit seznam"));
    for (const auto& server : servers)
        EXPECT_EQ(server->statusQueryCount(), 0);

    for (int i = 1; i <= 10; ++i)
        dns.release(name(i));
    ASSERT_TRUE(waitForReplies({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int row = 1; row <= 10; ++row)
        EXPECT_EQ(cell(row, 5), QStringLiteral("00 / 24")) << row;
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(dns.questions(name(i)), 1) << "one lookup for both start-up refreshes and the click";
    // Each server got one query: the one its slot still waited for.
    for (const auto& server : servers)
        EXPECT_EQ(server->statusQueryCount(), 1);
}

TEST_F(NamedServersTest, NamesAnsweringAfterHalfASecondFillTheirRows)
{
    std::vector<std::pair<QByteArray, EmulatedGameServer*>> list;
    for (int i = 1; i <= 10; ++i) {
        dns.answer(name(i), 500);
        list.push_back({name(i).toLatin1(), addServer()});
    }
    serveNamed(1, list);
    start();
    ASSERT_TRUE(waitForReplies({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(dns.questions(name(i)), 1);

    // The answers are kept: the next refresh sends at once, asking nobody.
    for (const auto& server : servers)
        server->clearReceived();
    window->cmdResponse_Click();
    ASSERT_TRUE(waitForReplies({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(dns.questions(name(i)), 1);
}

TEST_F(NamedServersTest, ANameThatNeverAnswersHoldsNoOtherRow)
{
    dns.answer(name(2));
    dns.neverAnswer(name(3));
    EmulatedGameServer* silentName = addServer();
    serveNamed(
        1, {{"127.0.0.1", addServer()}, {name(2).toLatin1(), addServer()}, {name(3).toLatin1(), silentName}});
    start();
    ASSERT_TRUE(waitForReplies({1, 2}));
    ASSERT_TRUE(waitForQuestions(name(3)));

    // The refresh button works again at once, while that name is still being looked up.
    for (const auto& server : servers)
        server->clearReceived();
    window->cmdResponse_Click();
    EXPECT_TRUE(cmdResponse(*window)->isEnabled());
    ASSERT_TRUE(waitForReplies({1, 2}));
    EXPECT_FALSE(window->serverTable()[3].Replied);
    EXPECT_EQ(cell(3, 5), QStringLiteral("--"));
    EXPECT_EQ(silentName->statusQueryCount(), 0);
}

TEST_F(NamedServersTest, AnUnknownNameIsSkippedAndNotAskedForAgainAtOnce)
{
    EmulatedGameServer* unknown = addServer();
    serveNamed(1, {{"nowhere.zorvek.test", unknown}, {"127.0.0.1", addServer()}});
    start();
    QSignalSpy looked(lookup(), &HostLookup::lookedUp);
    ASSERT_TRUE(waitForReplies({2}));
    ASSERT_TRUE(looked.count() > 0 || looked.wait(10000));
    const int asked = dns.questions(QStringLiteral("nowhere.zorvek.test"));
    EXPECT_GE(asked, 1);

    window->cmdResponse_Click();
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({2}));
    EXPECT_EQ(dns.questions(QStringLiteral("nowhere.zorvek.test")), asked);
    EXPECT_EQ(unknown->statusQueryCount(), 0);
    EXPECT_EQ(cell(1, 1), QStringLiteral("---"));
}

TEST_F(NamedServersTest, ALateAnswerAfterAGameSwitchSendsNothing)
{
    dns.hold(name(1));
    EmulatedGameServer* oldGame = addServer();
    EmulatedGameServer* newGame = addServer();
    serveNamed(1, {{name(1).toLatin1(), oldGame}});
    serveNamed(2, {{"127.0.0.1", newGame}});
    start();
    ASSERT_TRUE(waitForQuestions(name(1)));

    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitForReplies({1}));
    QSignalSpy looked(lookup(), &HostLookup::lookedUp);
    dns.release(name(1));
    ASSERT_TRUE(looked.wait(10000));
    // The answer is in; what it could have sent would be on its way by the next replies.
    window->cmdResponse_Click();
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(oldGame->statusQueryCount(), 0);
    EXPECT_GE(newGame->statusQueryCount(), 2);
}

TEST_F(NamedServersTest, OneNameOnManySlotsIsLookedUpOnce)
{
    dns.answer(QStringLiteral("farm.zorvek.test"), 200);
    std::vector<std::pair<QByteArray, EmulatedGameServer*>> list;
    for (int i = 0; i < 6; ++i)
        list.push_back({"farm.zorvek.test", addServer()});
    serveNamed(1, list);
    start();
    window->cmdResponse_Click();
    window->SendQueryOne(4);
    ASSERT_TRUE(waitForReplies({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(dns.questions(QStringLiteral("farm.zorvek.test")), 1);
    for (const auto& server : servers)
        EXPECT_EQ(server->statusQueryCount(), 1) << "one query per slot: the latest that waited";
}

TEST_F(NamedServersTest, QueryOfOneServerWaitsForItsName)
{
    dns.hold(name(5));
    EmulatedGameServer* server = addServer();
    serveNamed(1, {{name(5).toLatin1(), server}});
    start();
    ASSERT_TRUE(waitForQuestions(name(5)));
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
    window->SendQueryOne(1);
    EXPECT_EQ(server->statusQueryCount(), 0);
    dns.release(name(5));
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(server->statusQueryCount(), 1);
    EXPECT_EQ(dns.questions(name(5)), 1);
}

} // namespace
} // namespace zorvek::test
