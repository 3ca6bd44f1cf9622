// Lenient number reading and the shortest text of a number: the one reader of the scores and
// pings of player lines and of the width and height of the info file, with one table of cases.
#include "common/NumberText.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

template <typename Case> std::string rowName(const testing::TestParamInfo<Case>& info)
{
    return info.param.label;
}

// --- ReadNumber ------------------------------------------------------------------------

struct ReadCase
{
    const char* label;
    std::string text;
    double expected;
};

class ReadNumberTest : public testing::TestWithParam<ReadCase>
{
};

TEST_P(ReadNumberTest, ReadsLeniently)
{
    EXPECT_DOUBLE_EQ(ReadNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumberTest,
    testing::Values(
        ReadCase{"Whole", "12", 12}, ReadCase{"Negative", "-3", -3}, ReadCase{"PlusSign", "+5", 5},
        ReadCase{"LeadingZeros", "007", 7}, ReadCase{"LeadingSpaces", "  48", 48},
        ReadCase{"LeadingLineFeed", "\n12", 12}, ReadCase{"LeadingTab", "\t-3", -3},
        ReadCase{"StopsAtQuote", " 48 \"^1Max", 48}, ReadCase{"BlanksInsideDigits", "1 2\t3", 123},
        ReadCase{"BlankAfterSign", "- 3", -3}, ReadCase{"Fraction", "12.5", 12.5},
        ReadCase{"FractionOnly", ".5", 0.5}, ReadCase{"PointWithoutFraction", "5.", 5},
        ReadCase{"SecondPointStops", "1.2.3", 1.2}, ReadCase{"Exponent", "1e3", 1000},
        ReadCase{"NegativeExponent", "1E-2", 0.01}, ReadCase{"ExponentWithoutDigits", "2e", 2},
        ReadCase{"ExponentSignOnly", "2e+x", 2}, ReadCase{"StopsAtLetter", "12abc", 12},
        ReadCase{"NoDigits", "abc", 0}, ReadCase{"Empty", "", 0}, ReadCase{"SignOnly", "-", 0},
        ReadCase{"PointOnly", ".", 0}, ReadCase{"DoubleSign", "--3", 0}, ReadCase{"HexIsNotRead", "0x1A", 0},
        ReadCase{"CarriageReturnStops", "\r5", 0}, ReadCase{"TooLargeGivesZero", "1e999", 0},
        ReadCase{"TooSmallGivesZero", "1e-999", 0}, ReadCase{"TooLargeNegativeGivesZero", "-1e999", 0},
        ReadCase{"TooSmallNegativeGivesZero", "-1e-999", 0},
        ReadCase{"JustBeyondTheLargestDoubleGivesZero", "1.8e308", 0},
        ReadCase{"LargestDouble", "1.7976931348623157e308", 1.7976931348623157e308},
        ReadCase{"SubnormalIsKept", "1e-310", 1e-310}, ReadCase{"BlanksAroundTheExponent", "4 e 2px", 400},
        ReadCase{"ManyDigits", std::string(400, '0') + "42", 42}),
    rowName<ReadCase>);

// --- ShortestDecimalText ------------------------------------------------------------------

struct FormatCase
{
    const char* label;
    double value;
    const char* expected;
};

class ShortestDecimalTextTest : public testing::TestWithParam<FormatCase>
{
};

TEST_P(ShortestDecimalTextTest, WritesTheShortestForm)
{
    EXPECT_EQ(ShortestDecimalText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ShortestDecimalTextTest,
                         testing::Values(FormatCase{"Whole", 7, "7"}, FormatCase{"Negative", -3, "-3"},
                                         FormatCase{"Zero", 0, "0"}, FormatCase{"NegativeZero", -0.0, "0"},
                                         FormatCase{"Fraction", 12.5, "12.5"},
                                         FormatCase{"NegativeFraction", -0.25, "-0.25"},
                                         FormatCase{"Hundreds", 999, "999"},
                                         FormatCase{"LargeWholeWithoutExponent", 100000000, "100000000"},
                                         FormatCase{"LargeFraction", 1234567.5, "1234567.5"},
                                         FormatCase{"HugeUsesExponent", 1e20, "1e+20"},
                                         FormatCase{"TinyUsesExponent", 1e-7, "1e-07"}),
                         rowName<FormatCase>);

} // namespace
} // namespace zorvek
