// The demo set of the sample host: its servers read back by the program's parsing,
// its list host's files, the silent servers, the levelshots and the executable.
#include <array>
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "common/GameTable.h"
#include "common/TextCodec.h"
#include "query/StatusReply.h"
#include "sample-host/EmulatedGameServer.h"
#include "sample-host/ListHost.h"
#include "sample-host/SampleContent.h"
#include "sample-host/SampleNetwork.h"
#include "sample-host/ServerProfile.h"
#include "serverlist/ServerListParser.h"
#include "serverlist/ServerTable.h"
#include "support/HttpFetch.h"
#include "support/LoopbackPorts.h"
#include "support/UdpProbe.h"

namespace zorvek {
namespace {

std::string bytes(const QByteArray& data)
{
    return data.toStdString();
}

struct GameCase
{
    const char* name;
    int game;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const GameCase& row, std::ostream* out)
{
    *out << row.name;
}

class SampleGame : public ::testing::TestWithParam<GameCase>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_network.start()) << m_network.errorString().toStdString(); }

    QString url(const QString& path) const { return m_network.listHost()->baseUrl() + path; }

    SampleNetwork m_network;
};

TEST_P(SampleGame, AnsweringServersReadBackWithTheirMapsTypesAndPlayers)
{
    UdpProbe probe;
    int answering = 0;
    for (const SampleEntry& entry : m_network.entries(GetParam().game)) {
        if (!entry.server || entry.silent)
            continue;
        ++answering;
        const ServerProfile& profile = entry.server->profile();
        SCOPED_TRACE(profile.mapName.toStdString());
        const std::optional<QByteArray> reply = probe.ask(entry.port.toUShort(), StatusQueryBytes());
        ASSERT_TRUE(reply.has_value());
        const std::string text = bytes(*reply);
        EXPECT_EQ(zorvek::GetParam(text, "mapname"), bytes(profile.mapName));
        EXPECT_EQ(zorvek::GetParam(text, "g_gametype"), bytes(profile.gameType));
        EXPECT_EQ(static_cast<int>(ReadMaxClients(zorvek::GetParam(text, "sv_maxclients"))),
                  profile.maxClients);
        EXPECT_EQ(static_cast<int>(GetNumPlayers(text)), profile.players.size());
        PlayerSlots players;
        ASSERT_EQ(ParsePlayers(text, players), profile.players.size());
        for (int k = 1; k <= profile.players.size(); ++k)
            EXPECT_EQ(players[k].PlayerName, RemoveTags(bytes(profile.players[k - 1].name))) << k;
    }
    EXPECT_GE(answering, 3);
}

TEST_P(SampleGame, HoldsFullEmptySilentServersOnDifferentMapsAndOneWebLink)
{
    const QList<SampleEntry> entries = m_network.entries(GetParam().game);
    int full = 0, empty = 0, silent = 0, webLinks = 0;
    std::set<QByteArray> maps;
    for (const SampleEntry& entry : entries) {
        if (!entry.server) {
            ++webLinks;
            EXPECT_FALSE(entry.link.contains("EXE:"));
            EXPECT_TRUE(entry.link.startsWith(m_network.listHost()->baseUrl().toLatin1() + "/"));
            EXPECT_EQ(Fetch(QString::fromLatin1(entry.link)).status, 200);
            continue;
        }
        EXPECT_TRUE(entry.link.contains("EXE:"));
        const ServerProfile& p = entry.server->profile();
        EXPECT_EQ(p.game, GetParam().game);
        maps.insert(p.mapName);
        silent += entry.silent ? 1 : 0;
        if (!entry.silent) {
            full += p.players.size() == p.maxClients ? 1 : 0;
            empty += p.players.isEmpty() ? 1 : 0;
        }
    }
    EXPECT_GE(full, 1);
    EXPECT_GE(empty, 1);
    EXPECT_GE(silent, 1);
    EXPECT_EQ(webLinks, 1);
    EXPECT_EQ(maps.size(), static_cast<std::size_t>(entries.size() - webLinks)); // a map of its own each
}

