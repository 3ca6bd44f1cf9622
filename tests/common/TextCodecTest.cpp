// Windows-1250 bytes of lists and replies to screen text and back.
#include <cerrno>
#include <iconv.h>

#include <gtest/gtest.h>

#include "common/TextCodec.h"

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
                      CodecCase{"CzechLetters",
                                "\xd8"
                                "eho\xf8 \x9e"
                                "lu\x9d"
                                "ou\xe8k\xfd k\xf9\xf2",
                                "Řehoř žluťoučký kůň"},
                      CodecCase{"CapitalsWithCarons", "\x8a\x8d\x8e\xc8\xcf\xd2", "ŠŤŽČĎŇ"},
                      CodecCase{"EuroSign", "\x80", "€"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodecEdgeTest, UndefinedBytesAndUnencodableCharacters)
{
    // 0x81 has no character in Windows-1250: it shows as the replacement character.
    EXPECT_EQ(FromCp1250(std::string("a\x81"
                                     "b")),
              QString::fromUtf8("a\xEF\xBF\xBD"
                                "b"));
    // Characters outside the code page become one "?" each, the rest is kept.
    EXPECT_EQ(ToCp1250(QString::fromUtf8("a日本b")), "a??b");
    // NUL bytes are characters like any other.
    EXPECT_EQ(FromCp1250(std::string("a\0b", 3)).size(), 3);
}

// glibc's converter over a whole text, undefined bytes as U+FFFD: what the decoder's
// table is built from, asked here byte run by byte run instead.
QString iconvDecode(const std::string& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1250");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string utf8;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char buffer[64];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            utf8 += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

TEST(TextCodecEdgeTest, EveryByteDecodesAsTheSystemConverterDecodesIt)
{
    std::string all;
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const QString expected = iconvDecode(byte);
        ASSERT_EQ(expected.size(), 1) << "byte " << b;
        EXPECT_EQ(FromCp1250(byte), expected) << "byte " << b;
        undefined += expected == QChar(QChar::ReplacementCharacter);
        all += byte;
    }
    // 0x81, 0x83, 0x88, 0x90 and 0x98 have no character.
    EXPECT_EQ(undefined, 5);
    // Every byte at once, and twice over: the table needs no state between bytes.
    EXPECT_EQ(FromCp1250(all + all), iconvDecode(all + all));
    EXPECT_EQ(FromCp1250(all).size(), 256);
}

} // namespace
} // namespace zorvek
