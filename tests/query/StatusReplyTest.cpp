// Reading a status reply: settings, the player count and the player lines, including
// malformed, oversized and line-feed-less replies.
#include "query/StatusReply.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

using Players = PlayerSlots;

const std::string kHeader = std::string(4, '\xFF') + "statusResponse\n";
const std::string kSettings = R"(\g_gametype\dm\mapname\mp_crash\sv_maxclients\20)";

std::string reply(std::string_view settings, std::string_view playerLines = "")
{
    return kHeader + std::string(settings) + "\n" + std::string(playerLines);
}

// Player slots as an earlier reply left them, to see what a parse leaves alone.
std::unique_ptr<Players> oldPlayers()
{
    auto players = std::make_unique<Players>();
    for (int k = 1; k <= kMaxPlayers; ++k)
        (*players)[k] = PlayerSlot{"old" + std::to_string(k), 1.0 * k, "-" + std::to_string(k)};
    return players;
}

std::string nameLines(int count)
{
    std::string lines;
    for (int k = 1; k <= count; ++k)
        lines += std::to_string(k) + " " + std::to_string(100 + k) + " \"^" + std::to_string(k % 10) + "P" +
                 std::to_string(k) + "\"\n";
    return lines;
}

template <typename Case> std::string rowName(const testing::TestParamInfo<Case>& info)
{
    return info.param.label;
}

// --- GetParam ----------------------------------------------------------------------

struct ParamCase
{
    const char* label;
    std::string reply;
    const char* name;
    std::string expected;
};

class GetParamTest : public testing::TestWithParam<ParamCase>
{
};