TEST_P(SampleGame, ListFileAtItsPathPointsAtTheLiveServers)
{
    const int game = GetParam().game;
    const FetchResult list = Fetch(url(ListHost::ListPath(game)));
    ASSERT_TRUE(list.finished);
    ASSERT_EQ(list.status, 200);
    EXPECT_EQ(list.body, m_network.listText(game));

    // Records "name;host;port;link;" each ended by CR LF.
    const QList<SampleEntry> entries = m_network.entries(game);
    QList<QByteArray> lines = list.body.split('\n');
    ASSERT_TRUE(lines.takeLast().isEmpty());
    ASSERT_EQ(lines.size(), entries.size());
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith(";\r")) << line.toStdString();
        EXPECT_EQ(line.count(';'), 4) << line.toStdString();
    }

    // The program's own parser reads every record; each game server's port answers with its map.
    auto table = std::make_unique<ServerTable>();
    ParseServerList(bytes(list.body), Game(game).NumberFormat, *table);
    ASSERT_EQ(table->ServerCount, entries.size());
    UdpProbe probe;
    for (int slot = 1; slot <= table->ServerCount; ++slot) {
        const ServerSlot& s = (*table)[slot];
        const SampleEntry& entry = entries[slot - 1];
        SCOPED_TRACE(s.ServerName);
        EXPECT_EQ(s.ServerHost, "127.0.0.1");
        EXPECT_EQ(s.ServerPort, bytes(entry.port));
        EXPECT_EQ(s.ServerIsGame, entry.server != nullptr);
        EXPECT_EQ(FromCp1250(s.ServerName).mid(Game(game).NumberFormat.size() + 1),
                  FromCp1250(bytes(entry.listName)));
        if (!entry.server || entry.silent)
            continue;
        EXPECT_EQ(entry.server->port(), QByteArray::fromStdString(s.ServerPort).toUShort());
        const std::optional<QByteArray> reply =
            probe.ask(QByteArray::fromStdString(s.ServerPort).toUShort(), StatusQueryBytes());
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(zorvek::GetParam(bytes(*reply), "mapname"), bytes(entry.server->profile().mapName));
    }
}

TEST_P(SampleGame, SilentServersReceiveTheQueryAndNeverAnswer)
{
    UdpProbe probe;
    int silent = 0;
    for (const SampleEntry& entry : m_network.entries(GetParam().game)) {
        if (!entry.silent)
            continue;
        ++silent;
        QSignalSpy received(entry.server, &EmulatedGameServer::datagramReceived);
        ASSERT_TRUE(probe.send(entry.server->port(), StatusQueryBytes()));
        ASSERT_TRUE(received.wait(2000));
        ASSERT_TRUE(probe.send(entry.server->port(), "\xFF\xFF\xFF\xFFgetinfo 1"));
        ASSERT_TRUE(received.wait(2000));
        EXPECT_TRUE(probe.staysQuiet(250));
    }
    EXPECT_GE(silent, 1);
}

INSTANTIATE_TEST_SUITE_P(Games, SampleGame,
                         ::testing::Values(GameCase{"CodWaw", 1}, GameCase{"Cod4", 2}, GameCase{"CodUo", 3},
                                           GameCase{"Cod1", 4}, GameCase{"Cod2", 5}),
                         [](const ::testing::TestParamInfo<GameCase>& info) {
                             return std::string(info.param.name);
                         });

class SampleHost : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_network.start()) << m_network.errorString().toStdString(); }

    QString url(const QString& path) const { return m_network.listHost()->baseUrl() + path; }

    SampleNetwork m_network;
};

