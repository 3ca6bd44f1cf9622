// Replies captured from real game servers of three games: their settings, player
// counts and colour-free names, as read from the datagram files.
#include "query/StatusReply.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

std::string readReplyFile(const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(ZORVEK_REPLY_DATA_DIR) / name;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        ADD_FAILURE() << "cannot open " << path;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct NamedPlayer
{
    int slot;
    std::string name;
    double ping;
    std::string score;
};

struct CapturedCase
{
    const char* label;
    const char* file;
    const char* gameType;
    const char* mapName;
    const char* maxClients;
    const char* friendlyFire;
    const char* killCam;
    std::string hostName;
    int players;
    std::vector<NamedPlayer> named;
};

class CapturedReplyTest : public testing::TestWithParam<CapturedCase>
{
};

TEST_P(CapturedReplyTest, ReadsSettingsAndPlayers)
{
    const CapturedCase& c = GetParam();
    const std::string reply = readReplyFile(c.file);
    ASSERT_GT(reply.size(), 10u);

    EXPECT_EQ(zorvek::GetParam(reply, "g_gametype"), c.gameType);
    EXPECT_EQ(zorvek::GetParam(reply, "mapname"), c.mapName);
    EXPECT_EQ(zorvek::GetParam(reply, "sv_maxclients"), c.maxClients);
    EXPECT_EQ(zorvek::GetParam(reply, "scr_friendlyfire"), c.friendlyFire);
    EXPECT_EQ(zorvek::GetParam(reply, "scr_killcam"), c.killCam);
    EXPECT_EQ(zorvek::GetParam(reply, "sv_hostname"), c.hostName);
    EXPECT_EQ(GetNumPlayers(reply), c.players);

    PlayerSlots slots;
    ASSERT_EQ(ParsePlayers(reply, slots), c.players);
    for (const NamedPlayer& p : c.named) {
        const PlayerSlot& slot = slots[static_cast<std::size_t>(p.slot)];
        EXPECT_EQ(slot.PlayerName, p.name) << "player " << p.slot;
        EXPECT_DOUBLE_EQ(slot.PlayerPing, p.ping) << "player " << p.slot;
        EXPECT_EQ(slot.PlayerScore, p.score) << "player " << p.slot;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Servers, CapturedReplyTest,
    testing::Values(CapturedCase{"CoD1WithControlBytesInHostName",
                                 "status-cod_1.bin",
                                 "tdm",
                                 "mp_railyard",
                                 "64",
                                 "",
                                 "",
                                 std::string(10, '\x01') + "ne^5X^7us^5#^7TDM",
                                 18,
                                 {{1, std::string("00East22|00wood11.") + std::string(5, ' '), 168, "44"},
                                  {2, "G I T L E R", 39, "19"},
                                  {5, "#LE_PHYZ1X#", 31, "77"},
                                  {18, "MACHETERO<,", 237, "5"}}},
                    CapturedCase{"CoD1Empty",
                                 "status-cod_2.bin",
                                 "sd",
                                 "mp_harbor",
                                 "64",
                                 "",
                                 "",
                                 std::string(10, '\x01') + "ne^5X^7us^5#^7Harbor ^5[^71SK^5]",
                                 0,
                                 {}},
                    CapturedCase{"UnitedOffensiveBase",
                                 "status-coduo_1.bin",
                                 "bas",
                                 "mp_ponyri",
                                 "64",
                                 "0",
                                 "1",
                                 "Historians|Base|^twitch",
                                 27,
                                 {{3, "", 50, "0"},
                                  {11, "66/-/00-MamaMia", 115, "57"},
                                  {18, "  |H|Boss-Moss", 30, "44"},
                                  {27, "Tweedledee", 50, "16"}}},
                    CapturedCase{"UnitedOffensiveCtf",
                                 "status-coduo_2.bin",
                                 "ctf",
                                 "mp_cassino",
                                 "32",
                                 "0",
                                 "0",
                                 "^6{RA}^5The Real One",
                                 17,
                                 {{1, "{RA}SkyWalker", 131, "29"},
                                  {2, "{RA}0WickedPitty", 48, "0"},
                                  {14, "  11  sTraTos  ", 106, "22"},
                                  {17, "Hambone", 48, "23"}}},
                    CapturedCase{"UnitedOffensiveOnlyBasKillcam",
                                 "status-coduo_3.bin",
                                 "bas",
                                 "mp_ponyri",
                                 "31",
                                 "0",
                                 "",
                                 "FrontZet [^1Team Deathmatch^7]",
                                 17,
                                 {{4, "77KeX55*33Pa11w344eL", 80, "48"},
                                  {10, std::string(13, ' ') + "NINJA", 36, "28"},
                                  {16, "Captain Speirs    3T] -| 339", 146, "5"},
                                  {17, "FrontZet 19", 126, "2"}}},
                    CapturedCase{"CoD2TeamDeathmatch",
                                 "status-cod2_1.bin",
                                 "tdm",
                                 "mp_coastal_guns",
                                 "40",
                                 "",
                                 "",
                                 "^5IAF ^3Custom^7#1 ^3e^1X^3treme^2+ ^7v2",
                                 24,
                                 {{1, "Tater Tot", 33, "60"},
                                  {2, "IAF Je$ter", 36, "30"},
                                  {10, std::string("BETEPAH") + std::string(24, ' '), 36, "65"},
                                  {24, "yasu0shoot", 999, "0"}}},
                    CapturedCase{"CoD2CaptureTheFlag",
                                 "status-cod2_2.bin",
                                 "ctfb",
                                 "mp_draguignan_lib",
                                 "40",
                                 "",
                                 "",
                                 "^9[^1OUT^9LAW^1]^9e^1X^9treme^1+ ^9v2",
                                 38,
                                 {{2, "[OUTLAW]MsStorm", 57, "37"},
                                  {14, " HaShMoNeY", 34, "4"},
                                  {31, "[OUTLAW]colt .45", 57, "29"},
                                  {38, "ATILA", 259, "14"}}}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace zorvek
