// Start-up of the main window: caption, controls, list downloads and their messages.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>

#include "common/GameTable.h"
#include "serverlist/HttpGet.h"
#include "support/Controls.h"
#include "support/MainWindowFixture.h"

namespace zorvek::test {
namespace {

struct CaptionCase
{
    const char* name;
    int major, minor, patch;
    const char* expected;
};

class CaptionTest : public ::testing::TestWithParam<CaptionCase>
{
};

TEST_P(CaptionTest, VersionWithoutSeparatorBeforeRevision)
{
    const CaptionCase& c = GetParam();
    EXPECT_EQ(frmMain::WindowCaption(c.major, c.minor, c.patch, QStringLiteral("http://w.cz")),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, CaptionTest,
    ::testing::Values(CaptionCase{"v1_1_9", 1, 1, 9, "Zorvek by Halmund  (build: 1.19)  http://w.cz"},
                      CaptionCase{"v2_0_10", 2, 0, 10, "Zorvek by Halmund  (build: 2.010)  http://w.cz"},
                      CaptionCase{"v10_12_0", 10, 12, 0, "Zorvek by Halmund  (build: 10.120)  http://w.cz"}),
    [](const auto& info) { return std::string(info.param.name); });

using StartupTest = MainWindowFixture;

TEST_F(StartupTest, OpensWithFiveTabsCaptionSocketsAndNoMessage)
{
    frmMain& w = start();
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Zorvek by Halmund  (build: 1.19)  http://www.example.cz"));
    ASSERT_EQ(tabGames(w)->count(), 5);
    const QStringList captions{"CoD:WaW", "CoD4:MW", "CoD:UO", "CoD1", "CoD2"};
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(tabGames(w)->tabText(i), captions[i]);
    EXPECT_TRUE(tabGames(w)->tabText(0).startsWith(captions[0]));
    EXPECT_EQ(tabGames(w)->currentIndex(), 0);
    EXPECT_EQ(w.socketCount(), 255);
    EXPECT_EQ(w.size(), QSize(891, 625));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(cmdResponse(w)->text(), QStringLiteral("Obnovit seznam"));
    EXPECT_TRUE(cmdResponse(w)->isEnabled());
    EXPECT_EQ(control<QLabel>(w, "Label1")->text(), QString::fromUtf8("Hledat hráče:"));
    EXPECT_EQ(control<QLabel>(w, "Label2")->text(), QStringLiteral("IP:port:"));
    EXPECT_EQ(w.defaultLevelshot().size(), QSize(150, 80));

    const QStringList serverHeaders{QString::fromUtf8("Název místnosti"),
                                    QString::fromUtf8("Mód"),
                                    "Mapa",
                                    "FF",
                                    "Kam",
                                    QString::fromUtf8("Hráči")};
    ASSERT_EQ(listServers(w)->columnCount(), 6);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(listServers(w)->headerItem()->text(c), serverHeaders[c]);
        const int alignment = listServers(w)->headerItem()->textAlignment(c) & Qt::AlignHorizontal_Mask;
        EXPECT_EQ(alignment, c == 0 ? Qt::AlignLeft : Qt::AlignHCenter) << c;
    }
    const QStringList playerHeaders{QString::fromUtf8("Přezdívka"), "Ping", QString::fromUtf8("Skóre")};
    ASSERT_EQ(listPlayers(w)->columnCount(), 3);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(listPlayers(w)->headerItem()->text(c), playerHeaders[c]);
        const int alignment = listPlayers(w)->headerItem()->textAlignment(c) & Qt::AlignHorizontal_Mask;
        EXPECT_EQ(alignment, c == 0 ? Qt::AlignLeft : Qt::AlignRight) << c;
    }
    // Geometry of the controls in the fixed layout.
    EXPECT_EQ(listServers(w)->geometry(), QRect(16, 136, 577, 473));
    EXPECT_EQ(listPlayers(w)->geometry(), QRect(608, 12, 273, 601));
    EXPECT_EQ(editSearch(w)->geometry(), QRect(104, 32, 209, 21));
    EXPECT_EQ(cmdResponse(w)->geometry(), QRect(328, 32, 104, 49));
    EXPECT_EQ(imgLevelshot(w)->geometry(), QRect(448, 13, 152, 82));
}

TEST_F(StartupTest, DownloadsEveryListOnceAndKeepsItsText)
{
    const QByteArray list = record("A", "127.0.0.1", "9") + record("B", "127.0.0.1", "10");
    host.setListText(3, list);
    frmMain& w = start();
    for (int game = 1; game <= 5; ++game)
        EXPECT_EQ(host.requestCount(ListHost::ListPath(game)), 1) << game;
    EXPECT_EQ(QByteArray::fromStdString(w.listText(3)), list);
}

TEST_F(StartupTest, AllFiveListsFailingGiveFiveMessagesAndARunningWindow)
{
    for (int game = 1; game <= 5; ++game)
        host.setErrorPage(ListHost::ListPath(game));
    frmMain& w = start();
    ASSERT_EQ(boxes.shown().size(), 5);
    for (int game = 1; game <= 5; ++game) {
        const auto& box = boxes.shown()[game - 1];
        const QString url = host.baseUrl() + ListHost::ListPath(game);
        EXPECT_EQ(box.text,
                  QString::fromUtf8("Seznam serverů (") + url + QString::fromUtf8(") je nedostupný!"));
        EXPECT_EQ(box.title, QStringLiteral("Chyba!"));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.buttons, int(QMessageBox::Ok));
        EXPECT_TRUE(w.listText(game).empty());
    }
    for (int tab = 0; tab < 5; ++tab) {
        tabGames(w)->setCurrentIndex(tab);
        EXPECT_EQ(listServers(w)->topLevelItemCount(), 0);
    }
    EXPECT_TRUE(w.isVisible());
}