TEST_F(SampleHost, PlayersHaveColourCodedCzechNames)
{
    bool found = false;
    for (const SampleEntry& entry : m_network.entries()) {
        if (!entry.server)
            continue;
        for (const PlayerProfile& p : entry.server->profile().players)
            found = found || FromCp1250(RemoveTags(bytes(p.name))) == QStringLiteral("Žluťoučký kůň");
    }
    EXPECT_TRUE(found);
}

TEST_F(SampleHost, InfoFileNamesThePosterOnTheSameHost)
{
    const FetchResult info = Fetch(url(QStringLiteral("/zorvek/info.txt")));
    ASSERT_EQ(info.status, 200);
    ASSERT_TRUE(info.body.contains("$$$&&&***"));
    QList<QByteArray> fields = info.body.split('\n');
    ASSERT_TRUE(fields.takeLast().isEmpty());
    ASSERT_EQ(fields.size(), 6);
    for (QByteArray& field : fields) {
        ASSERT_TRUE(field.endsWith(";\r")) << field.toStdString();
        field.chop(2);
    }
    EXPECT_EQ(fields[0], "400");
    EXPECT_EQ(fields[1], "300");
    EXPECT_EQ(fields[2], url(QStringLiteral("/zorvek/poster.jpg")).toLatin1());
    EXPECT_EQ(fields[5], "$$$&&&***");
    EXPECT_EQ(Fetch(QString::fromLatin1(fields[3])).status, 200);

    const FetchResult poster = Fetch(QString::fromLatin1(fields[2]));
    ASSERT_EQ(poster.status, 200);
    EXPECT_EQ(poster.contentType, "image/jpeg");
    const QImage image = QImage::fromData(poster.body, "JPG");
    EXPECT_EQ(image.size(), QSize(400, 300));
}

TEST_F(SampleHost, WritesALevelshotForEveryMapIntoTheGameSubfolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(m_network.writeLevelshots(dir.path()));
    int files = 0;
    for (int game = 1; game <= kGameCount; ++game) {
        ASSERT_FALSE(m_network.maps(game).isEmpty());
        for (const QString& map : m_network.maps(game)) {
            const QString file =
                dir.path() + '/' + LevelshotSubfolder(game) + '/' + map + QStringLiteral(".jpg");
            const QImage image(file, "JPG");
            EXPECT_EQ(image.size(), QSize(150, 80)) << file.toStdString();
            ++files;
        }
    }
    // UO and CoD1 share one folder; the folder names carry no backslash.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"cod1-coduo", "cod2", "cod4", "codwaw"}));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + QStringLiteral("/cod1-coduo/mp_harbor.jpg")));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + QStringLiteral("/cod1-coduo/mp_arnhem.jpg")));
    EXPECT_GE(files, 25);
}

TEST_F(SampleHost, UnknownPathGetsAnErrorPage)
{
    const FetchResult page = Fetch(url(QStringLiteral("/zorvek/nothing.txt")));
    EXPECT_EQ(page.status, 404);
    EXPECT_TRUE(page.body.contains("DOCTYPE HTML PUBLIC"));
}

TEST(SampleNetworkSize, ExtraCod4ServersJoinTheListUpTo255Records)
{
    SampleNetwork ten;
    ASSERT_TRUE(ten.start(0, 10));
    SampleNetwork plain;
    ASSERT_TRUE(plain.start());
    EXPECT_EQ(ten.extraServerCount(), 10);
    EXPECT_EQ(ten.entries(2).size(), plain.entries(2).size() + 10);
    EXPECT_EQ(ten.entries(1).size(), plain.entries(1).size());

    SampleNetwork many;
    ASSERT_TRUE(many.start(0, 1000));
    EXPECT_EQ(many.entries(2).size(), 255);
    EXPECT_EQ(many.listText(2).count("\r\n"), 255);
    // The last game server of the long list answers.
    const QList<SampleEntry> cod4 = many.entries(2);
    const auto last = std::find_if(cod4.rbegin(), cod4.rend(), [](const SampleEntry& e) { return e.server; });
    ASSERT_NE(last, cod4.rend());
    UdpProbe probe;
    EXPECT_TRUE(probe.ask(last->server->port(), StatusQueryBytes()).has_value());
}

