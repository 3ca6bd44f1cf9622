// Hit collection of the player search over stored status replies.
#include "search/PlayerSearch.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/TextCodec.h"
#include "serverlist/ServerTable.h"

namespace zorvek {
namespace {

// A status reply as a game server sends it: header line, settings line, one line per player.
std::string Reply(const std::vector<std::string>& names)
{
    std::string reply = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_maxclients\\64\\mapname\\mp_crash\n";
    int score = 0;
    for (const std::string& name : names)
        reply += std::to_string(score++) + " 50 \"" + name + "\"\n";
    return reply;
}

std::string Cp1250(const char* utf8)
{
    return ToCp1250(QString::fromUtf8(utf8));
}

std::vector<std::string> Numbered(const std::string& prefix, int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

// Slot k of the table gets the reply with servers[k - 1]; an empty optional stands for a
// server that never answered.
std::unique_ptr<ServerTable> Table(const std::vector<std::vector<std::string>>& servers)
{
    auto table = std::make_unique<ServerTable>();
    table->ServerCount = static_cast<std::uint8_t>(servers.size());
    for (std::size_t i = 0; i < servers.size(); ++i)
        (*table)[static_cast<int>(i) + 1].ReplyText = Reply(servers[i]);
    return table;
}

struct Hit
{
    std::string name;
    int server;
};

struct SearchCase
{
    const char* label;
    std::vector<std::vector<std::string>> servers;
    const char* find; // UTF-8, as typed in the search box
    std::vector<Hit> hits;
    bool tooMany = false;
    int serverCount = -1; // -1: as many as there are servers
};

void PrintTo(const SearchCase& c, std::ostream* os)
{
    *os << c.label;
}

class HitCollection : public ::testing::TestWithParam<SearchCase>
{
};

TEST_P(HitCollection, FindsTheExpectedHits)
{
    const SearchCase& c = GetParam();
    auto table = Table(c.servers);
    if (c.serverCount >= 0)
        table->ServerCount = static_cast<std::uint8_t>(c.serverCount);

    const FoundPlayers found = CollectFoundPlayers(*table, QString::fromUtf8(c.find));

    EXPECT_EQ(found.tooMany, c.tooMany);
    EXPECT_EQ(found.FoundCount, static_cast<int>(found.hits.size()));
    ASSERT_EQ(found.hits.size(), c.hits.size());
    for (std::size_t i = 0; i < c.hits.size(); ++i) {
        EXPECT_EQ(found.hits[i].FoundName, c.hits[i].name) << "hit " << i + 1;
        EXPECT_EQ(found.hits[i].FoundServer, c.hits[i].server) << "hit " << i + 1;
    }
}

std::vector<Hit> NumberedHits(const std::string& prefix, int count, int perServer)
{
    std::vector<Hit> hits;
    for (int i = 1; i <= count; ++i)
        hits.push_back({prefix + std::to_string(((i - 1) % perServer) + 1), (i - 1) / perServer + 1});
    return hits;
}

const std::vector<std::string> kEight = Numbered("Hrac", 8);

INSTANTIATE_TEST_SUITE_P(
    Search, HitCollection,
    ::testing::Values(
        SearchCase{"EmptyTextListsEveryNamedPlayer",
                   {{"Alice", "Bob"}, {"", "Carl"}},
                   "",
                   {{"Alice", 1}, {"Bob", 1}, {"Carl", 2}}},
        SearchCase{"ExactlyThirtyTwoHitsAreListed",
                   {kEight, kEight, kEight, kEight},
                   "hrac",
                   NumberedHits("Hrac", 32, 8)},
        SearchCase{"ThirtyThirdHitIsTooMany",
                   {kEight, kEight, kEight, kEight, {"Hrac1"}},
                   "",
                   NumberedHits("Hrac", 32, 8),
                   true},
        SearchCase{"ThirtyThirdHitOnTheSameServerIsTooMany",
                   {Numbered("p", 40)},
                   "P",
                   NumberedHits("p", 32, 64),
                   true},
        SearchCase{
            "NonMatchingPlayersBeyondThirtyTwoDoNotCount", {Numbered("x", 40), {"Max"}}, "max", {{"Max", 2}}},
        SearchCase{"CaseAndColourCodesAreIgnored", {{"^1Pla^7yer", "Other"}}, "lay", {{"Player", 1}}},
        SearchCase{"LeadingSpaceTakesPart", {{"Bob", " Bob", "Bo b"}}, " bob", {{" Bob", 1}}},
        SearchCase{"TrailingSpaceTakesPart", {{"Bob", "Bob ", "Bobek"}}, "bob ", {{"Bob ", 1}}},
        SearchCase{"CzechLettersFoldTheirCase",
                   {{Cp1250("Řehoř"), Cp1250("ŽLUŤOUČKÝ kůň"), Cp1250("Rehor")}},
                   "řeh",
                   {{Cp1250("Řehoř"), 1}}},
        SearchCase{"CzechUpperCaseTextFindsLowerCaseName",
                   {{Cp1250("žluťoučký kůň"), Cp1250("zlutoucky")}},
                   "ŽLUŤ",
                   {{Cp1250("žluťoučký kůň"), 1}}},
        SearchCase{"EmptyServerListGivesNoHits", {{"Alice"}, {"Bob"}}, "", {}, false, 0},
        SearchCase{
            "SlotsAboveServerCountAreNotSearched", {{"Alice"}, {"Alina"}}, "al", {{"Alice", 1}}, false, 1},
        SearchCase{"TwoHitsOnOneServerBothPointToIt",
                   {{"Bob"}, {"Max", "Eve", "Maxim"}},
                   "max",
                   {{"Max", 2}, {"Maxim", 2}}},
        SearchCase{"HitsFollowSlotAndReplyOrder",
                   {{"zed", "amy"}, {}, {"bob", "ann"}},
                   "",
                   {{"zed", 1}, {"amy", 1}, {"bob", 3}, {"ann", 3}}},
        SearchCase{"SameNameOnTwoServersGivesTwoHits", {{"Max"}, {"Max"}}, "max", {{"Max", 1}, {"Max", 2}}},
        SearchCase{"NoMatchGivesNoHits", {{"Alice", "Bob"}}, "zz", {}},
        SearchCase{"OnlyTheFirstSixtyFourPlayersOfAServerAreSearched",
                   {Numbered("p", 70)},
                   "p6",
                   {{"p6", 1}, {"p60", 1}, {"p61", 1}, {"p62", 1}, {"p63", 1}, {"p64", 1}}}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.label); });

TEST(HitCollectionState, ServerWithoutStoredReplyContributesNoPlayers)
{
    auto table = Table({{"Alice"}, {}, {"Bob"}});
    (*table)[2].ReplyText.clear();

    const FoundPlayers found = CollectFoundPlayers(*table, QString());

    ASSERT_EQ(found.FoundCount, 2);
    EXPECT_EQ(found.hits[0].FoundServer, 1);
    EXPECT_EQ(found.hits[1].FoundServer, 3);
    EXPECT_EQ((*table)[2].NumPlayers, 0);
}

TEST(HitCollectionState, SearchStoresPlayersAndTheirCountOfEverySlot)
{
    auto table = Table({{"^1Pla^7yer", "Max"}});

    CollectFoundPlayers(*table, QStringLiteral("nobody"));

    EXPECT_EQ((*table)[1].NumPlayers, 2);
    EXPECT_EQ((*table)[1].Players[1].PlayerName, "Player");
    EXPECT_EQ((*table)[1].Players[2].PlayerName, "Max");
}

TEST(HitCollectionState, NamesOfAnEarlierReplyWithMorePlayersNeverAppear)
{
    auto table = Table({{"Alice", "Bob", "Carl"}});
    ASSERT_EQ(CollectFoundPlayers(*table, QString()).FoundCount, 3);

    (*table)[1].ReplyText = Reply({"Dan"});
    const FoundPlayers found = CollectFoundPlayers(*table, QString());

    ASSERT_EQ(found.FoundCount, 1);
    EXPECT_EQ(found.hits[0].FoundName, "Dan");
    EXPECT_EQ((*table)[1].Players[2].PlayerName, "Bob"); // still held, but not read
}

TEST(HitCollectionState, ReplyCutAfterAnOpeningQuoteDoesNotBringBackAnEarlierName)
{
    auto table = Table({{"Alice", "Bob"}});
    CollectFoundPlayers(*table, QString());

    // Three quotes after the settings line: one complete name and a cut one.
    (*table)[1].ReplyText = Reply({"Dan"}) + "0 40 \"Ev";
    const FoundPlayers found = CollectFoundPlayers(*table, QString());

    ASSERT_EQ(found.FoundCount, 1);
    EXPECT_EQ(found.hits[0].FoundName, "Dan");
}

TEST(HitCollectionState, QuotesInTheSettingsLineAreNoPlayers)
{
    auto table = std::make_unique<ServerTable>();
    table->ServerCount = 1;
    (*table)[1].ReplyText = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\\"Best\" server\n0 5 \"Ann\"\n";

    const FoundPlayers found = CollectFoundPlayers(*table, QString());

    ASSERT_EQ(found.FoundCount, 1);
    EXPECT_EQ(found.hits[0].FoundName, "Ann");
}

} // namespace
} // namespace zorvek
