// What a query and a reply do to a server slot's values.
#include "query/ServerSlotUpdate.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

const std::string kHeader = "\xff\xff\xff\xffstatusResponse\n";

ServerSlot answeredSlot()
{
    ServerSlot slot;
    slot.ServerName = "001 Server";
    slot.ReplyText = "old reply";
    slot.GameType = "war";
    slot.MapName = "mp_crash";
    slot.FriendlyFire = "1";
    slot.KillCam = "0";
    slot.MaxClients = 24;
    slot.NumPlayers = 5;
    slot.Replied = true;
    slot.ShownReplied = true;
    slot.Players[1].PlayerName = "Hráč";
    return slot;
}

TEST(ResetForQueryTest, SettingsTakeTheirResetValuesAndTheReplyStays)
{
    ServerSlot slot = answeredSlot();
    ResetForQuery(slot);
    EXPECT_FALSE(slot.Replied);
    EXPECT_EQ(slot.GameType, "---");
    EXPECT_EQ(slot.MapName, "---");
    EXPECT_EQ(slot.FriendlyFire, "-");
    EXPECT_EQ(slot.KillCam, "-");
    EXPECT_EQ(slot.MaxClients, 0);
    EXPECT_EQ(slot.NumPlayers, 0);
    // What the row showed last and what the server sent last are not the query's to change.
    EXPECT_TRUE(slot.ShownReplied);
    EXPECT_EQ(slot.ReplyText, "old reply");
    EXPECT_EQ(slot.Players[1].PlayerName, "Hráč");
    EXPECT_EQ(slot.ServerName, "001 Server");
}

struct ReplyCase
{
    const char* label;
    std::string datagram;
    bool taken;
    std::string gameType, mapName, friendlyFire, killCam;
    int maxClients;
    int numPlayers;
};

class TakeReplyTest : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(TakeReplyTest, FillsTheSlotFromAReplyOfElevenBytesOrMore)
{
    const ReplyCase& c = GetParam();
    ServerSlot slot = answeredSlot();
    ResetForQuery(slot);
    slot.ShownReplied = false;
    ASSERT_EQ(TakeReply(slot, c.datagram), c.taken);
    if (!c.taken) {
        EXPECT_EQ(slot.ReplyText, "old reply");
        EXPECT_FALSE(slot.Replied);
        EXPECT_FALSE(slot.ShownReplied);
        EXPECT_EQ(slot.GameType, "---");
        return;
    }
    EXPECT_EQ(slot.ReplyText, c.datagram);
    EXPECT_TRUE(slot.Replied);
    EXPECT_TRUE(slot.ShownReplied);
    EXPECT_EQ(slot.GameType, c.gameType);
    EXPECT_EQ(slot.MapName, c.mapName);
    EXPECT_EQ(slot.FriendlyFire, c.friendlyFire);
    EXPECT_EQ(slot.KillCam, c.killCam);
    EXPECT_EQ(slot.MaxClients, c.maxClients);
    EXPECT_EQ(slot.NumPlayers, c.numPlayers);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, TakeReplyTest,
    testing::Values(ReplyCase{"FullReply",
                              kHeader + "\\g_gametype\\war\\mapname\\mp_crash\\scr_friendlyfire\\1\\scr_"
                                        "killcam\\0\\sv_maxclients\\24\n"
                                        "10 48 \"a\"\n20 50 \"b\"\n",
                              true, "war", "mp_crash", "1", "0", 24, 2},
                    ReplyCase{"MissingSettingsGiveEmptyCells", kHeader + "\\sv_hostname\\x\n", true, "", "",
                              "", "", 0, 0},
                    ReplyCase{"MaxClientsBeyondAByteGivesZero", kHeader + "\\sv_maxclients\\300\n", true, "",
                              "", "", "", 0, 0},
                    ReplyCase{"ElevenBytesCount", "\xff\xff\xff\xffstatus\n", true, "", "", "", "", 0, 0},
                    ReplyCase{"TenBytesChangeNothing", "\xff\xff\xff\xffstatus", false, "", "", "", "", 0, 0},
                    ReplyCase{"EmptyDatagramChangesNothing", "", false, "", "", "", "", 0, 0}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace zorvek
