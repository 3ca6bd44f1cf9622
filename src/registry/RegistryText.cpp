#include "registry/RegistryText.h"

#include <array>

namespace zorvek::reg {

namespace {

// Bytes 0x80 to 0xFF of Windows-1250.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

unsigned char UpperAnsi(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9D:
    case 0x9E:
    case 0x9F:
        return static_cast<unsigned char>(c - 0x10);
    case 0xB3:
        return 0xA3;
    case 0xB9:
        return 0xA5;
    case 0xBA:
        return 0xAA;
    case 0xBE:
        return 0xBC;
    case 0xBF:
        return 0xAF;
    default:
        break;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    return c;
}

} // namespace

char16_t AnsiCharToUtf16(unsigned char c)
{
    return c < 0x80 ? static_cast<char16_t>(c) : kUpperHalf[c - 0x80];
}

std::u16string AnsiToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (const char c : text)
        result.push_back(AnsiCharToUtf16(static_cast<unsigned char>(c)));
    return result;
}

std::string Utf16ToAnsi(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
            continue;
        }
        char mapped = '?';
        for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
            if (kUpperHalf[i] == c) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        result.push_back(mapped);
    }
    return result;
}

std::string FoldName(std::string_view name)
{
    std::string result(name);
    for (char& c : result)
        c = static_cast<char>(UpperAnsi(static_cast<unsigned char>(c)));
    return result;
}

bool NamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAnsi(static_cast<unsigned char>(a[i])) != UpperAnsi(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace zorvek::reg
