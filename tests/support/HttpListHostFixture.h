#pragma once

#include <QElapsedTimer>
#include <QString>

#include "common/GameTable.h"
#include "support/MainWindowFixture.h"
#include "support/TestHttpServer.h"

namespace zorvek::test {

// The main window against a scripted HTTP server as its list host: every game's list is a
// single web-link entry unless a test scripts the path otherwise.
class HttpListHostFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(http.listen());
        for (int game = 1; game <= 5; ++game)
            http.serve(listPath(game),
                       record("Web" + QByteArray::number(game), "127.0.0.1", "9", "http://www.example.cz"));
    }

    static QString listPath(int game)
    {
        const std::string_view path = Game(game).ListPath;
        return QString::fromLatin1(path.data(), static_cast<qsizetype>(path.size()));
    }

    // Runs start-up against the scripted server and, when asked, shows the window; returns
    // how long start-up took.
    qint64 startAgainstHttp(int timeoutMs = 3000, bool show = true)
    {
        frmMain::Options o = options();
        o.listHost = http.hostAndPort();
        o.httpTimeoutMs = timeoutMs;
        window = std::make_unique<frmMain>(o);
        QElapsedTimer clock;
        clock.start();
        window->Form_Load();
        const qint64 elapsed = clock.elapsed();
        if (show) {
            window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        }
        return elapsed;
    }

    TestHttpServer http;
};

} // namespace zorvek::test
