// The shared network fixtures: the scripted HTTP server, the closed ports, the UDP probe
// and rows of emulated servers.
#include <memory>
#include <ostream>

#include <QElapsedTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "sample-host/ListHost.h"
#include "sample-host/SampleContent.h"
#include "sample-host/ServerProfile.h"
#include "sample-host/StampedUdpSocket.h"
#include "serverlist/HttpGet.h"
#include "support/EmulatedServerSet.h"
#include "support/HttpFetch.h"
#include "support/LoopbackPorts.h"
#include "support/TestHttpServer.h"
#include "support/UdpProbe.h"

namespace zorvek {
namespace {

class TestHttpServerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.listen()); }

    TestHttpServer m_server;
};

struct BodyCase
{
    const char* name;
    QByteArray body;
    int status;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const BodyCase& row, std::ostream* out)
{
    *out << row.name;
}

class ScriptedBody : public TestHttpServerTest, public ::testing::WithParamInterface<BodyCase>
{
};

TEST_P(ScriptedBody, ComesBackWithItsStatus)
{
    m_server.serve(QStringLiteral("/file.txt"), GetParam().body, GetParam().status);
    const FetchResult result = Fetch(m_server.url(QStringLiteral("/file.txt")));
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(result.body, GetParam().body);
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/file.txt")), 1);
}

INSTANTIATE_TEST_SUITE_P(Bodies, ScriptedBody,
                         ::testing::Values(BodyCase{"ListText", "A;127.0.0.1;28960;EXE:;\r\n", 200},
                                           BodyCase{"EmptyBody", "", 200},
                                           BodyCase{"BinaryBytes", QByteArray("\x00\xFF\x8E\r\n", 5), 200},
                                           BodyCase{"ErrorStatusKeepsItsBody", "server list anyway", 500},
                                           BodyCase{"ErrorPageHoldsTheOldDoctype", ErrorPage(404), 404}),
                         [](const ::testing::TestParamInfo<BodyCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(TestHttpServerTest, ErrorPageAndUnscriptedPathsHoldTheDoctype)
{
    m_server.serveErrorPage(QStringLiteral("/gone.txt"), 503);
    const FetchResult gone = Fetch(m_server.url(QStringLiteral("/gone.txt")));
    EXPECT_EQ(gone.status, 503);
    EXPECT_TRUE(gone.body.contains("DOCTYPE HTML PUBLIC"));

    const FetchResult missing = Fetch(m_server.url(QStringLiteral("/missing.txt")));
    EXPECT_EQ(missing.status, 404);
    EXPECT_TRUE(missing.body.contains("DOCTYPE HTML PUBLIC"));
}

TEST_F(TestHttpServerTest, RecordsTheRequestHead)
{
    m_server.serve(QStringLiteral("/a.txt"), "x");
    QSignalSpy requests(&m_server, &TestHttpServer::requestReceived);
    ASSERT_TRUE(Fetch(m_server.url(QStringLiteral("/a.txt?query=1"))).finished);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), QStringLiteral("/a.txt"));
    EXPECT_TRUE(
        m_server.lastRequestHead(QStringLiteral("/a.txt")).startsWith("GET /a.txt?query=1 HTTP/1.1\r\n"));
    EXPECT_EQ(m_server.totalRequests(), 1);
}

TEST_F(TestHttpServerTest, NeverAnswerKeepsTheClientWaiting)
{
    m_server.neverAnswer(QStringLiteral("/slow.txt"));
    QSignalSpy requests(&m_server, &TestHttpServer::requestReceived);
    QSignalSpy closed(&m_server, &TestHttpServer::connectionClosed);
    const FetchResult result = Fetch(m_server.url(QStringLiteral("/slow.txt")), 400);
    EXPECT_FALSE(result.finished);
    EXPECT_EQ(requests.size(), 1);
    // The aborted client's connection ends on the server too.
    EXPECT_TRUE(closed.size() > 0 || closed.wait(2000));
    EXPECT_EQ(m_server.openConnections(), 0);
}

TEST_F(TestHttpServerTest, CloseWithoutAnswerGivesAnEmptyFailedReply)
{
    m_server.closeWithoutAnswer(QStringLiteral("/closed.txt"));
    const FetchResult result = Fetch(m_server.url(QStringLiteral("/closed.txt")));
    ASSERT_TRUE(result.finished);
    EXPECT_NE(result.error, QNetworkReply::NoError);
    EXPECT_TRUE(result.body.isEmpty());
    EXPECT_EQ(result.status, 0);
}

