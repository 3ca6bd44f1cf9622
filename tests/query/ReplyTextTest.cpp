// The small text rules of status replies: the query bytes, colour codes and the
// maximum-players setting (the numbers of player lines: tests/common/NumberTextTest.cpp).
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
