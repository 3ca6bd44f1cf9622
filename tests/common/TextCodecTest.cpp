// Windows-1250 bytes of lists, replies and registry texts to Unicode and back: the Qt-free
// table and the screen's QString conversion over it.
#include <array>
#include <string>

#include <gtest/gtest.h>

#include "common/Cp1250.h"
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
    EXPECT_EQ(Cp1250ToUtf16(c.bytes), QString::fromUtf8(c.utf8).toStdU16String());
    EXPECT_EQ(Utf16ToCp1250(QString::fromUtf8(c.utf8).toStdU16String()), c.bytes);
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
                      CodecCase{"EuroSign", "\x80", "€"},
                      CodecCase{"UnassignedBytesAsTheirControlCharacters",
                                "a\x81"
                                "b\x83\x88\x90\x98",
                                "a\xC2\x81"
                                "b\xC2\x83\xC2\x88\xC2\x90\xC2\x98"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodecEdgeTest, UnencodableCharacters)
{
    // Characters outside the code page become one "?" each, the rest is kept.
    EXPECT_EQ(ToCp1250(QString::fromUtf8("a日本b")), "a??b");
    EXPECT_EQ(ToCp1250(QString(QChar(QChar::ReplacementCharacter))), "?");
    // A character beyond 16 bits is one character, two UTF-16 units: one "?".
    EXPECT_EQ(ToCp1250(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                         "b")),
              "a?b");
    EXPECT_EQ(Utf16ToCp1250(u"x\xD83D\xDE00y"), "x?y");
    // A surrogate without its partner is no character of the code page either.
    EXPECT_EQ(Utf16ToCp1250(u"x\xD83Dy\xDE00"), "x?y?");
    // NUL bytes are characters like any other.
    EXPECT_EQ(FromCp1250(std::string("a\0b", 3)).size(), 3);
    EXPECT_EQ(ToCp1250(QString(QChar(0))), std::string(1, '\0'));
}

// The character of every byte: below 0x80 ASCII, above as the code page's Unicode mapping
// lists them; the five bytes it leaves unassigned as the control characters of their numbers.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

char16_t CharacterOf(int byte)
{
    return byte < 0x80 ? static_cast<char16_t>(byte) : kUpperHalf[static_cast<std::size_t>(byte - 0x80)];
}

TEST(TextCodecTableTest, EveryByteToItsCharacterAndBack)
{
    std::string all;
    std::u16string characters;
    int unassigned = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const char16_t c = CharacterOf(b);
        EXPECT_EQ(Cp1250ToUtf16(static_cast<unsigned char>(b)), c) << "byte " << b;
        EXPECT_EQ(Cp1250ToUtf16(byte), std::u16string(1, c)) << "byte " << b;
        EXPECT_EQ(Utf16ToCp1250(std::u16string(1, c)), byte) << "byte " << b;
        EXPECT_EQ(FromCp1250(byte), QString(QChar(c))) << "byte " << b;
        EXPECT_EQ(ToCp1250(QString(QChar(c))), byte) << "byte " << b;
        // An unassigned byte is the only one of 0x80 to 0x9F whose character has its number.
        unassigned += b >= 0x80 && b < 0xA0 && c == b;
        all += byte;
        characters += c;
    }
    // 0x81, 0x83, 0x88, 0x90 and 0x98 have no character of their own.
    EXPECT_EQ(unassigned, 5);
    // Every byte at once, and twice over: the table needs no state between bytes.
    EXPECT_EQ(Cp1250ToUtf16(all + all), characters + characters);
    EXPECT_EQ(FromCp1250(all + all), QString::fromStdU16String(characters + characters));
    EXPECT_EQ(FromCp1250(all).size(), 256);
    EXPECT_EQ(Utf16ToCp1250(characters + characters), all + all);
    EXPECT_EQ(ToCp1250(QString::fromStdU16String(characters)), all);
}

} // namespace
} // namespace zorvek