TEST_F(TestHttpServerTest, DripSendsOneByteAtEachInterval)
{
    m_server.drip(QStringLiteral("/drip.txt"), "abcd", 80);
    QSignalSpy bytesSent(&m_server, &TestHttpServer::bodyByteSent);
    QElapsedTimer clock;
    clock.start();
    // Not done within one interval ...
    const FetchResult early = Fetch(m_server.url(QStringLiteral("/drip.txt")), 60);
    EXPECT_FALSE(early.finished);
    // ... but done after four.
    const FetchResult result = Fetch(m_server.url(QStringLiteral("/drip.txt")), 5000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.body, "abcd");
    EXPECT_GE(clock.elapsed(), 3 * 80);
    EXPECT_GE(bytesSent.size(), 4);
}

TEST_F(TestHttpServerTest, RedirectIsFollowedAndALoopEndsInAnError)
{
    m_server.serve(QStringLiteral("/target.txt"), "arrived");
    m_server.redirect(QStringLiteral("/from.txt"), m_server.url(QStringLiteral("/target.txt")));
    const FetchResult followed = Fetch(m_server.url(QStringLiteral("/from.txt")));
    EXPECT_EQ(followed.status, 200);
    EXPECT_EQ(followed.body, "arrived");
    // Qt may send a request once more when its connection closes under it (see the loop below).
    EXPECT_GE(m_server.requestCount(QStringLiteral("/from.txt")), 1);
    EXPECT_LE(m_server.requestCount(QStringLiteral("/from.txt")), 2);

    m_server.redirect(QStringLiteral("/ping"), m_server.url(QStringLiteral("/pong")));
    m_server.redirect(QStringLiteral("/pong"), m_server.url(QStringLiteral("/ping")));
    const FetchResult loop = Fetch(m_server.url(QStringLiteral("/ping")), 10000);
    ASSERT_TRUE(loop.finished);
    EXPECT_EQ(loop.error, QNetworkReply::TooManyRedirectsError);
    EXPECT_GT(m_server.requestCount(QStringLiteral("/pong")), 5);
}

TEST_F(TestHttpServerTest, GeneratedBodyOf50MegabytesStreamsWhole)
{
    constexpr qint64 size = 50LL * 1024 * 1024;
    m_server.serveGenerated(QStringLiteral("/big.bin"), size);
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(
        manager.get(QNetworkRequest(QUrl(m_server.url(QStringLiteral("/big.bin"))))));
    // The test reads as data comes, so neither side holds the whole body.
    qint64 received = 0;
    bool matches = true;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), [&] {
        const QByteArray chunk = reply->readAll();
        matches = matches && chunk == TestHttpServer::GeneratedBytes(received, chunk.size());
        received += chunk.size();
    });
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    ASSERT_TRUE(finished.wait(60000));
    received += reply->readAll().size();
    EXPECT_EQ(reply->error(), QNetworkReply::NoError);
    EXPECT_EQ(received, size);
    EXPECT_TRUE(matches);
}

// The program's blocking GET runs a local event loop on the test's thread; the fixtures
// are served from that same loop.
TEST_F(TestHttpServerTest, ServesWhileTheProgramsBlockingGetWaits)
{
    m_server.serve(QStringLiteral("/list.txt"), "A;127.0.0.1;1;EXE:;\r\n");
    m_server.serveErrorPage(QStringLiteral("/error.txt"));
    m_server.drip(QStringLiteral("/drip.txt"), "abcd", 30);
    m_server.neverAnswer(QStringLiteral("/never.txt"));
    HttpGet get(3000);
    EXPECT_EQ(get.get(m_server.url(QStringLiteral("/list.txt"))), "A;127.0.0.1;1;EXE:;\r\n");
    EXPECT_TRUE(get.get(m_server.url(QStringLiteral("/error.txt"))).contains("DOCTYPE HTML PUBLIC"));
    EXPECT_EQ(get.get(m_server.url(QStringLiteral("/drip.txt"))), "abcd");

    get.setTimeoutMs(300);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(get.get(m_server.url(QStringLiteral("/never.txt"))).isEmpty());
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/never.txt")), 1);
}

TEST(ListHostContent, ServesTheProgramsBlockingGet)
{
    ListHost host;
    ASSERT_NE(host.listen(), 0);
    host.setListText(1, "A;127.0.0.1;1;EXE:;\r\n");
    HttpGet get(3000);
    EXPECT_EQ(get.get(host.baseUrl() + ListHost::ListPath(1)), "A;127.0.0.1;1;EXE:;\r\n");
    EXPECT_TRUE(get.get(host.baseUrl() + QStringLiteral("/zorvek/info.txt")).contains("$$$&&&***"));
    EXPECT_EQ(
        QImage::fromData(get.get(host.baseUrl() + ListHost::PosterPath(), HttpGet::kPictureLimit)).size(),
        QSize(400, 300));
}

