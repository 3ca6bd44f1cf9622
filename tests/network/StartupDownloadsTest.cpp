// Start-up's downloads against a real HTTP server on loopback: side by side, each with its
// own time-out, the results taken in the documented order, and the start-up window.
#include <set>

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "app/StartupWindow.h"
#include "support/HttpListHostFixture.h"
#include "support/Pictures.h"

namespace zorvek::test {
namespace {

const QString kInfoPath = QStringLiteral("/zorvek/info.txt");
const QString kPosterPath = QStringLiteral("/poster.jpg");

// Watches for the start-up window while start-up runs, as a user would see it.
class StartupWindowWatch : public QObject
{
public:
    StartupWindowWatch()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* startup = qobject_cast<StartupWindow*>(w);
                if (!startup || !startup->isVisible())
                    continue;
                seen = true;
                title = startup->windowTitle();
                for (QLabel* label : startup->findChildren<QLabel*>())
                    texts << label->text();
                if (auto* bar = startup->findChild<QProgressBar*>())
                    maximum = std::max(maximum, bar->maximum());
                buttons = static_cast<int>(startup->findChildren<QAbstractButton*>().size());
                closeButton = startup->windowFlags().testFlag(Qt::WindowCloseButtonHint);
            }
        });
        m_timer.start();
    }

    bool seen = false;
    QString title;
    QStringList texts;
    int maximum = 0;
    int buttons = 0;
    bool closeButton = false;

private:
    QTimer m_timer;
};

class StartupDownloadsTest : public HttpListHostFixture
{
protected:
    void servePoster()
    {
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("levelshots")));
        http.serve(kPosterPath, JpegBytes(40, 30), 200, "image/jpeg");
        http.serve(kInfoPath, "40;\r\n30;\r\n" + http.url(kPosterPath).toLatin1() +
                                  ";\r\nhttp://www.example.cz;\r\ntip;\r\n$$$&&&***;\r\n");
    }

    // The paths asked for before the server sent its first answer.
    std::set<QString> askedBeforeTheFirstAnswer() const
    {
        std::set<QString> asked;
        for (const TestHttpServer::Event& e : http.events()) {
            if (e.kind == TestHttpServer::Event::Answer)
                break;
            asked.insert(e.path);
        }
        return asked;
    }

    static std::set<QString> listsAndInfo()
    {
        std::set<QString> paths{kInfoPath};
        for (int game = 1; game <= 5; ++game)
            paths.insert(listPath(game));
        return paths;
    }
};

TEST_F(StartupDownloadsTest, ASlowHostIsAskedForTheListsAndTheInfoFileAtOnce)
{
    http.setAnswerDelay(600);
    http.setKeepAlive(true);
    servePoster();
    StartupWindowWatch watch;
    startAgainstHttp(3000, false);

    // Every list and the info file went out before anything came back: one delay for them
    // all, not one after the other.
    EXPECT_EQ(askedBeforeTheFirstAnswer(), listsAndInfo());
    // The poster follows the info file, over a connection that is open already.
    int infoAnswered = -1;
    int posterAsked = -1;
    int posterConnection = 0;
    std::set<int> connectionsBefore;
    for (int i = 0; i < http.events().size(); ++i) {
        const TestHttpServer::Event& e = http.events()[i];
        if (e.kind == TestHttpServer::Event::Answer && e.path == kInfoPath)
            infoAnswered = i;
        if (e.kind == TestHttpServer::Event::Request && e.path == kPosterPath) {
            posterAsked = i;
            posterConnection = e.connection;
        } else if (posterAsked < 0 && e.kind == TestHttpServer::Event::Request) {
            connectionsBefore.insert(e.connection);
        }
    }
    ASSERT_GE(infoAnswered, 0);
    EXPECT_GT(posterAsked, infoAnswered);
    EXPECT_TRUE(connectionsBefore.count(posterConnection))
        << "the poster came over connection " << posterConnection;
    EXPECT_EQ(http.connectionsAccepted(), static_cast<int>(connectionsBefore.size()));
    EXPECT_EQ(http.requestCount(kPosterPath), 1);
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(window->infoState(), 0) << "the poster arrived";

    // The start-up window showed what went on, and is gone before the main window shows.
    EXPECT_TRUE(watch.seen);
    EXPECT_EQ(watch.title, QStringLiteral("Zorvek"));
    EXPECT_TRUE(watch.texts.contains(QStringLiteral("Zorvek")));
    EXPECT_TRUE(watch.texts.contains(QString::fromUtf8("Stahuji seznamy serverů…")));
    EXPECT_GE(watch.maximum, 6);
    EXPECT_EQ(watch.buttons, 0);
    EXPECT_FALSE(watch.closeButton);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<StartupWindow*>(w) && w->isVisible());
}

TEST_F(StartupDownloadsTest, AHostThatNeverAnswersGivesEveryMessageAndStartUpEnds)
{
    for (int game = 1; game <= 5; ++game)
        http.neverAnswer(listPath(game));
    http.neverAnswer(kInfoPath);
    startAgainstHttp(1000, false);
    EXPECT_EQ(boxes.texts(),
              QStringList(5, QString::fromUtf8("Server se seznamy (127.0.0.1) je nedostupný!")));
    // All six were asked for at once, each once, and each ran into its own time-out.
    EXPECT_EQ(askedBeforeTheFirstAnswer(), listsAndInfo());
    for (const QString& path : listsAndInfo())
        EXPECT_EQ(http.requestCount(path), 1) << path.toStdString();
    EXPECT_EQ(window->infoState(), 99);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

TEST_F(StartupDownloadsTest, FailedListsAreReportedInGameOrderAmongGoodOnes)
{
    http.setAnswerDelay(100);
    // Game 4's list never comes while game 5's error page is in after the first delay; the
    // messages still come in game order.
    http.serveErrorPage(listPath(2));
    http.neverAnswer(listPath(4));
    http.serveErrorPage(listPath(5));
    startAgainstHttp(1500, false);
    const QString nowhere = QString::fromUtf8("Server se seznamy (127.0.0.1) je nedostupný!");
    EXPECT_EQ(boxes.texts(), QStringList({QString::fromUtf8("Seznam serverů (") + http.url(listPath(2)) +
                                              QString::fromUtf8(") je nedostupný!"),
                                          nowhere,
                                          QString::fromUtf8("Seznam serverů (") + http.url(listPath(5)) +
                                              QString::fromUtf8(") je nedostupný!")}));
    EXPECT_FALSE(window->listText(1).empty());
    EXPECT_TRUE(window->listText(2).empty());
    EXPECT_FALSE(window->listText(3).empty());
    EXPECT_TRUE(window->listText(4).empty());
    EXPECT_TRUE(window->listText(5).empty());
}

} // namespace
} // namespace zorvek::test
