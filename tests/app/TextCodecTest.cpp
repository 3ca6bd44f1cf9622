// Windows-1250 bytes of lists and replies to screen text and back.
#include <gtest/gtest.h>

#include "app/TextCodec.h"

namespace zorvek {
namespace {

struct CodecCase
{
    const char* name;
    std::string bytes;
    const char* utf8;
};

class TextCodecTest : public ::testing::TestWithParam<CodecCase>
{
};

TEST_P(TextCodecTest, DecodesAndEncodesBack)
{
    const CodecCase& c = GetParam();
    EXPECT_EQ(FromCp1250(c.bytes), QString::fromUtf8(c.utf8));
    EXPECT_EQ(ToCp1250(QString::fromUtf8(c.utf8)), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextCodecTest,
    ::testing::Values(CodecCase{"Empty", "", ""}, CodecCase{"Ascii", "mp_crash ^1Max", "mp_crash ^1Max"},
                      CodecCase{"CzechLetters", "\xd8" "eho\xf8 \x9e" "lu\x9d" "ou\xe8k\xfd k\xf9\xf2",
                                "Řehoř žluťoučký kůň"},
                      CodecCase{"CapitalsWithCarons", "\x8a\x8d\x8e\xc8\xcf\xd2", "ŠŤŽČĎŇ"},
                      CodecCase{"EuroSign", "\x80", "€"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodecEdgeTest, UndefinedBytesAndUnencodableCharacters)
{
    // 0x81 has no character in Windows-1250: it shows as the replacement character.
    EXPECT_EQ(FromCp1250(std::string("a\x81" "b")), QString::fromUtf8("a\xEF\xBF\xBD" "b"));
    // Characters outside the code page become one "?" each, the rest is kept.
    EXPECT_EQ(ToCp1250(QString::fromUtf8("a日本b")), "a??b");
    // NUL bytes are characters like any other.
    EXPECT_EQ(FromCp1250(std::string("a\0b", 3)).size(), 3);
}

} // namespace
} // namespace zorvek
