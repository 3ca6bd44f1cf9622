// The server table: its player slots are made when a player is first stored, so that a
// table of 255 servers costs little before any reply, and a copy of a slot is a copy.
#include "serverlist/ServerTable.h"

#include <memory>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

TEST(ServerTableTest, AFreshTableHoldsNoPlayers)
{
    // 255 slots of 64 players each, kept inline, would take over a megabyte.
    EXPECT_LT(sizeof(ServerTable), 128u * 1024u);
    const auto table = std::make_unique<ServerTable>();
    for (int slot = 1; slot <= kMaxServers; ++slot) {
        ASSERT_FALSE((*table)[slot].Players.made()) << slot;
        ASSERT_EQ((*table)[slot].Players[kMaxPlayers].PlayerName, "") << slot;
    }
}

TEST(ServerTableTest, StoredPlayersStayAndCopiesAreTheirOwn)
{
    ServerSlot slot;
    slot.Players[3] = PlayerSlot{"Adam", 48, "12"};
    ASSERT_TRUE(slot.Players.made());
    EXPECT_EQ(slot.Players[1].PlayerName, "");

    ServerSlot copy = slot;
    copy.Players[3].PlayerName = "Bob";
    EXPECT_EQ(slot.Players[3].PlayerName, "Adam");
    EXPECT_DOUBLE_EQ(copy.Players[3].PlayerPing, 48);

    ServerSlot empty;
    copy = empty;
    EXPECT_FALSE(copy.Players.made());
    EXPECT_EQ(slot.Players[3].PlayerScore, "12");
}

} // namespace
} // namespace zorvek
