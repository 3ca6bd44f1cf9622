#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "sample-host/EmulatedGameServer.h"
#include "sample-host/ListHost.h"
#include "support/Controls.h"
#include "support/MessageBoxRecorder.h"

namespace zorvek::test {

// A main window against a list host and emulated game servers on loopback, with a
// program folder of its own and every message box recorded.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_NE(host.listen(), 0);
        // No info window unless a test serves an info file of its own.
        host.removeContent(QStringLiteral("/zorvek/info.txt"));
        // Every game gets a list of one web-link entry unless a test serves another.
        for (int game = 1; game <= 5; ++game)
            host.setListText(game, record("Web", "127.0.0.1", "9", "http://www.example.cz"));
    }

    static QByteArray record(const QByteArray& name, const QByteArray& hostText, const QByteArray& port,
                             const QByteArray& link = "EXE:")
    {
        return name + ';' + hostText + ';' + port + ';' + link + ";\r\n";
    }

    EmulatedGameServer* addServer(ServerProfile profile = {})
    {
        auto server = std::make_unique<EmulatedGameServer>(std::move(profile));
        EXPECT_TRUE(server->start());
        servers.push_back(std::move(server));
        return servers.back().get();
    }

    // Serves game's list naming the given servers in order, names "S1", "S2", ...
    void serveGame(int game, const std::vector<EmulatedGameServer*>& list)
    {
        QByteArray text;
        int n = 0;
        for (EmulatedGameServer* server : list)
            text += record("S" + QByteArray::number(++n), "127.0.0.1", QByteArray::number(server->port()));
        host.setListText(game, text);
    }

    frmMain::Options options() const
    {
        frmMain::Options o;
        o.listHost = host.hostAndPort();
        o.webAddress = QStringLiteral("http://www.example.cz");
        o.programFolder = folder.path();
        o.httpTimeoutMs = 3000;
        o.versionMajor = 1;
        o.versionMinor = 1;
        o.versionPatch = 9;
        return o;
    }

    frmMain& start()
    {
        window = std::make_unique<frmMain>(options());
        window->Form_Load();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    static bool waitFor(const std::function<bool()>& condition, int ms = 5000)
    {
        return QTest::qWaitFor(condition, ms);
    }

    // Waits until every one of the servers has answered the latest query of its slot.
    bool waitForReplies(const std::vector<int>& indexes)
    {
        return waitFor([&] {
            for (int slot : indexes)
                if (!window->serverTable()[slot].Replied)
                    return false;
            return true;
        });
    }

    QString cell(int row, int column) const
    {
        return listServers(*window)->topLevelItem(row - 1)->text(column);
    }

    QTemporaryDir folder;
    ListHost host;
    std::vector<std::unique_ptr<EmulatedGameServer>> servers;
    MessageBoxRecorder boxes;
    std::unique_ptr<frmMain> window;
};

} // namespace zorvek::test
