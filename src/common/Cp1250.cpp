#include "common/Cp1250.h"

#include <algorithm>
#include <array>

namespace zorvek {

namespace {

// Bytes 0x80 to 0xFF; bytes below 0x80 are ASCII.
//
// Windows-1250 leaves five bytes unassigned: 0x81, 0x83, 0x88, 0x90 and 0x98. They stand here
// for the C1 control characters of the same number (U+0081, ...), as in the conversion of
// Windows itself and of Wine. So every byte has a character that encodes back to that byte,
// and nothing is lost on a round trip: a registry name or text read from Wine's UTF-16 files
// comes out as the bytes advapi32 gives for it, a folder name reaches Wine as the character
// Windows made of it, and a player name copied from the screen into the search box finds the
// same bytes. U+FFFD would show a clearer mark on the screen, but all five bytes would read as
// that one character and none could be encoded back; a C1 control shows as the font's box for
// a character it lacks, which marks the byte as well.
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

struct ByteOf
{
    char16_t character;
    unsigned char byte;
};

// The upper half ordered by character, for the way back.
constexpr std::array<ByteOf, 128> kByCharacter = [] {
    std::array<ByteOf, 128> table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = {kUpperHalf[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(table.begin(), table.end(), [](ByteOf a, ByteOf b) { return a.character < b.character; });
    return table;
}();

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char ByteOfCharacter(char16_t character)
{
    if (character < 0x80)
        return static_cast<char>(character);
    const auto found = std::lower_bound(kByCharacter.begin(), kByCharacter.end(), character,
                                        [](ByteOf entry, char16_t c) { return entry.character < c; });
    return found != kByCharacter.end() && found->character == character ? static_cast<char>(found->byte)
                                                                        : '?';
}

} // namespace

char16_t Cp1250ToUtf16(unsigned char byte)
{
    return byte < 0x80 ? static_cast<char16_t>(byte) : kUpperHalf[byte - 0x80u];
}

std::u16string Cp1250ToUtf16(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.push_back(Cp1250ToUtf16(static_cast<unsigned char>(byte)));
    return text;
}

std::string Utf16ToCp1250(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character, which the code page lacks.
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        bytes.push_back(ByteOfCharacter(text[i]));
    }
    return bytes;
}

} // namespace zorvek
