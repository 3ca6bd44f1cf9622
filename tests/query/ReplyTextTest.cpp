// The small text rules of status replies: the query bytes, colour codes, lenient
// number reading, number writing and the maximum-players setting.
#include "query/StatusReply.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

template <typename Case> std::string rowName(const testing::TestParamInfo<Case>& info)
{
    return info.param.label;
}

TEST(StatusQueryTest, IsFourFFBytesAndGetstatus)
{
    const std::string query = StatusQuery();
    ASSERT_EQ(query.size(), 13u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(static_cast<unsigned char>(query[std::size_t(i)]), 0xFF) << "byte " << i;
    EXPECT_EQ(query.substr(4), "getstatus");
}

// --- RemoveTags ----------------------------------------------------------------------

struct TagCase
{
    const char* label;
    std::string text;
    std::string expected;
};

class RemoveTagsTest : public testing::TestWithParam<TagCase>
{
};

TEST_P(RemoveTagsTest, DropsEachCaretWithTheNextCharacter)
{
    EXPECT_EQ(RemoveTags(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RemoveTagsTest,
    testing::Values(TagCase{"ColourDigits", "^1Pla^7yer", "Player"},
                    TagCase{"DoubledCaretEatsTheSecond", "^^1x", "1x"},
                    TagCase{"DoubledCaretsWithDigits", "^^00East^^22|", "00East22|"},
                    TagCase{"CaretAtEnd", "ab^", "ab"}, TagCase{"CaretAlone", "^", ""},
                    TagCase{"TwoCarets", "^^", ""}, TagCase{"CaretEatsASpace", "a^ b", "ab"},
                    TagCase{"CaretEatsALetter", "^tTwitch^-x", "Twitchx"},
                    TagCase{"NoCodes", "Max Power", "Max Power"}, TagCase{"Empty", "", ""},
                    TagCase{"EightBitKept",
                            "^1\xC8"
                            "ech",
                            "\xC8"
                            "ech"},
                    TagCase{"LongPlain", std::string(300, 'a'), std::string(300, 'a')},
                    TagCase{"LongCodesOnly", std::string(300, '^'), ""},
                    TagCase{"LongWithCodeAtTheEnd", std::string(298, 'b') + "^1", std::string(298, 'b')},
                    TagCase{"LongWithTextPastPosition255", "^1" + std::string(260, 'c') + "^2d",
                            std::string(260, 'c') + "d"}),
    rowName<TagCase>);

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
    testing::Values(ReadCase{"Whole", "12", 12}, ReadCase{"Negative", "-3", -3},
                    ReadCase{"PlusSign", "+5", 5}, ReadCase{"LeadingZeros", "007", 7},
                    ReadCase{"LeadingSpaces", "  48", 48}, ReadCase{"LeadingLineFeed", "\n12", 12},
                    ReadCase{"LeadingTab", "\t-3", -3}, ReadCase{"StopsAtQuote", " 48 \"^1Max", 48},
                    ReadCase{"BlanksInsideDigits", "1 2\t3", 123}, ReadCase{"BlankAfterSign", "- 3", -3},
                    ReadCase{"Fraction", "12.5", 12.5}, ReadCase{"FractionOnly", ".5", 0.5},
                    ReadCase{"PointWithoutFraction", "5.", 5}, ReadCase{"SecondPointStops", "1.2.3", 1.2},
                    ReadCase{"Exponent", "1e3", 1000}, ReadCase{"NegativeExponent", "1E-2", 0.01},
                    ReadCase{"ExponentWithoutDigits", "2e", 2}, ReadCase{"ExponentSignOnly", "2e+x", 2},
                    ReadCase{"StopsAtLetter", "12abc", 12}, ReadCase{"NoDigits", "abc", 0},
                    ReadCase{"Empty", "", 0}, ReadCase{"SignOnly", "-", 0}, ReadCase{"PointOnly", ".", 0},
                    ReadCase{"DoubleSign", "--3", 0}, ReadCase{"HexIsNotRead", "0x1A", 0},
                    ReadCase{"CarriageReturnStops", "\r5", 0}, ReadCase{"TooLargeGivesZero", "1e999", 0},
                    ReadCase{"TooSmallGivesZero", "1e-999", 0},
                    ReadCase{"ManyDigits", std::string(400, '0') + "42", 42}),
    rowName<ReadCase>);

// --- FormatNumber -------------------------------------------------------------------------

struct FormatCase
{
    const char* label;
    double value;
    const char* expected;
};

class FormatNumberTest : public testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatNumberTest, WritesTheShortestForm)
{
    EXPECT_EQ(FormatNumber(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatNumberTest,
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

// --- ReadMaxClients -------------------------------------------------------------------------

struct MaxClientsCase
{
    const char* label;
    const char* value;
    int expected;
};

class ReadMaxClientsTest : public testing::TestWithParam<MaxClientsCase>
{
};

TEST_P(ReadMaxClientsTest, AcceptsOnlyAByte)
{
    EXPECT_EQ(ReadMaxClients(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadMaxClientsTest,
    testing::Values(MaxClientsCase{"Twenty", "20", 20}, MaxClientsCase{"Zero", "0", 0},
                    MaxClientsCase{"Largest", "255", 255}, MaxClientsCase{"LeadingZero", "040", 40},
                    MaxClientsCase{"OutOfRange", "256", 0},
                    MaxClientsCase{"FarOutOfRange", "99999999999999999999", 0},
                    MaxClientsCase{"Absent", "", 0}, MaxClientsCase{"NotANumber", "abc", 0},
                    MaxClientsCase{"Negative", "-1", 0}, MaxClientsCase{"PlusSign", "+5", 0},
                    MaxClientsCase{"LeadingSpace", " 20", 0}, MaxClientsCase{"TrailingText", "20x", 0},
                    MaxClientsCase{"Exponent", "1e2", 0}),
    rowName<MaxClientsCase>);

} // namespace
} // namespace zorvek
