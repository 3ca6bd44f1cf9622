#include "launch/CommandLine.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

struct SplitCase
{
    const char* name;
    std::string params;
    std::vector<std::string> arguments;
};

class SplitWindowsCommandLineTest : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitWindowsCommandLineTest, GivesTheArgumentsOfTheWindowsRules)
{
    EXPECT_EQ(SplitWindowsCommandLine(GetParam().params), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitWindowsCommandLineTest,
    testing::Values(
        SplitCase{"ConnectParameters", " +connect host:port", {"+connect", "host:port"}},
        SplitCase{
            "ConnectWithAddressAndPort", " +connect 192.168.1.5:28960", {"+connect", "192.168.1.5:28960"}},
        SplitCase{"EmptyText", "", {}}, SplitCase{"OnlyBlanks", " \t  ", {}},
        SplitCase{"TabSeparates", "a\tb", {"a", "b"}},
        SplitCase{"RunsOfBlanksSeparateOnce", "a  \t  b ", {"a", "b"}},
        SplitCase{"ShellMetacharactersArePlainText", "a;b|c&d`e`$(f)>g<h*", {"a;b|c&d`e`$(f)>g<h*"}},
        SplitCase{"QuotedBlanksStayInTheArgument", "\"a b\" c", {"a b", "c"}},
        SplitCase{"QuotesInsideAnArgumentJoinItsParts", "a\"b c\"d", {"ab cd"}},
        SplitCase{"EmptyQuotesGiveAnEmptyArgument", "a \"\" b", {"a", "", "b"}},
        SplitCase{
            "BackslashesWithoutQuoteAreLiteral", "C:\\Games\\CoD4\\ x\\\\y", {"C:\\Games\\CoD4\\", "x\\\\y"}},
        SplitCase{"OddBackslashesEscapeTheQuote", "a\\\"b", {"a\"b"}},
        SplitCase{"ThreeBackslashesGiveOneAndAQuote", "a\\\\\\\"b", {"a\\\"b"}},
        SplitCase{"EvenBackslashesAreHalvedAndTheQuoteOpens", "a\\\\\"b c\"", {"a\\b c"}},
        SplitCase{"TrailingBackslashInsideQuotes", "\"C:\\dir\\\\\" x", {"C:\\dir\\", "x"}},
        SplitCase{"DoubledQuoteInsideQuotesIsLiteral", "\"a\"\"b c\"", {"a\"b c"}},
        SplitCase{"UnclosedQuoteRunsToTheEnd", "x \"a b", {"x", "a b"}},
        SplitCase{"EightBitBytesPassUnchanged", "+name \xe8\xe1\x9a", {"+name", "\xe8\xe1\x9a"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

struct QuoteCase
{
    const char* name;
    std::string argument;
    std::string quoted;
};

class QuoteWindowsArgumentTest : public testing::TestWithParam<QuoteCase>
{
};

TEST_P(QuoteWindowsArgumentTest, QuotesOnlyWhatNeedsItAndSplitsBackUnchanged)
{
    const std::string quoted = QuoteWindowsArgument(GetParam().argument);
    EXPECT_EQ(quoted, GetParam().quoted);
    EXPECT_EQ(SplitWindowsCommandLine(quoted), std::vector<std::string>{GetParam().argument});
}

INSTANTIATE_TEST_SUITE_P(
    Rules, QuoteWindowsArgumentTest,
    testing::Values(
        QuoteCase{"PlainTextUnchanged", "http://example.cz/a?b=1&c=2", "http://example.cz/a?b=1&c=2"},
        QuoteCase{"EmptyArgument", "", "\"\""}, QuoteCase{"Blank", "a b", "\"a b\""},
        QuoteCase{"Tab", "a\tb", "\"a\tb\""}, QuoteCase{"Quote", "a\"b", "\"a\\\"b\""},
        QuoteCase{"BackslashesBeforeAQuote", "a\\\\\"b", "\"a\\\\\\\\\\\"b\""},
        QuoteCase{"TrailingBackslashWithBlank", "C:\\Program Files\\", "\"C:\\Program Files\\\\\""},
        QuoteCase{"BackslashesAloneStayLiteral", "C:\\Games\\CoD4", "C:\\Games\\CoD4"}),
    [](const testing::TestParamInfo<QuoteCase>& info) { return std::string(info.param.name); });

TEST(JoinWindowsCommandLineTest, SplitsBackIntoTheSameArguments)
{
    const std::vector<std::string> arguments{
        "C:\\Program Files\\b.exe", "", "a\"b", "x\\", "-url", "http://x/?a b"};
    EXPECT_EQ(SplitWindowsCommandLine(JoinWindowsCommandLine(arguments)), arguments);
}

} // namespace
} // namespace zorvek