// One list download and the message it must give, if any.
struct DownloadCase
{
    const char* name;
    enum Kind { Good, ErrorPage, EmptyBody, ClosedPort, NeverAnswers, ErrorStatusWithList } kind;
    int expectedStatusMessages; // 0 none, 1 "Seznam serverů (", 2 "Server se seznamy ("
};

class DownloadTest : public MainWindowFixture, public ::testing::WithParamInterface<DownloadCase>
{
};

TEST_P(DownloadTest, GivesOnlyItsOwnMessage)
{
    const DownloadCase& c = GetParam();
    const QByteArray list = record("A", "127.0.0.1", "9");
    QTcpServer silent;
    QString url = host.baseUrl() + ListHost::ListPath(2);
    switch (c.kind) {
    case DownloadCase::Good:
        host.setListText(2, list);
        break;
    case DownloadCase::ErrorPage:
        host.setErrorPage(ListHost::ListPath(2), 404);
        break;
    case DownloadCase::EmptyBody:
        host.setContent(ListHost::ListPath(2), QByteArray());
        break;
    case DownloadCase::ClosedPort: {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        url = QStringLiteral("http://127.0.0.1:%1/zorvek/list.txt").arg(probe.serverPort());
        probe.close();
        break;
    }
    case DownloadCase::NeverAnswers:
        // Accepts the connection and never says anything.
        ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
        url = QStringLiteral("http://127.0.0.1:%1/zorvek/list.txt").arg(silent.serverPort());
        break;
    case DownloadCase::ErrorStatusWithList:
        // An error status still delivers its body; only the marker makes it an error page.
        host.setContent(ListHost::ListPath(2), list, 500);
        break;
    }

    window = std::make_unique<frmMain>([&] {
        auto o = options();
        o.httpTimeoutMs = 400;
        return o;
    }());
    window->GetListServers(url, 2);

    if (c.expectedStatusMessages == 0) {
        EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
        EXPECT_EQ(QByteArray::fromStdString(window->listText(2)), list);
        return;
    }
    ASSERT_EQ(boxes.shown().size(), 1);
    const QString expected =
        c.expectedStatusMessages == 1
            ? QString::fromUtf8("Seznam serverů (") + url + QString::fromUtf8(") je nedostupný!")
            : QString::fromUtf8("Server se seznamy (127.0.0.1) je nedostupný!");
    EXPECT_EQ(boxes.shown()[0].text, expected);
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("Chyba!"));
    EXPECT_EQ(boxes.shown()[0].icon, QMessageBox::Critical);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DownloadTest,
    ::testing::Values(DownloadCase{"GoodList", DownloadCase::Good, 0},
                      DownloadCase{"ErrorPageOnlyListMessage", DownloadCase::ErrorPage, 1},
                      DownloadCase{"EmptyBodyOnlyHostMessage", DownloadCase::EmptyBody, 2},
                      DownloadCase{"ClosedPortHostMessage", DownloadCase::ClosedPort, 2},
                      DownloadCase{"NeverAnswersTimesOut", DownloadCase::NeverAnswers, 2},
                      DownloadCase{"ErrorStatusBodyKept", DownloadCase::ErrorStatusWithList, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, FailedListIsEmptiedSoItsTabShowsNoRows)
{
    host.setErrorPage(ListHost::ListPath(1));
    frmMain& w = start();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(w.listText(1).empty());
    EXPECT_EQ(listServers(w)->topLevelItemCount(), 0);
}

TEST(HttpGetTest, HostOfUrl)
{
    EXPECT_EQ(HttpGet::hostOf(QStringLiteral("http://lists.example.cz/zorvek/a.txt")),
              QStringLiteral("lists.example.cz"));
    EXPECT_EQ(HttpGet::hostOf(QStringLiteral("http://127.0.0.1:8780/zorvek/a.txt")),
              QStringLiteral("127.0.0.1"));
}

} // namespace
} // namespace zorvek::test
