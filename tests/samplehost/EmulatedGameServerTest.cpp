// The emulated game server: its replies read back by the program's own reply parsing,
// and the ways tests bend it (raw replies, another port, floods, silence, recording).
#include <array>
#include <ostream>
#include <string>

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "common/TextCodec.h"
#include "query/StatusReply.h"
#include "sample-host/EmulatedGameServer.h"
#include "sample-host/ServerProfile.h"
#include "support/UdpProbe.h"

namespace zorvek {
namespace {

std::string bytes(const QByteArray& data)
{
    return data.toStdString();
}

QByteArray cp1250(const QString& text)
{
    return QByteArray::fromStdString(ToCp1250(text));
}

struct ProfileCase
{
    const char* name;
    ServerProfile profile;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const ProfileCase& row, std::ostream* out)
{
    *out << row.name;
}

ServerProfile czechProfile()
{
    ServerProfile p;
    p.game = 2;
    p.hostName = cp1250(QStringLiteral("^1Česká ^7liga"));
    p.gameType = "sd";
    p.mapName = "mp_backlot";
    p.maxClients = 18;
    p.friendlyFire = "1";
    p.killCam = "0";
    p.players = {{cp1250(QStringLiteral("^1Žluťoučký^7 kůň")), 12, 48},
                 {cp1250(QStringLiteral("Pepa^3Novák")), -3, 999},
                 {cp1250(QStringLiteral("Řehoř")), 0, 35}};
    return p;
}

ServerProfile fullProfile(int game, const char* type, const char* map, int clientCount)
{
    ServerProfile p;
    p.game = game;
    p.gameType = type;
    p.mapName = map;
    p.maxClients = clientCount;
    for (int i = 0; i < clientCount; ++i)
        p.players.append({"^" + QByteArray::number(i % 10) + "Hrac" + QByteArray::number(i), i * 2, 10 + i});
    return p;
}

ServerProfile emptyProfile()
{
    ServerProfile p;
    p.game = 5;
    p.gameType = "hq";
    p.mapName = "mp_dawnville";
    p.maxClients = 16;
    return p;
}

ServerProfile extraSettingsProfile()
{
    ServerProfile p;
    p.game = 4;
    p.gameType = "re";
    p.mapName = "mp_harbor";
    p.players = {{"Max", 7, 50}};
    // A setting whose name holds "mapname" comes first in the line; an extra setting
    // replaces the built-in kill-cam value.
    p.extraSettings = {{"g_mapname_rotation", "mp_depot"}, {"scr_killcam", "2"}};
    return p;
}

class EmulatedReplyReadBack : public ::testing::TestWithParam<ProfileCase>
{
};

TEST_P(EmulatedReplyReadBack, ParsingGivesTheProfileBack)
{
    const ServerProfile& profile = GetParam().profile;
    EmulatedGameServer server(profile);
    ASSERT_TRUE(server.start());
    UdpProbe probe;
    const std::optional<QByteArray> reply = probe.ask(server.port(), StatusQueryBytes());
    ASSERT_TRUE(reply.has_value());
    ASSERT_TRUE(reply->startsWith("\xFF\xFF\xFF\xFFstatusResponse\n"));

    const std::string text = bytes(*reply);
    EXPECT_EQ(zorvek::GetParam(text, "g_gametype"), bytes(profile.gameType));
    EXPECT_EQ(zorvek::GetParam(text, "mapname"), bytes(profile.mapName));
    EXPECT_EQ(static_cast<int>(ReadMaxClients(zorvek::GetParam(text, "sv_maxclients"))), profile.maxClients);
    const QByteArray killCam = profile.extraSettings.isEmpty() ? profile.killCam : QByteArray("2");
    EXPECT_EQ(zorvek::GetParam(text, "scr_friendlyfire"), bytes(profile.friendlyFire));
    EXPECT_EQ(zorvek::GetParam(text, "scr_killcam"), bytes(killCam));
    EXPECT_EQ(static_cast<int>(GetNumPlayers(text)), profile.players.size());

    PlayerSlots players;
    ASSERT_EQ(ParsePlayers(text, players), profile.players.size());
    for (int k = 1; k <= profile.players.size(); ++k) {
        const PlayerProfile& expected = profile.players[k - 1];
        SCOPED_TRACE(k);
        EXPECT_EQ(players[k].PlayerName, RemoveTags(bytes(expected.name)));
        EXPECT_EQ(players[k].PlayerScore, std::to_string(expected.score));
        EXPECT_EQ(players[k].PlayerPing, expected.ping);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, EmulatedReplyReadBack,
    ::testing::Values(ProfileCase{"CzechColourCodedNamesNegativeScoreAndPing999", czechProfile()},
                      ProfileCase{"FullCod4Server", fullProfile(2, "war", "mp_crash", 32)},
                      ProfileCase{"FullWawServer", fullProfile(1, "tdm", "mp_airfield", 24)},
                      ProfileCase{"FullUoServer", fullProfile(3, "bas", "mp_berlin", 28)},
                      ProfileCase{"EmptyCod2Server", emptyProfile()},
                      ProfileCase{"ExtraSettingsReplaceAndPrecedeWithoutConfusingTheParser",
                                  extraSettingsProfile()}),
    [](const ::testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

TEST(EmulatedReplyFormat, CzechNamesTravelAsWindows1250)
{
    const QByteArray reply = BuildStatusResponse(czechProfile());
    // "Ž" is 0x8E and "ř" is 0xF8 in Windows-1250; the UTF-8 form must not appear.
    EXPECT_TRUE(reply.contains("\"^1\x8Elu\x9Dou\xE8k\xFD^7 k\xF9\xF2\"\n"));
    EXPECT_FALSE(reply.contains(QStringLiteral("Ž").toUtf8()));
    PlayerSlots players;
    ParsePlayers(bytes(reply), players);
    EXPECT_EQ(FromCp1250(players[1].PlayerName), QStringLiteral("Žluťoučký kůň"));
    EXPECT_EQ(FromCp1250(players[3].PlayerName), QStringLiteral("Řehoř"));
}

TEST(EmulatedReplyFormat, HeaderSettingsLineAndPlayerLines)
{
    ServerProfile p;
    p.game = 2;
    p.hostName = "^1Host";
    p.players = {{"^2A", 5, 40}, {"B", -1, 999}};
    const QByteArray reply = BuildStatusResponse(p);
    const QList<QByteArray> lines = reply.split('\n');
    ASSERT_EQ(lines.size(), 5); // header, settings, two players, the empty rest after the last LF
    EXPECT_EQ(lines[0], QByteArray("\xFF\xFF\xFF\xFFstatusResponse"));
    EXPECT_TRUE(lines[1].startsWith('\\'));
    EXPECT_TRUE(lines[1].contains("\\sv_hostname\\^1Host\\"));
    EXPECT_TRUE(lines[1].contains("\\gamename\\Call of Duty 4\\"));
    EXPECT_TRUE(lines[1].contains("\\protocol\\6\\"));
    EXPECT_TRUE(lines[1].endsWith("\\pswrd\\0\\mod\\0"));
    EXPECT_EQ(lines[2], QByteArray("5 40 \"^2A\""));
    EXPECT_EQ(lines[3], QByteArray("-1 999 \"B\""));
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST(EmulatedReplyFormat, EveryGameNamesItsOwnBuild)
{
    const char* gameNames[] = {"Call of Duty: World at War", "Call of Duty 4", "CoD:United Offensive", "main",
                               "Call of Duty 2"};
    for (int game = 1; game <= 5; ++game) {
        ServerProfile p;
        p.game = game;
        const QByteArray reply = BuildStatusResponse(p);
        EXPECT_TRUE(reply.contains(QByteArray("\\gamename\\") + gameNames[game - 1] + '\\')) << game;
    }
}

TEST(EmulatedGameServer, GetinfoEchoesTheChallenge)
{
    ServerProfile profile = czechProfile();
    EmulatedGameServer server(profile);
    ASSERT_TRUE(server.start());
    UdpProbe probe;
    const std::optional<QByteArray> reply = probe.ask(server.port(), "\xFF\xFF\xFF\xFFgetinfo xyz-4711");
    ASSERT_TRUE(reply.has_value());
    ASSERT_TRUE(reply->startsWith("\xFF\xFF\xFF\xFFinfoResponse\n\\"));
    const std::string text = bytes(*reply);
    EXPECT_EQ(zorvek::GetParam(text, "challenge"), "xyz-4711");
    EXPECT_EQ(zorvek::GetParam(text, "mapname"), "mp_backlot");
    EXPECT_EQ(zorvek::GetParam(text, "gametype"), "sd");
    EXPECT_EQ(zorvek::GetParam(text, "clients"), "3");
    EXPECT_EQ(zorvek::GetParam(text, "sv_maxclients"), "18");
    EXPECT_EQ(zorvek::GetParam(text, "hostname"), bytes(profile.hostName));
    // A second getinfo with another challenge gets that one back.
    const std::optional<QByteArray> second = probe.ask(server.port(), "\xFF\xFF\xFF\xFFgetinfo 99");
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(zorvek::GetParam(bytes(*second), "challenge"), "99");
}

TEST(EmulatedGameServer, AnswersOnlyQueriesItKnows)
{
    EmulatedGameServer server(czechProfile());
    ASSERT_TRUE(server.start());
    UdpProbe probe;
    ASSERT_TRUE(probe.send(server.port(), "getstatus"));                    // without the 0xFF prefix
    ASSERT_TRUE(probe.send(server.port(), "\xFF\xFF\xFF\xFFgetchallenge")); // not emulated
    EXPECT_TRUE(probe.staysQuiet(300));
    EXPECT_EQ(server.received().size(), 2);
    EXPECT_EQ(server.statusQueryCount(), 0);
}

TEST(EmulatedGameServer, SilentServerRecordsButNeverAnswers)
{
    ServerProfile profile = czechProfile();
    profile.silent = true;
    EmulatedGameServer server(profile);
    ASSERT_TRUE(server.start());
    UdpProbe probe;
    QSignalSpy received(&server, &EmulatedGameServer::datagramReceived);
    ASSERT_TRUE(probe.send(server.port(), StatusQueryBytes()));
    ASSERT_TRUE(probe.send(server.port(), "\xFF\xFF\xFF\xFFgetinfo 1"));
    ASSERT_TRUE(received.wait(2000));
    if (received.size() < 2) {
        ASSERT_TRUE(received.wait(2000));
    }
    EXPECT_EQ(server.statusQueryCount(), 1);
    EXPECT_TRUE(probe.staysQuiet(300));
}

TEST(EmulatedGameServer, RawReplyReplacesTheBuiltOne)
{
    EmulatedGameServer server(czechProfile());
    ASSERT_TRUE(server.start());
    const QByteArray raw("\xFF\xFF\xFF\xFFjunk\0\x01\x02", 11);
    server.setRawReply(raw);
    EXPECT_EQ(server.statusReply(), raw);
    UdpProbe probe;
    EXPECT_EQ(probe.ask(server.port(), StatusQueryBytes()), raw);

    server.clearRawReply();
    EXPECT_EQ(probe.ask(server.port(), StatusQueryBytes()), BuildStatusResponse(czechProfile()));
}

TEST(EmulatedGameServer, AnswersFromAnotherPortWhenAsked)
{
    EmulatedGameServer server(czechProfile());
    ASSERT_TRUE(server.start());
    const quint16 other = server.answerFromOtherPort();
    ASSERT_NE(other, 0);
    ASSERT_NE(other, server.port());
    UdpProbe probe;
    ASSERT_TRUE(probe.ask(server.port(), StatusQueryBytes()).has_value());
    EXPECT_EQ(probe.senderPorts().value(0), other);

    server.answerFromOwnPort();
    ASSERT_TRUE(probe.ask(server.port(), StatusQueryBytes()).has_value());
    EXPECT_EQ(probe.senderPorts().value(1), server.port());
}

TEST(EmulatedGameServer, FloodAnswersEveryQueryNTimes)
{
    EmulatedGameServer server(czechProfile());
    ASSERT_TRUE(server.start());
    server.setReplyCount(5);
    UdpProbe probe;
    ASSERT_TRUE(probe.send(server.port(), StatusQueryBytes()));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(probe.next(2000).has_value()) << i;
    EXPECT_TRUE(probe.staysQuiet(200));
}

TEST(EmulatedGameServer, DelayedReplyComesAfterTheDelay)
{
    EmulatedGameServer server(czechProfile());
    ASSERT_TRUE(server.start());
    server.setReplyDelay(400);
    UdpProbe probe;
    ASSERT_TRUE(probe.send(server.port(), StatusQueryBytes()));
    EXPECT_TRUE(probe.staysQuiet(150));
    EXPECT_TRUE(probe.next(3000).has_value());
}

TEST(EmulatedGameServer, RecordsEveryDatagramWithSenderAndProcessWideSequence)
{
    EmulatedGameServer first(czechProfile());
    EmulatedGameServer second(emptyProfile());
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start());
    UdpProbe probe;
    QSignalSpy spy(&second, &EmulatedGameServer::datagramReceived);
    ASSERT_TRUE(probe.ask(first.port(), StatusQueryBytes()).has_value());
    ASSERT_TRUE(probe.ask(second.port(), StatusQueryBytes()).has_value());
    ASSERT_TRUE(probe.ask(first.port(), "\xFF\xFF\xFF\xFFgetinfo a").has_value());

    ASSERT_EQ(first.received().size(), 2);
    ASSERT_EQ(second.received().size(), 1);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toByteArray(), StatusQueryBytes());
    EXPECT_EQ(spy[0][1].value<quint16>(), probe.port());
    EXPECT_EQ(spy[0][2].value<quint64>(), second.received()[0].sequence);

    EXPECT_EQ(first.received()[0].data, StatusQueryBytes());
    EXPECT_EQ(first.received()[0].senderPort, probe.port());
    EXPECT_EQ(first.received()[0].senderAddress, QHostAddress(QHostAddress::LocalHost));
    EXPECT_LT(first.received()[0].sequence, second.received()[0].sequence);
    EXPECT_LT(second.received()[0].sequence, first.received()[1].sequence);

    first.clearReceived();
    EXPECT_TRUE(first.received().isEmpty());
}

TEST(EmulatedGameServer, BindsTheGivenPortOnLoopbackOnly)
{
    EmulatedGameServer holder(czechProfile());
    ASSERT_TRUE(holder.start());
    EmulatedGameServer clash(czechProfile());
    EXPECT_FALSE(clash.start(holder.port())); // the port is taken
}

} // namespace
} // namespace zorvek
