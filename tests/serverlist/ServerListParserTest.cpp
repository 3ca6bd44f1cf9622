// Server list parsing: running numbers, record fields, line ends, the 255-slot limit
// and incomplete records, checked on whole list texts.
#include "serverlist/ServerListParser.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "serverlist/ServerTable.h"

namespace zorvek {
namespace {

// The table is large (255 slots of 64 players each), so it lives on the heap.
std::unique_ptr<ServerTable> parse(std::string_view text, std::string_view fmt = "000")
{
    auto table = std::make_unique<ServerTable>();
    ParseServerList(text, fmt, *table);
    return table;
}

// Marks slots so that a test can see which ones a parse left alone.
void fillWithOldEntries(ServerTable& table, int from, int to)
{
    for (int i = from; i <= to; ++i) {
        table[i].ServerName = "old " + std::to_string(i);
        table[i].ServerHost = "old.host";
        table[i].ServerPort = "1";
        table[i].ServerLink = "EXE:old";
        table[i].ServerIsGame = true;
    }
}

std::string records(int count, std::string_view lineEnd = "\r\n")
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "S" + std::to_string(i) + ";10.0.0." + std::to_string(i % 250) + ";" +
                std::to_string(28960 + i) + ";EXE:cod;" + std::string(lineEnd);
    return text;
}

// --- running numbers -------------------------------------------------------------

struct NumberCase
{
    const char* label;
    int number;
    const char* pattern;
    const char* expected;
};

class PadToDigitPatternTest : public testing::TestWithParam<NumberCase>
{
};

TEST_P(PadToDigitPatternTest, PadsToThePatternWidth)
{
    const NumberCase& c = GetParam();
    EXPECT_EQ(PadToDigitPattern(c.number, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Patterns, PadToDigitPatternTest,
                         testing::Values(NumberCase{"OneOfThree", 1, "000", "001"},
                                         NumberCase{"SevenOfThree", 7, "000", "007"},
                                         NumberCase{"SevenOfTwo", 7, "00", "07"},
                                         NumberCase{"TwelveOfTwo", 12, "00", "12"},
                                         NumberCase{"HundredOfThree", 100, "000", "100"},
                                         NumberCase{"HundredOfTwoGrows", 100, "00", "100"},
                                         NumberCase{"LastSlotOfTwo", 255, "00", "255"}),
                         [](const auto& info) { return std::string(info.param.label); });

struct NamingCase
{
    const char* label;
    const char* pattern;
    std::vector<std::string> names;
};

class ServerNameTest : public testing::TestWithParam<NamingCase>
{
};

TEST_P(ServerNameTest, NumbersEveryRecordInFileOrder)
{
    const NamingCase& c = GetParam();
    const auto table = parse("A;h1;1;l;\r\nB;h2;2;l;\r\nC;h3;3;l;\r\n", c.pattern);
    ASSERT_EQ(table->ServerCount, c.names.size());
    for (std::size_t i = 0; i < c.names.size(); ++i)
        EXPECT_EQ((*table)[int(i) + 1].ServerName, c.names[i]) << "slot " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Games, ServerNameTest,
                         testing::Values(NamingCase{"ThreeDigits", "000", {"001 A", "002 B", "003 C"}},
                                         NamingCase{"TwoDigits", "00", {"01 A", "02 B", "03 C"}}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- fields of one record --------------------------------------------------------

struct RecordCase
{
    const char* label;
    const char* text;
    const char* name;
    const char* host;
    const char* port;
    const char* link;
    bool isGame;
};

class RecordFieldsTest : public testing::TestWithParam<RecordCase>
{
};

TEST_P(RecordFieldsTest, StoresFieldsVerbatim)
{
    const RecordCase& c = GetParam();
    const auto table = parse(c.text);
    ASSERT_EQ(table->ServerCount, 1);
    const ServerSlot& slot = (*table)[1];
    EXPECT_EQ(slot.ServerName, c.name);
    EXPECT_EQ(slot.ServerHost, c.host);
    EXPECT_EQ(slot.ServerPort, c.port);
    EXPECT_EQ(slot.ServerLink, c.link);
    EXPECT_EQ(slot.ServerIsGame, c.isGame);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordFieldsTest,
    testing::Values(
        RecordCase{"ExeAloneIsGame", "Alfa;10.0.0.1;28960;EXE:;\r\n", "001 Alfa", "10.0.0.1", "28960",
                   "EXE:", true},
        RecordCase{"ExeInsideLongerTextIsGame", "Beta;cod.example.cz;28961;spustit EXE:hru;\r\n", "001 Beta",
                   "cod.example.cz", "28961", "spustit EXE:hru", true},
        RecordCase{"LowerCaseExeIsNoGame", "Gama;h;1;exe:;\r\n", "001 Gama", "h", "1", "exe:", false},
        RecordCase{"MixedCaseExeIsNoGame", "Gama;h;1;Exe:;\r\n", "001 Gama", "h", "1", "Exe:", false},
        RecordCase{"ExeWithoutColonIsNoGame", "Gama;h;1;EXE;\r\n", "001 Gama", "h", "1", "EXE", false},
        RecordCase{"WebLinkIsNoGame", "Web;www.example.cz;80;http://www.example.cz/;\r\n", "001 Web",
                   "www.example.cz", "80", "http://www.example.cz/", false},
        RecordCase{"SpacesAroundFieldsKept", " Delta server ; 10.0.0.2 ; 28960 ; EXE: ;\r\n",
                   "001  Delta server ", " 10.0.0.2 ", " 28960 ", " EXE: ", true},
        RecordCase{"EmptyFields", ";;;;\r\n", "001 ", "", "", "", false},
        RecordCase{"EightBitNameKept",
                   "\xC8"
                   "esk\xFD server;h;1;EXE:;\r\n",
                   "001 \xC8"
                   "esk\xFD server",
                   "h", "1", "EXE:", true},
        RecordCase{"LastRecordWithoutLineBreak", "Omega;h;2;EXE:;", "001 Omega", "h", "2", "EXE:", true}),
    [](const auto& info) { return std::string(info.param.label); });

// --- line ends -------------------------------------------------------------------

struct LineEndCase
{
    const char* label;
    const char* text;
};

class LineEndTest : public testing::TestWithParam<LineEndCase>
{
};

TEST_P(LineEndTest, KeepsEveryNameWhole)
{
    const auto table = parse(GetParam().text);
    ASSERT_EQ(table->ServerCount, 3);
    EXPECT_EQ((*table)[1].ServerName, "001 Alfa");
    EXPECT_EQ((*table)[2].ServerName, "002 Beta");
    EXPECT_EQ((*table)[3].ServerName, "003 Gama");
    EXPECT_EQ((*table)[3].ServerHost, "h3");
    EXPECT_EQ((*table)[3].ServerLink, "EXE:3");
}

INSTANTIATE_TEST_SUITE_P(
    Endings, LineEndTest,
    testing::Values(LineEndCase{"CrLf", "Alfa;h1;1;EXE:1;\r\nBeta;h2;2;EXE:2;\r\nGama;h3;3;EXE:3;\r\n"},
                    LineEndCase{"Lf", "Alfa;h1;1;EXE:1;\nBeta;h2;2;EXE:2;\nGama;h3;3;EXE:3;\n"},
                    LineEndCase{"Mixed", "Alfa;h1;1;EXE:1;\nBeta;h2;2;EXE:2;\r\nGama;h3;3;EXE:3;\n"},
                    LineEndCase{"NoBreakAtEnd", "Alfa;h1;1;EXE:1;\r\nBeta;h2;2;EXE:2;\nGama;h3;3;EXE:3;"}),
    [](const auto& info) { return std::string(info.param.label); });

// --- incomplete records and what is left alone -------------------------------------

struct IncompleteCase
{
    const char* label;
    const char* text;
    int count;
};

class IncompleteRecordTest : public testing::TestWithParam<IncompleteCase>
{
};

TEST_P(IncompleteRecordTest, EndsTheListWithoutASlot)
{
    const IncompleteCase& c = GetParam();
    auto table = std::make_unique<ServerTable>();
    fillWithOldEntries(*table, 1, 5);
    ParseServerList(c.text, "00", *table);

    ASSERT_EQ(table->ServerCount, c.count);
    for (int i = 1; i <= c.count; ++i)
        EXPECT_EQ((*table)[i].ServerName, PadToDigitPattern(i, "00") + " N" + std::to_string(i));
    const ServerSlot& next = (*table)[c.count + 1];
    EXPECT_EQ(next.ServerName, "old " + std::to_string(c.count + 1));
    EXPECT_EQ(next.ServerHost, "old.host");
    EXPECT_EQ(next.ServerLink, "EXE:old");
    EXPECT_TRUE(next.ServerIsGame);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, IncompleteRecordTest,
    testing::Values(IncompleteCase{"EmptyText", "", 0}, IncompleteCase{"OnlyALineBreak", "\r\n", 0},
                    IncompleteCase{"NameOnly", "N1", 0},
                    IncompleteCase{"LinkWithoutSemicolon", "N1;h;1;EXE:", 0},
                    IncompleteCase{"ExtraLineBreakAtEnd", "N1;h;1;l;\r\nN2;h;2;l;\r\n\r\n", 2},
                    IncompleteCase{"TextAfterLastRecord", "N1;h;1;l;\nN2;h;2;l;\nN3;h", 2},
                    IncompleteCase{"ThreeFieldsAtEnd", "N1;h;1;l;\r\nN2;h;2;", 1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ServerListParserTest, ShorterListLeavesHigherSlotsAlone)
{
    auto table = std::make_unique<ServerTable>();
    ParseServerList(records(5), "000", *table);
    ASSERT_EQ(table->ServerCount, 5);

    ParseServerList("Nov\xFD;h;9;http://x/;\r\n", "000", *table);
    ASSERT_EQ(table->ServerCount, 1);
    EXPECT_EQ((*table)[1].ServerName, "001 Nov\xFD");
    EXPECT_FALSE((*table)[1].ServerIsGame);
    for (int i = 2; i <= 5; ++i) {
        EXPECT_EQ((*table)[i].ServerName, PadToDigitPattern(i, "000") + " S" + std::to_string(i));
        EXPECT_EQ((*table)[i].ServerPort, std::to_string(28960 + i));
        EXPECT_TRUE((*table)[i].ServerIsGame);
    }
}

TEST(ServerListParserTest, DoesNotTouchReplyFields)
{
    auto table = std::make_unique<ServerTable>();
    (*table)[1].ReplyText = "earlier reply";
    (*table)[1].MapName = "mp_carentan";
    (*table)[1].Players[1].PlayerName = "Max";
    ParseServerList(records(1), "000", *table);
    EXPECT_EQ((*table)[1].ReplyText, "earlier reply");
    EXPECT_EQ((*table)[1].MapName, "mp_carentan");
    EXPECT_EQ((*table)[1].Players[1].PlayerName, "Max");
}

// --- the 255-slot limit ------------------------------------------------------------

struct LimitCase
{
    const char* label;
    int records;
    const char* lineEnd;
};

class SlotLimitTest : public testing::TestWithParam<LimitCase>
{
};

TEST_P(SlotLimitTest, FillsAtMost255Slots)
{
    const LimitCase& c = GetParam();
    const auto table = parse(records(c.records, c.lineEnd), "00");
    const int expected = std::min(c.records, kMaxServers);
    ASSERT_EQ(table->ServerCount, expected);
    for (int i = 1; i <= expected; ++i) {
        const ServerSlot& slot = (*table)[i];
        ASSERT_EQ(slot.ServerName, PadToDigitPattern(i, "00") + " S" + std::to_string(i)) << "slot " << i;
        ASSERT_EQ(slot.ServerPort, std::to_string(28960 + i)) << "slot " << i;
        ASSERT_TRUE(slot.ServerIsGame) << "slot " << i;
    }
    EXPECT_EQ((*table)[kMaxServers].ServerName, "255 S255");
}

INSTANTIATE_TEST_SUITE_P(Lists, SlotLimitTest,
                         testing::Values(LimitCase{"Exactly255", 255, "\r\n"},
                                         LimitCase{"Exactly255WithLf", 255, "\n"},
                                         LimitCase{"The256thIsNotRead", 256, "\r\n"},
                                         LimitCase{"ThousandRecords", 1000, "\n"}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace zorvek