TEST(LoopbackPorts, ClosedTcpPortRefusesTheConnection)
{
    const quint16 port = ClosedTcpPort();
    ASSERT_NE(port, 0);
    const FetchResult result = Fetch(QStringLiteral("http://127.0.0.1:%1/x.txt").arg(port));
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.error, QNetworkReply::ConnectionRefusedError);
    EXPECT_TRUE(result.body.isEmpty());
}

TEST(LoopbackPorts, ClosedUdpPortGetsNoAnswer)
{
    const quint16 port = ClosedUdpPort();
    ASSERT_NE(port, 0);
    UdpProbe probe;
    ASSERT_TRUE(probe.isBound());
    EXPECT_FALSE(probe.ask(port, StatusQueryBytes(), 300).has_value());
}

TEST(ListHostContent, ServesWhatTestsSetPerPath)
{
    ListHost host;
    ASSERT_NE(host.listen(), 0);
    const QString path = ListHost::ListPath(2);
    host.setListText(2, "A;127.0.0.1;1;EXE:;\r\n");
    EXPECT_EQ(Fetch(host.baseUrl() + path).body, "A;127.0.0.1;1;EXE:;\r\n");

    host.setErrorPage(path, 500);
    const FetchResult error = Fetch(host.baseUrl() + path);
    EXPECT_EQ(error.status, 500);
    EXPECT_TRUE(error.body.contains("DOCTYPE HTML PUBLIC"));

    host.setContent(path, "", 200);
    const FetchResult empty = Fetch(host.baseUrl() + path);
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(empty.body.isEmpty());

    host.removeContent(path);
    EXPECT_EQ(Fetch(host.baseUrl() + path).status, 404);
    EXPECT_EQ(host.requestCount(path), 4);
}

TEST(ListHostContent, ListensOnTheGivenPortAndServesInfoByDefault)
{
    const quint16 free = ClosedTcpPort();
    ListHost host;
    ASSERT_EQ(host.listen(free), free);
    EXPECT_EQ(host.hostAndPort(), QStringLiteral("127.0.0.1:%1").arg(free));
    const FetchResult info = Fetch(host.baseUrl() + QStringLiteral("/zorvek/info.txt"));
    EXPECT_TRUE(info.body.contains("$$$&&&***"));
    EXPECT_TRUE(info.body.contains(host.baseUrl().toLatin1() + "/zorvek/poster.jpg;\r\n"));

    ListHost clash;
    EXPECT_EQ(clash.listen(free), 0);
}

TEST(EmulatedServerSet, ListNamesEveryServerInSlotOrder)
{
    EmulatedServerSet set(3, 2);
    set.addDeadRecord("Gone");
    ASSERT_TRUE(set.allStarted());
    ASSERT_EQ(set.size(), 4);
    EXPECT_EQ(set.server(4), nullptr);
    const QList<QByteArray> lines = set.listText().split('\n');
    ASSERT_EQ(lines.size(), 5);
    for (int slot = 1; slot <= 3; ++slot)
        EXPECT_EQ(lines[slot - 1], "Server " + QByteArray::number(slot) + ";127.0.0.1;" +
                                       QByteArray::number(set.server(slot)->port()) + ";EXE:;\r");
    EXPECT_TRUE(lines[3].startsWith("Gone;127.0.0.1;"));
}

TEST(EmulatedServerSet, WaitsForQueriesAndOrdersArrivalsAcrossServers)
{
    if (!StampedUdpSocket::ReceiveTimesFromSystem())
        GTEST_SKIP() << "this system gives programs no receive times of datagrams to order them by";
    EmulatedServerSet set(12, 2);
    ASSERT_TRUE(set.allStarted());
    UdpProbe probe;
    // Sent from the last slot to the first, against the order in which the sockets were opened.
    for (int slot = 12; slot >= 1; --slot)
        ASSERT_TRUE(probe.send(set.server(slot)->port(), StatusQueryBytes()));
    ASSERT_TRUE(set.waitForStatusQueries(1));
    const auto order = set.receivedInOrder();
    ASSERT_EQ(order.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(order[i].first, 12 - i) << i;
        EXPECT_EQ(order[i].second.senderPort, probe.port());
    }
    EXPECT_FALSE(set.waitForStatusQueries(2, 200)); // nobody got a second query
}

} // namespace
} // namespace zorvek
