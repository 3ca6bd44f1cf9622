// Hostile list hosts on loopback: huge bodies, garbage, far too many records, a body that
// drips, redirect loops and a poster that redirects to a huge file. Start-up finishes in
// bounded time, what is kept stays within its cap, and the window keeps running.
#include <chrono>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>

#include "HardeningSupport.h"
#include "common/GameTable.h"
#include "common/InfoFile.h"
#include "common/PosterFile.h"
#include "serverlist/HttpGet.h"
#include "serverlist/ServerListParser.h"
#include "support/Controls.h"
#include "support/HttpListHostFixture.h"
#include "support/Pictures.h"
#include "support/TestHttpServer.h"

namespace zorvek::test {
namespace {

constexpr qint64 kFiftyMegabytes = 50LL * 1000 * 1000;
const QString kNothingFrom = QString::fromUtf8("Server se seznamy (127.0.0.1) je nedostupný!");

// An HTTP server that answers every request with a body of unknown length (no
// Content-Length, ended by closing the connection) and never stops writing on its own.
class EndlessBodyServer : public QObject
{
public:
    EndlessBodyServer()
    {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (socket->property("answered").toBool() || !socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->setProperty("answered", true);
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n");
                    connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] { refill(socket); });
                    refill(socket);
                });
            }
        });
    }

    qint64 written = 0;
    QTcpServer server;

private:
    void refill(QTcpSocket* socket)
    {
        while (socket->bytesToWrite() < 256 * 1024 && socket->state() == QAbstractSocket::ConnectedState) {
            socket->write(QByteArray(64 * 1024, 'x'));
            written += 64 * 1024;
        }
    }
};

class HostileListHostTest : public HttpListHostFixture
{
protected:
    int rows() const { return listServers(*window)->topLevelItemCount(); }

    DialogRecorder dialogs;
};

TEST_F(HostileListHostTest, FiftyMegabyteListCountsAsNothingReceived)
{
    http.serveGenerated(listPath(2), kFiftyMegabytes);
    startAgainstHttp();
    EXPECT_EQ(boxes.texts(), QStringList{kNothingFrom});
    EXPECT_EQ(boxes.shown().value(0).title, QStringLiteral("Chyba!"));
    EXPECT_TRUE(window->listText(2).empty());
    EXPECT_FALSE(window->listText(1).empty());
    tabGames(*window)->setCurrentIndex(1);
    EXPECT_EQ(rows(), 0);
    tabGames(*window)->setCurrentIndex(2);
    EXPECT_EQ(rows(), 1);
}

TEST_F(HostileListHostTest, EndlessBodyWithoutLengthIsCutAtTheCap)
{
#ifdef Q_OS_WIN
    // Under Wine the connection of the download given up at the cap is still read from for
    // seconds (hundreds of megabytes) before it closes; open in the project's issues.
    GTEST_SKIP() << "the Windows build under Wine reads on after the cap: not yet mended";
#endif
    EndlessBodyServer endless;
    // Only game 3's list comes from the endless server: a redirect leads there.
    http.redirect(listPath(3),
                  QStringLiteral("http://127.0.0.1:%1/list.txt").arg(endless.server.serverPort()));
    startAgainstHttp();
    EXPECT_EQ(boxes.texts(), QStringList{kNothingFrom});
    EXPECT_TRUE(window->listText(3).empty());
    // The download stopped soon after the cap instead of reading on.
    EXPECT_LT(endless.written, 64LL * 1024 * 1024);
}

