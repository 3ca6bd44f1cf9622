// The files of Lutris, Bottles and Steam as the lookup of installed games reads them:
// tables of file texts, as the programs write them and as they should not be.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launch/BottlesPrefixes.h"
#include "launch/LutrisGames.h"
#include "launch/SteamLibraries.h"
#include "support/TestGameHome.h"

namespace zorvek {
namespace {

using fixtures::TestGameHome;

template <typename Case> std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

struct LutrisCase
{
    const char* name;
    std::string text;
    const char* prefix; // null: the configuration names no prefix
    const char* wineVersion = "";
};

class ParseLutrisGameTest : public testing::TestWithParam<LutrisCase>
{
};

TEST_P(ParseLutrisGameTest, ReadsThePrefixAndTheWineBuild)
{
    const LutrisCase& c = GetParam();
    const std::optional<LutrisGame> game = ParseLutrisGame(c.text);
    if (!c.prefix) {
        EXPECT_FALSE(game) << game->prefix;
        return;
    }
    ASSERT_TRUE(game);
    EXPECT_EQ(game->prefix, c.prefix);
    EXPECT_EQ(game->wineVersion, c.wineVersion);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseLutrisGameTest,
    testing::Values(
        LutrisCase{
            "AsLutrisWritesIt",
            TestGameHome::lutrisGameText(QStringLiteral("/home/u/Games/cod4"), QStringLiteral("lutris-7.2-2"))
                .toStdString(),
            "/home/u/Games/cod4", "lutris-7.2-2"},
        LutrisCase{"WithoutWineBuild",
                   TestGameHome::lutrisGameText(QStringLiteral("/home/u/Games/cod4"), {}).toStdString(),
                   "/home/u/Games/cod4"},
        LutrisCase{"PrefixWithBlanks", "game:\n  prefix: /home/u/Games/Call of Duty 4\n",
                   "/home/u/Games/Call of Duty 4"},
        LutrisCase{
            "LongPrefixFoldedAtABlank",
            "game:\n  exe: x.exe\n  prefix: /home/u/Games/Call of Duty 4 Modern Warfare Game of\n    the "
            "Year\n    Edition\nname: CoD4\n",
            "/home/u/Games/Call of Duty 4 Modern Warfare Game of the Year Edition"},
        LutrisCase{"SingleQuoted", "game:\n  prefix: '/home/u/it''s: #1'\n", "/home/u/it's: #1"},
        LutrisCase{"DoubleQuotedWithEscapes", "game:\n  prefix: \"/home/u/a\\\\b \\\"c\\\"\"\n",
                   "/home/u/a\\b \"c\""},
        LutrisCase{"CommentAfterTheValue", "game:\n  prefix: /home/u/p # made by hand\n", "/home/u/p"},
        LutrisCase{"CommentAfterAQuote", "game:\n  prefix: '/home/u/p' # made by hand\n", "/home/u/p"},
        LutrisCase{"CrLfLineEnds", "game:\r\n  prefix: /home/u/p\r\nwine:\r\n  version: w\r\n", "/home/u/p",
                   "w"},
        LutrisCase{"FourSpaces", "game:\n    exe: x\n    prefix: /p\n", "/p"},
        LutrisCase{"CommentsAndBlankLinesBetween", "# Lutris\n\ngame:\n\n  # where\n  prefix: /p\n\n", "/p"},
        LutrisCase{"KeyThatOnlyBeginsLikeIt", "game:\n  prefixes: /x\n  prefix: /p\n", "/p"},
        LutrisCase{"WineSectionBeforeGame", "wine:\n  version: w\ngame:\n  prefix: /p\n", "/p", "w"},
        LutrisCase{"WineBuildAsAList", "game:\n  prefix: /p\nwine:\n  version: [a, b]\n", "/p"},
        LutrisCase{"WineSectionWithoutKeys", "game:\n  prefix: /p\nwine:\nsystem: {}\n", "/p"},
        LutrisCase{"PrefixOfAnotherSection", "system:\n  prefix: /p\ngame:\n  exe: x\n", nullptr},
        LutrisCase{"PrefixNestedDeeper", "game:\n  options:\n    prefix: /p\n  exe: x\n", nullptr},
        LutrisCase{"PrefixAtTheTop", "prefix: /p\ngame:\n  exe: x\n", nullptr},
        LutrisCase{"NoGameSection", "name: CoD4\nwine:\n  version: w\n", nullptr},
        LutrisCase{"EmptyQuotedPrefix", "game:\n  prefix: ''\n", nullptr},
        LutrisCase{"NullPrefix", "game:\n  prefix: null\n", nullptr},
        LutrisCase{"TildeIsNull", "game:\n  prefix: ~\n", nullptr},
        LutrisCase{"PrefixWithoutValue", "game:\n  prefix:\n  exe: x\n", nullptr},
        LutrisCase{"OnlyACommentAfterTheKey", "game:\n  prefix: # none yet\n", nullptr},
        LutrisCase{"CutInsideAQuote", "game:\n  prefix: '/home/u/Ga", nullptr},
        LutrisCase{"CutBeforeTheColon", "game:\n  exe: x\n  pref", nullptr},
        LutrisCase{"TabIndentation", "game:\n\tprefix: /p\n", nullptr},
        LutrisCase{"BlockScalar", "game:\n  prefix: |\n    /p\n", nullptr},
        LutrisCase{"FlowMapping", "game: {prefix: /p}\n", nullptr},
        LutrisCase{"PlainTextWithAMapping", "game:\n  prefix: /p: q\n", nullptr},
        LutrisCase{"UnknownEscape", "game:\n  prefix: \"/p\\x41\"\n", nullptr},
        LutrisCase{"TextAfterAQuote", "game:\n  prefix: '/p' q\n", nullptr},
        LutrisCase{"Binary", std::string("\0\xff\x13game:\x01", 8), nullptr},
        LutrisCase{"Empty", "", nullptr}),
    CaseName<LutrisCase>);

struct BottleCase
{
    const char* name;
    std::string text;
    const char* runner; // null: none named
};

class ParseBottleRunnerTest : public testing::TestWithParam<BottleCase>
{
};

TEST_P(ParseBottleRunnerTest, ReadsTheRunner)
{
    const std::optional<std::string> runner = ParseBottleRunner(GetParam().text);
    if (GetParam().runner)
        EXPECT_EQ(runner, std::string(GetParam().runner));
    else
        EXPECT_FALSE(runner) << *runner;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseBottleRunnerTest,
    testing::Values(BottleCase{"AsBottlesWritesIt",
                               TestGameHome::bottleText(QStringLiteral("CoD4"), QStringLiteral("soda-7.0-9"))
                                   .toStdString(),
                               "soda-7.0-9"},
                    BottleCase{"SystemWine", "Name: x\nRunner: sys-wine-9.0\n", "sys-wine-9.0"},
                    BottleCase{"Quoted", "Runner: 'caffe-7.20'\n", "caffe-7.20"},
                    BottleCase{"NoRunner", "Arch: win64\nName: x\nPath: x\n", nullptr},
                    BottleCase{"RunnerBelowAnotherKey", "Parameters:\n  Runner: soda\nName: x\n", nullptr},
                    BottleCase{"EmptyRunner", "Runner: ''\n", nullptr},
                    BottleCase{"CutShort", "Arch: win64\nName: x\nRunn", nullptr},
                    BottleCase{"CutInsideAQuote", "Runner: 'soda", nullptr}),
    CaseName<BottleCase>);

struct LibraryCase
{
    const char* name;
    std::string text;
    std::vector<std::string> paths;
};

class ParseLibraryFoldersTest : public testing::TestWithParam<LibraryCase>
{
};

TEST_P(ParseLibraryFoldersTest, ListsTheLibraries)
{
    EXPECT_EQ(ParseLibraryFolders(GetParam().text), GetParam().paths);
}

const std::string kTwoLibraries =
    TestGameHome::libraryFoldersText(
        {QStringLiteral("/home/u/.local/share/Steam"), QStringLiteral("/mnt/games/Steam")})
        .toStdString();

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseLibraryFoldersTest,
    testing::Values(
        LibraryCase{"AsSteamWritesIt", kTwoLibraries, {"/home/u/.local/share/Steam", "/mnt/games/Steam"}},
        LibraryCase{"RootKeyInCapitals",
                    "\"LibraryFolders\" { \"0\" { \"path\" \"/a\" } \"1\" { \"path\" \"/b\" } }",
                    {"/a", "/b"}},
        LibraryCase{"EscapesInThePath",
                    "\"libraryfolders\" { \"0\" { \"path\" \"/mnt/a \\\"b\\\"\\\\c\" } }",
                    {"/mnt/a \"b\"\\c"}},
        LibraryCase{"Comments",
                    "// libraries\n\"libraryfolders\"\n{ // all\n \"0\" { \"path\" \"/a\" }\n}\n",
                    {"/a"}},
        LibraryCase{"PathAfterTheApps",
                    "\"libraryfolders\" { \"0\" { \"apps\" { \"7940\" \"1\" } \"path\" \"/a\" } }",
                    {"/a"}},
        LibraryCase{
            "FirstPathOfABlock", "\"libraryfolders\" { \"0\" { \"path\" \"/a\" \"path\" \"/b\" } }", {"/a"}},
        LibraryCase{"RelativePathLeftOut",
                    "\"libraryfolders\" { \"0\" { \"path\" \"games\" } \"1\" { \"path\" \"/b\" } }",
                    {"/b"}},
        LibraryCase{"LibraryWithoutPath",
                    "\"libraryfolders\" { \"0\" { \"label\" \"x\" } \"1\" { \"path\" \"/b\" } }",
                    {"/b"}},
        LibraryCase{"PathOfAnUnnumberedBlock",
                    "\"libraryfolders\" { \"contentstatsid\" { \"path\" \"/x\" } \"1\" { \"path\" \"/b\" } }",
                    {"/b"}},
        LibraryCase{"PathInsideTheApps", "\"libraryfolders\" { \"0\" { \"apps\" { \"path\" \"/x\" } } }", {}},
        LibraryCase{"OlderFormWithBarePaths",
                    "\"LibraryFolders\" { \"TimeNextStatsReport\" \"1\" \"1\" \"/b\" }",
                    {}},
        LibraryCase{"CutShort", kTwoLibraries.substr(0, kTwoLibraries.size() - 6), {}},
        LibraryCase{"CutInsideAString", kTwoLibraries.substr(0, kTwoLibraries.find("/mnt/games") + 4), {}},
        LibraryCase{"UnquotedWord", "\"libraryfolders\" { \"0\" { path \"/a\" } }", {}},
        LibraryCase{"ExtraClosingBrace", "\"libraryfolders\" { \"0\" { \"path\" \"/a\" } } }", {}},
        LibraryCase{"TextAfterTheEnd", "\"libraryfolders\" { \"0\" { \"path\" \"/a\" } } \"x\"", {}},
        LibraryCase{"KeyWithoutValue", "\"libraryfolders\" { \"0\" { \"path\" } }", {}},
        LibraryCase{"AnotherFile", "\"AppState\" { \"0\" { \"path\" \"/a\" } }", {}},
        LibraryCase{"OnlyOpenBraces", "\"libraryfolders\" " + std::string(10000, '{'), {}},
        LibraryCase{"Binary", std::string("\0\xff\"libraryfolders\"", 19), {}}, LibraryCase{"Empty", "", {}}),
    CaseName<LibraryCase>);

} // namespace
} // namespace zorvek