TEST(SampleNetworkSize, ReportsAnHttpPortInUse)
{
    SampleNetwork first;
    ASSERT_TRUE(first.start());
    SampleNetwork second;
    EXPECT_FALSE(second.start(first.listHost()->port()));
    EXPECT_FALSE(second.errorString().isEmpty());
}

// The sample-host executable as the scripts start it.
class SampleHostProgram : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Starts the program and returns its first line of output, waiting at most 20 s.
    QByteArray startAndReadFirstLine(const QStringList& arguments)
    {
        m_process.start(QStringLiteral(SAMPLE_HOST_EXECUTABLE), arguments);
        if (!m_process.waitForStarted(10000))
            return {};
        if (!QTest::qWaitFor(
                [this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; },
                20000))
            return {};
        return m_process.readLine().trimmed();
    }

    QProcess m_process;
};

TEST_F(SampleHostProgram, PrintsReadyServesListsAndEndsCleanlyOnSigterm)
{
    QTemporaryDir levelshots;
    ASSERT_TRUE(levelshots.isValid());
    const quint16 port = ClosedTcpPort();
    ASSERT_NE(port, 0);
    const QByteArray line = startAndReadFirstLine({QStringLiteral("--port"), QString::number(port),
                                                   QStringLiteral("--levelshots"), levelshots.path(),
                                                   QStringLiteral("--servers"), QStringLiteral("3")});
    ASSERT_EQ(line, "sample host ready on http://127.0.0.1:" + QByteArray::number(port));

    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    for (int game = 1; game <= kGameCount; ++game) {
        const FetchResult list = Fetch(base + ListHost::ListPath(game));
        EXPECT_EQ(list.status, 200) << game;
        EXPECT_FALSE(list.body.isEmpty()) << game;
    }
    // The three extra servers are in the CoD4 list, and its first server answers.
    SampleNetwork reference;
    ASSERT_TRUE(reference.start());
    const QByteArray cod4 = Fetch(base + ListHost::ListPath(2)).body;
    EXPECT_EQ(cod4.count("\r\n"), reference.entries(2).size() + 3);
    const QByteArray firstPort = cod4.split(';').value(2);
    UdpProbe probe;
    const std::optional<QByteArray> reply = probe.ask(firstPort.toUShort(), StatusQueryBytes());
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(zorvek::GetParam(bytes(*reply), "mapname"), "mp_crash");
    EXPECT_TRUE(QFileInfo::exists(levelshots.path() + QStringLiteral("/cod4/mp_crash.jpg")));
    EXPECT_EQ(Fetch(base + QStringLiteral("/zorvek/poster.jpg")).status, 200);

    m_process.terminate(); // SIGTERM
    ASSERT_TRUE(m_process.waitForFinished(10000));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
}

TEST_F(SampleHostProgram, FailsWhenItsPortIsTaken)
{
    ListHost holder;
    const quint16 port = holder.listen();
    ASSERT_NE(port, 0);
    m_process.start(QStringLiteral(SAMPLE_HOST_EXECUTABLE),
                    {QStringLiteral("--port"), QString::number(port)});
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_process.state() == QProcess::NotRunning; }, 20000));
    EXPECT_NE(m_process.exitCode(), 0);
    EXPECT_FALSE(m_process.readAllStandardOutput().contains("ready"));
}

TEST_F(SampleHostProgram, RejectsABadPort)
{
    m_process.start(QStringLiteral(SAMPLE_HOST_EXECUTABLE),
                    {QStringLiteral("--port"), QStringLiteral("http")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_process.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(m_process.exitCode(), 2);
}

} // namespace
} // namespace zorvek