struct SizeCase
{
    const char* name;
    qint64 size;
    bool kept;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ListSizeTest : public HostileListHostTest, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(ListSizeTest, ListsUpToOneMebibyteAreKept)
{
    const SizeCase& c = GetParam();
    http.serveGenerated(listPath(1), c.size);
    startAgainstHttp();
    if (c.kept) {
        EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
        EXPECT_EQ(static_cast<qint64>(window->listText(1).size()), c.size);
    } else {
        EXPECT_EQ(boxes.texts(), QStringList{kNothingFrom});
        EXPECT_TRUE(window->listText(1).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ListSizeTest,
                         ::testing::Values(SizeCase{"ExactlyOneMebibyte", HttpGet::kTextLimit, true},
                                           SizeCase{"OneByteOver", HttpGet::kTextLimit + 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileListHostTest, BinaryGarbageParsesWithoutFailure)
{
    // Random bytes, rich in the list's own separators so that many records form.
    std::mt19937 random(7);
    QByteArray garbage;
    for (int i = 0; i < 200 * 1024; ++i) {
        const unsigned roll = random() % 100;
        garbage += roll < 8 ? ';' : roll < 11 ? '\r' : roll < 14 ? '\n' : static_cast<char>(random() % 256);
    }
    http.serve(listPath(2), garbage, 200, "application/octet-stream");
    startAgainstHttp();
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(window->listText(2), garbage.toStdString());

    QElapsedTimer clock;
    clock.start();
    tabGames(*window)->setCurrentIndex(1);
    const qint64 switchMs = clock.restart();
    const ServerTable& table = window->serverTable();
    EXPECT_GT(table.ServerCount, 0);
    EXPECT_EQ(rows(), table.ServerCount);
    for (int i = 1; i <= table.ServerCount; ++i)
        ASSERT_TRUE(table[i].ServerName.starts_with(PadToDigitPattern(i, "000") + " ")) << i;
    // The window goes on: a refresh and another game still work.
    clock.restart();
    window->cmdResponse_Click();
    const qint64 refreshMs = clock.elapsed();
    EXPECT_TRUE(cmdResponse(*window)->isEnabled());
    std::printf("garbage list: %d servers, game switch %lld ms, refresh %lld ms\n", int(table.ServerCount),
                static_cast<long long>(switchMs), static_cast<long long>(refreshMs));
    // Host names of the list are looked up one after the other on the window's thread,
    // so the resolver's time-outs add up here (5 s per lost answer); no hang beyond that.
    EXPECT_LT(switchMs + refreshMs, 60000);
    tabGames(*window)->setCurrentIndex(2);
    EXPECT_EQ(rows(), 1);
}

TEST_F(HostileListHostTest, TenThousandRecordsGiveTheFirst255)
{
    EmulatedGameServer* server = addServer();
    QByteArray list = record("First", "127.0.0.1", QByteArray::number(server->port()));
    for (int i = 2; i <= 10000; ++i)
        list += record("S" + QByteArray::number(i), "127.0.0.1", "9");
    ASSERT_LT(list.size(), HttpGet::kTextLimit);
    http.serve(listPath(2), list);
    startAgainstHttp();
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();

    tabGames(*window)->setCurrentIndex(1);
    EXPECT_EQ(window->serverTable().ServerCount, 255);
    ASSERT_EQ(rows(), 255);
    EXPECT_EQ(cell(1, 0), QStringLiteral("001 First"));
    EXPECT_EQ(cell(255, 0), QStringLiteral("255 S255"));
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(cell(1, 2), QStringLiteral("mp_crash"));
}

TEST_F(HostileListHostTest, DrippingListTimesOutAndStartUpGoesOn)
{
    constexpr int kTimeoutMs = 1500;
    http.drip(listPath(4), QByteArray(100, 'x'), 1000);
    const qint64 elapsed = startAgainstHttp(kTimeoutMs);
    EXPECT_EQ(boxes.texts(), QStringList{kNothingFrom});
    EXPECT_TRUE(window->listText(4).empty());
    EXPECT_FALSE(window->listText(5).empty());
    // The download waited for its time-out (a coarse timer: up to 5 % early), and no
    // longer: the body alone takes 100 s.
    EXPECT_GE(elapsed, kTimeoutMs * 9 / 10);
    EXPECT_LT(elapsed, kTimeoutMs + 8000);
}

TEST_F(HostileListHostTest, TheTimeOutHoldsForEachDownload)
{
    constexpr int kTimeoutMs = 800;
    for (int game = 1; game <= 5; ++game)
        http.drip(listPath(game), QByteArray(100, 'x'), 1000);
    const qint64 elapsed = startAgainstHttp(kTimeoutMs);
    EXPECT_EQ(boxes.texts(), QStringList(5, kNothingFrom));
    // Five downloads side by side, each ended by its own full time-out.
    for (int game = 1; game <= 5; ++game)
        EXPECT_EQ(http.requestCount(listPath(game)), 1);
    EXPECT_GE(elapsed, kTimeoutMs * 9 / 10);
    EXPECT_LT(elapsed, 5 * kTimeoutMs + 10000);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(HostileListHostTest, RedirectLoopEndsAsNothingReceived)
{
    http.redirect(listPath(1), http.url(QStringLiteral("/loop-a")));
    http.redirect(QStringLiteral("/loop-a"), http.url(QStringLiteral("/loop-b")));
    http.redirect(QStringLiteral("/loop-b"), http.url(QStringLiteral("/loop-a")));
    http.redirect(listPath(2), http.url(listPath(2)));
    const qint64 elapsed = startAgainstHttp();
    EXPECT_EQ(boxes.texts(), QStringList({kNothingFrom, kNothingFrom}));
    EXPECT_TRUE(window->listText(1).empty());
    EXPECT_TRUE(window->listText(2).empty());
    // The loops were given up after a few hops, well before the time-out: five redirects at
    // the most, twice at the most, as Qt may send a request again whose connection the server
    // closed under it (seen with the lists side by side) and count its hops anew.
    EXPECT_LE(http.requestCount(QStringLiteral("/loop-a")) + http.requestCount(QStringLiteral("/loop-b")),
              12);
    EXPECT_LE(http.requestCount(listPath(2)), 12);
    EXPECT_LT(elapsed, 3000);
}

// The poster download: a poster URL that redirects to a file far over the picture cap
// gives nothing, quickly; a poster just under the cap still comes whole.
TEST_F(HostileListHostTest, PosterRedirectingToAHugeFileGivesNothing)
{
    http.redirect(QStringLiteral("/poster.jpg"), http.url(QStringLiteral("/huge.jpg")));
    http.serveGenerated(QStringLiteral("/huge.jpg"), kFiftyMegabytes);
    http.redirect(QStringLiteral("/fair.jpg"), http.url(QStringLiteral("/seven.jpg")));
    http.serveGenerated(QStringLiteral("/seven.jpg"), 7LL * 1024 * 1024);
    HttpGet get(5000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(get.get(http.url(QStringLiteral("/poster.jpg")), HttpGet::kPictureLimit).isEmpty());
    EXPECT_LT(clock.elapsed(), 4000);
    const QByteArray fair = get.get(http.url(QStringLiteral("/fair.jpg")), HttpGet::kPictureLimit);
    EXPECT_EQ(fair.size(), 7LL * 1024 * 1024);
    EXPECT_EQ(fair, TestHttpServer::GeneratedBytes(0, 7LL * 1024 * 1024));
}

// The same through start-up: an info file whose poster URL redirects to a picture over
// the cap shows no info window and leaves no poster file. The picture is a real JPEG
// with padding behind its end, so that only the cap keeps it from being shown; the same
// picture without padding is shown.
struct PosterCase
{
    const char* name;
    qint64 paddedSize;
    bool shown;
};

void PrintTo(const PosterCase& c, std::ostream* os)
{
    *os << c.name;
}

class InfoPosterTest : public HostileListHostTest, public ::testing::WithParamInterface<PosterCase>
{
};

TEST_P(InfoPosterTest, OnlyAPosterWithinTheCapIsShown)
{
    const PosterCase& c = GetParam();
    QByteArray jpeg = JpegBytes(40, 30, Qt::darkBlue);
    ASSERT_FALSE(jpeg.isEmpty());
    if (c.paddedSize > jpeg.size())
        jpeg.append(QByteArray(c.paddedSize - jpeg.size(), '\0'));

    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("levelshots")));
    http.serve(QStringLiteral("/zorvek/info.txt"),
               "40;\r\n30;\r\n" + http.url(QStringLiteral("/poster.jpg")).toLatin1() +
                   ";\r\nhttp://www.example.cz;\r\ntip;\r\n$$$&&&***;\r\n");
    http.redirect(QStringLiteral("/poster.jpg"), http.url(QStringLiteral("/picture.jpg")));
    http.serve(QStringLiteral("/picture.jpg"), jpeg, 200, "image/jpeg");
    const qint64 elapsed = startAgainstHttp();
    ASSERT_EQ(http.requestCount(QStringLiteral("/zorvek/info.txt")), 1);
    EXPECT_EQ(http.requestCount(QStringLiteral("/picture.jpg")), 1);
    // The first resize, while the window was being shown, is where the info window opens.
    QCoreApplication::processEvents();
    if (c.shown)
        EXPECT_EQ(dialogs.titles(), QStringList{QStringLiteral("Zorvek - info")});
    else
        EXPECT_TRUE(dialogs.titles().isEmpty()) << dialogs.titles().join('|').toStdString();
    EXPECT_EQ(QFile::exists(PosterFile::PathIn(folder.filePath(QStringLiteral("levelshots")))), c.shown);
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_LT(elapsed, 6000);
}

INSTANTIATE_TEST_SUITE_P(Posters, InfoPosterTest,
                         ::testing::Values(PosterCase{"PictureWithinTheCap", 0, true},
                                           PosterCase{"PicturePaddedTo7Megabytes", 7LL * 1000 * 1000, true},
                                           PosterCase{"PicturePaddedTo20Megabytes", 20LL * 1000 * 1000,
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvek::test