TEST_P(GetParamTest, ReadsOneSetting)
{
    const ParamCase& c = GetParam();
    EXPECT_EQ(zorvek::GetParam(c.reply, c.name), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GetParamTest,
    testing::Values(
        ParamCase{"Found", reply(kSettings, "3 40 \"A\"\n"), "mapname", "mp_crash"},
        ParamCase{"FirstSetting", reply(kSettings), "g_gametype", "dm"},
        ParamCase{"LastSettingEndsAtTheLine", reply(kSettings, "3 40 \"A\"\n"), "sv_maxclients", "20"},
        ParamCase{"ValueRunsToEndOfText", kHeader + R"(\mapname\mp_crash\sv_maxclients\20)", "sv_maxclients",
                  "20"},
        ParamCase{"Absent", reply(kSettings), "scr_killcam", ""}, ParamCase{"EmptyReply", "", "mapname", ""},
        ParamCase{"EmptyValue", reply(R"(\mapname\\g_gametype\dm)"), "mapname", ""},
        ParamCase{"EmptyValueAtEnd", reply(R"(\g_gametype\dm\mapname\)"), "mapname", ""},
        ParamCase{"NameWithoutValue", reply(R"(\g_gametype\dm\mapname)"), "mapname", ""},
        ParamCase{"CutAtFullStop", reply(R"(\shortversion\1.5\mapname\mp_crash)"), "shortversion", "1"},
        ParamCase{"ValueStartingWithFullStop", reply(R"(\mapname\.x\g_gametype\dm)"), "mapname", ""},
        ParamCase{"NameStartingWithFullStop", reply(R"(\.Hosted_By\www.example.cz\mapname\mp_crash)"),
                  ".Hosted_By", "www"},
        ParamCase{"CaseSensitive", reply(R"(\Mapname\mp_crash\g_gametype\dm)"), "mapname", ""},
        ParamCase{"LongerNameEarlierIsSkipped", reply(R"(\sv_mapname\mp_old\mapname\mp_crash)"), "mapname",
                  "mp_crash"},
        ParamCase{"OnlyLongerNamePresent", reply(R"(\scr_bas_killcam\1\g_gametype\bas)"), "killcam", ""},
        ParamCase{"LongerNameAfterIsSkipped", reply(R"(\mapname_next\mp_old\mapname\mp_crash)"), "mapname",
                  "mp_crash"},
        ParamCase{"ValueEqualToTheNameIsNoName", reply(R"(\sv_hostname\mapname\mapname\mp_crash)"), "mapname",
                  "mp_crash"},
        ParamCase{"FirstOfTwoWins", reply(R"(\mapname\mp_crash\mapname\mp_backlot)"), "mapname", "mp_crash"},
        ParamCase{"NotInPlayerName", reply(R"(\g_gametype\dm)", "0 50 \"\\mapname\\mp_fake\"\n"), "mapname",
                  ""},
        ParamCase{"NotInHeader",
                  std::string(4, '\xFF') + "statusResponse\\mapname\\mp_fake\\\n\\g_gametype\\dm\n",
                  "mapname", ""},
        ParamCase{"EightBitValueKept",
                  reply("\\sv_hostname\\\xC8"
                        "esk\xFD server\\g_gametype\\dm"),
                  "sv_hostname",
                  "\xC8"
                  "esk\xFD server"},
        ParamCase{"TextBeforeFirstBackslashSkipped", reply(R"(junk\mapname\mp_crash)"), "mapname",
                  "mp_crash"},
        ParamCase{"NameWithoutLeadingBackslash", reply(R"(mapname\mp_fake)"), "mapname", ""},
        ParamCase{"EmptyNameGivesNothing", reply(R"(\\value\mapname\mp_crash)"), "", ""},
        ParamCase{"WithoutLineFeedNoSettings", R"(\mapname\mp_crash\g_gametype\dm)", "mapname", ""}),
    rowName<ParamCase>);

// --- GetNumPlayers -------------------------------------------------------------------

struct CountCase
{
    const char* label;
    std::string reply;
    int expected;
};

class GetNumPlayersTest : public testing::TestWithParam<CountCase>
{
};

TEST_P(GetNumPlayersTest, HalvesThePlayerQuotes)
{
    const CountCase& c = GetParam();
    EXPECT_EQ(GetNumPlayers(c.reply), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, GetNumPlayersTest,
    testing::Values(
        CountCase{"NoPlayers", reply(kSettings), 0},
        CountCase{"TwoPlayers", reply(kSettings, "1 50 \"A\"\n2 60 \"B\"\n"), 2},
        CountCase{"OneQuoteRoundsToZero", reply(kSettings, "1 50 \"A\n"), 0},
        CountCase{"ThreeQuotesRoundToTwo", reply(kSettings, "1 50 \"A\"\n2 60 \"B\n"), 2},
        CountCase{"FiveQuotesRoundToTwo", reply(kSettings, "1 50 \"A\"\n2 60 \"B\"\n3 70 \"C\n"), 2},
        CountCase{"SevenQuotesRoundToFour", reply(kSettings, "\"\"\"\"\"\"\"\n"), 4},
        CountCase{"QuotesInSettingsIgnored",
                  reply(R"(\sv_hostname\"Best" "server"\mapname\mp_crash)", "1 50 \"A\"\n2 60 \"B\"\n"), 2},
        CountCase{"QuoteInHeaderIgnored", "\xFF\xFF\xFF\xFFstatus\"Response\n\\mapname\\x\n1 50 \"A\"\n", 1},
        CountCase{"OneLineFeedHasNoPlayers", kHeader + "\\sv_hostname\\\"a\" \"b\"", 0},
        CountCase{"NoLineFeedHasNoPlayers", "0 50 \"A\" 1 60 \"B\"", 0}, CountCase{"EmptyReply", "", 0},
        CountCase{"Quotes256CountBeyondAByte", reply(kSettings, std::string(256, '"')), 128},
        CountCase{"Quotes300", reply(kSettings, std::string(300, '"')), 150},
        CountCase{"Quotes600StopAt255", reply(kSettings, std::string(600, '"')), 255},
        CountCase{"SixtyFivePlayers", reply(kSettings, nameLines(65)), 65}),
    rowName<CountCase>);

// --- ParsePlayers ----------------------------------------------------------------------

struct Player
{
    std::string name;
    double ping;
    std::string score;
};

struct PlayersCase
{
    const char* label;
    std::string reply;
    std::vector<Player> players;
};

class ParsePlayersTest : public testing::TestWithParam<PlayersCase>
{
};

TEST_P(ParsePlayersTest, FillsOneSlotPerQuotePair)
{
    const PlayersCase& c = GetParam();
    auto slots = oldPlayers();
    const int count = int(c.players.size());
    ASSERT_EQ(ParsePlayers(c.reply, *slots), count);
    for (int k = 1; k <= count; ++k) {
        const Player& expected = c.players[std::size_t(k - 1)];
        EXPECT_EQ((*slots)[k].PlayerName, expected.name) << "player " << k;
        EXPECT_DOUBLE_EQ((*slots)[k].PlayerPing, expected.ping) << "player " << k;
        EXPECT_EQ((*slots)[k].PlayerScore, expected.score) << "player " << k;
    }
    const PlayerSlot& above = (*slots)[count + 1];
    EXPECT_EQ(above.PlayerName, "old" + std::to_string(count + 1));
    EXPECT_DOUBLE_EQ(above.PlayerPing, count + 1);
    EXPECT_EQ(above.PlayerScore, "-" + std::to_string(count + 1));
}

// A server slot's players are made only when the reply has one, and then take the same.
TEST_P(ParsePlayersTest, ServerSlotPlayersAreMadeOnlyForAPlayer)
{
    const PlayersCase& c = GetParam();
    PlayerSlots slots;
    const int count = int(c.players.size());
    ASSERT_EQ(ParsePlayers(c.reply, slots), count);
    EXPECT_EQ(slots.made(), count > 0);
    const PlayerSlots& stored = slots;
    for (int k = 1; k <= count; ++k) {
        const Player& expected = c.players[std::size_t(k - 1)];
        EXPECT_EQ(stored[k].PlayerName, expected.name) << "player " << k;
        EXPECT_DOUBLE_EQ(stored[k].PlayerPing, expected.ping) << "player " << k;
        EXPECT_EQ(stored[k].PlayerScore, expected.score) << "player " << k;
    }
    EXPECT_EQ(stored[count + 1].PlayerName, "");
    EXPECT_EQ(stored[count + 1].PlayerScore, "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParsePlayersTest,
    testing::Values(
        PlayersCase{"ScorePingName", reply(kSettings, "12 48 \"^1Max\"\n"), {{"Max", 48, "12"}}},
        PlayersCase{"NegativeScore", reply(kSettings, "-3 999 \"A\"\n"), {{"A", 999, "-3"}}},
        PlayersCase{"PaddedScoreAndPing", reply(kSettings, "007 050 \"B\"\n"), {{"B", 50, "7"}}},
        PlayersCase{"FractionalScore", reply(kSettings, "12.5 3 \"C\"\n"), {{"C", 3, "12.5"}}},
        PlayersCase{"ColourCodesRemoved",
                    reply(kSettings, "0 33 \"^5IAF ^4Bob\"\n70 34 \"^^00East\"\n"),
                    {{"IAF Bob", 33, "0"}, {"00East", 34, "70"}}},
        PlayersCase{"EmptyName", reply(kSettings, "0 50 \"\"\n"), {{"", 50, "0"}}},
        PlayersCase{"SpacesInNameKept", reply(kSettings, "4 34 \" Ha Sh \"\n"), {{" Ha Sh ", 34, "4"}}},
        PlayersCase{"DigitsInNameNotInPing", reply(kSettings, "10 20 \"123\"\n"), {{"123", 20, "10"}}},
        PlayersCase{"EightBitName",
                    reply(kSettings, "1 2 \"\xC8"
                                     "ech\"\n"),
                    {{"\xC8"
                      "ech",
                      2, "1"}}},
        PlayersCase{"CrLfLineEnds",
                    reply(kSettings, "12 48 \"Max\"\r\n3 4 \"B\"\r\n"),
                    {{"Max", 48, "12"}, {"B", 4, "3"}}},
        // "a"b" holds three quotes: the third opens a pair that closes on the next line.
        PlayersCase{"QuoteInNameShiftsPairs",
                    reply(kSettings, "1 50 \"a\"b\"\n2 60 \"c\"\n"),
                    {{"a", 50, "1"}, {"\n2 60 ", 50, "1"}}},
        PlayersCase{"UnpairedLastQuote", reply(kSettings, "1 2 \"a\"\n3 4 \"b\n"), {{"a", 2, "1"}}},
        PlayersCase{
            "TwoNamesOnOneLine", reply(kSettings, "1 2 \"a\" \"b\"\n"), {{"a", 2, "1"}, {"b", 2, "1"}}},
        PlayersCase{"LineWithoutSpace", reply(kSettings, "5\"x\"\n"), {{"x", 0, "5"}}},
        PlayersCase{"SpaceOnlyInsideName", reply(kSettings, "5\"x y\"\n"), {{"x y", 0, "5"}}},
        PlayersCase{"NoNumbers", reply(kSettings, "\"x\"\n"), {{"x", 0, "0"}}},
        PlayersCase{"QuotesInSettingsDoNotPair",
                    reply(R"(\sv_hostname\"Best"\mapname\x)", "1 2 \"A\"\n"),
                    {{"A", 2, "1"}}},
        PlayersCase{"HeaderAndSettingsOnly", reply(kSettings), {}},
        PlayersCase{"OneLineFeedHasNoPlayers", kHeader + "\\sv_hostname\\\"a\" \"b\"", {}},
        PlayersCase{"NoLineFeedHasNoPlayers", "0 50 \"A\" 1 60 \"B\"", {}},
        PlayersCase{"EmptyReply", "", {}}),
    rowName<PlayersCase>);

struct ManyCase
{
    const char* label;
    int players;
};

class ManyPlayersTest : public testing::TestWithParam<ManyCase>
{
};

TEST_P(ManyPlayersTest, StoresTheFirst64AndCountsAll)
{
    const int total = GetParam().players;
    auto slots = oldPlayers();
    const std::string text = reply(kSettings, nameLines(total));

    ASSERT_EQ(ParsePlayers(text, *slots), total);
    EXPECT_EQ(GetNumPlayers(text), std::min(total, 255));
    for (int k = 1; k <= kMaxPlayers; ++k) {
        ASSERT_EQ((*slots)[k].PlayerName, "P" + std::to_string(k)) << "player " << k;
        ASSERT_EQ((*slots)[k].PlayerScore, std::to_string(k)) << "player " << k;
        ASSERT_DOUBLE_EQ((*slots)[k].PlayerPing, 100 + k) << "player " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, ManyPlayersTest,
                         testing::Values(ManyCase{"Exactly64", 64}, ManyCase{"The65th", 65},
                                         ManyCase{"ThreeHundred", 300}),
                         rowName<ManyCase>);

TEST(StatusReplyTest, LongNameIsStoredWhole)
{
    std::string raw;
    for (int i = 0; i < 100; ++i)
        raw += "^1ab";
    const std::string text = reply(kSettings, "1 2 \"" + raw + "\"\n");
    auto slots = oldPlayers();
    ASSERT_EQ(ParsePlayers(text, *slots), 1);
    std::string expected;
    for (int i = 0; i < 100; ++i)
        expected += "ab";
    EXPECT_EQ((*slots)[1].PlayerName, expected);
    EXPECT_EQ((*slots)[1].PlayerScore, "1");
}

// The largest datagram UDP can carry: every function reads it to its end.
TEST(StatusReplyTest, LargestDatagramIsReadWhole)
{
    constexpr std::size_t kLargest = 65507;
    std::string text = reply(R"(\g_gametype\sd\mapname\mp_toujane\sv_maxclients\64)", nameLines(99));
    const std::string last = "9 99 \"";
    text += last + std::string(kLargest - text.size() - last.size() - 2, 'z') + "\"\n";
    ASSERT_EQ(text.size(), kLargest);

    auto slots = oldPlayers();
    EXPECT_EQ(zorvek::GetParam(text, "mapname"), "mp_toujane");
    EXPECT_EQ(zorvek::GetParam(text, "sv_maxclients"), "64");
    EXPECT_EQ(GetNumPlayers(text), 100);
    ASSERT_EQ(ParsePlayers(text, *slots), 100);
    EXPECT_EQ((*slots)[64].PlayerName, "P64");
}

TEST(StatusReplyTest, LargestDatagramOfQuotesIsCounted)
{
    std::string text = reply(kSettings);
    const std::size_t quotes = 65507 - text.size();
    text += std::string(quotes, '"');

    auto slots = oldPlayers();
    EXPECT_EQ(GetNumPlayers(text), 255);
    ASSERT_EQ(ParsePlayers(text, *slots), int(quotes / 2));
    EXPECT_EQ((*slots)[1].PlayerName, "");
    EXPECT_EQ((*slots)[64].PlayerName, "");
    EXPECT_EQ((*slots)[64].PlayerScore, "0");
}

TEST(StatusReplyTest, LargestDatagramWithoutLineFeed)
{
    const std::string text(65507, '\\');
    auto slots = oldPlayers();
    EXPECT_EQ(zorvek::GetParam(text, "mapname"), "");
    EXPECT_EQ(GetNumPlayers(text), 0);
    EXPECT_EQ(ParsePlayers(text, *slots), 0);
    EXPECT_EQ((*slots)[1].PlayerName, "old1");
}

} // namespace
} // namespace zorvek
