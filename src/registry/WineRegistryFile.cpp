#include "registry/WineRegistryFile.h"

#include <cctype>

#include "registry/RegistryNames.h"

namespace zorvek {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One character of the file; Wine writes only ASCII, other bytes are taken as UTF-8.
char32_t NextCodePoint(std::string_view line, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(line[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t value = lead & (0x3F >> extra);
    while (extra-- > 0 && pos < line.size() && (static_cast<unsigned char>(line[pos]) & 0xC0) == 0x80)
        value = (value << 6) | (static_cast<unsigned char>(line[pos++]) & 0x3F);
    return value;
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

// Reads an escaped text up to the unescaped end character; pos ends behind it. Wine escapes
// the backslash, the end characters, control characters (\n, \t, ..., octal) and every
// character above 127 (\x with up to four hex digits).
bool ParseEscaped(std::string_view line, std::size_t& pos, char endChar, std::u16string& out)
{
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == endChar) {
            ++pos;
            return true;
        }
        if (c != '\\') {
            AppendUtf16(out, NextCodePoint(line, pos));
            continue;
        }
        if (++pos >= line.size())
            return false;
        const char escaped = line[pos++];
        switch (escaped) {
        case 'a':
            out.push_back(u'\a');
            break;
        case 'b':
            out.push_back(u'\b');
            break;
        case 'e':
            out.push_back(u'\x1b');
            break;
        case 'f':
            out.push_back(u'\f');
            break;
        case 'n':
            out.push_back(u'\n');
            break;
        case 'r':
            out.push_back(u'\r');
            break;
        case 't':
            out.push_back(u'\t');
            break;
        case 'v':
            out.push_back(u'\v');
            break;
        case 'x': {
            unsigned value = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
                value = value * 16 + static_cast<unsigned>(HexDigit(line[pos++]));
                ++digits;
            }
            if (digits == 0)
                out.push_back(u'x');
            else
                out.push_back(static_cast<char16_t>(value));
            break;
        }
        default:
            if (escaped >= '0' && escaped <= '7') {
                unsigned value = static_cast<unsigned>(escaped - '0');
                for (int digits = 1; digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7';
                     ++digits)
                    value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
                out.push_back(static_cast<char16_t>(value));
            } else {
                out.push_back(static_cast<char16_t>(static_cast<unsigned char>(escaped)));
            }
            break;
        }
    }
    return false;
}

bool StartsWith(std::string_view text, std::size_t pos, std::string_view prefix)
{
    return text.substr(pos, prefix.size()) == prefix;
}

// A hexadecimal number up to the given character; pos ends behind that character.
bool ParseHexNumber(std::string_view line, std::size_t& pos, char endChar, std::uint32_t& value)
{
    value = 0;
    const std::size_t start = pos;
    while (pos < line.size() && HexDigit(line[pos]) >= 0)
        value = value * 16 + static_cast<std::uint32_t>(HexDigit(line[pos++]));
    if (pos == start || pos >= line.size() || line[pos] != endChar)
        return false;
    ++pos;
    return true;
}

std::vector<std::uint8_t> Utf16Bytes(const std::u16string& text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

// Reads the data of a value starting at pos; hex data may go on over following lines, each
// line but the last ending in a backslash. Returns false for data it cannot read.
bool ParseData(const std::vector<std::string_view>& lines, std::size_t& lineIndex, std::size_t pos,
               WineRegistryValue& value)
{
    std::string_view line = lines[lineIndex];
    if (StartsWith(line, pos, "\"")) {
        std::u16string text;
        ++pos;
        if (!ParseEscaped(line, pos, '"', text))
            return false;
        value.type = 1;
        value.data = Utf16Bytes(text);
        return true;
    }
    if (StartsWith(line, pos, "str(")) {
        pos += 4;
        std::uint32_t type = 0;
        if (!ParseHexNumber(line, pos, ')', type) || !StartsWith(line, pos, ":\""))
            return false;
        pos += 2;
        std::u16string text;
        if (!ParseEscaped(line, pos, '"', text))
            return false;
        value.type = type;
        value.data = Utf16Bytes(text);
        return true;
    }
    if (StartsWith(line, pos, "dword:")) {
        pos += 6;
        std::uint32_t number = 0;
        int digits = 0;
        while (pos < line.size() && HexDigit(line[pos]) >= 0 && digits < 8) {
            number = number * 16 + static_cast<std::uint32_t>(HexDigit(line[pos++]));
            ++digits;
        }
        if (digits == 0)
            return false;
        value.type = 4;
        value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                      static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
        return true;
    }
    if (StartsWith(line, pos, "hex:")) {
        value.type = 3;
        pos += 4;
    } else if (StartsWith(line, pos, "hex(")) {
        pos += 4;
        if (!ParseHexNumber(line, pos, ')', value.type) || !StartsWith(line, pos, ":"))
            return false;
        ++pos;
    } else {
        return false;
    }
    value.data.clear();
    for (;;) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == ','))
            ++pos;
        if (pos >= line.size())
            return true;
        if (line[pos] == '\\' && pos + 1 == line.size()) {
            if (lineIndex + 1 >= lines.size())
                return true;
            line = lines[++lineIndex];
            pos = 0;
            continue;
        }
        const int high = HexDigit(line[pos]);
        const int low = pos + 1 < line.size() ? HexDigit(line[pos + 1]) : -1;
        if (high < 0 || low < 0)
            return false;
        value.data.push_back(static_cast<std::uint8_t>(high * 16 + low));
        pos += 2;
    }
}

} // namespace

WineRegistryFile ParseWineRegistryFile(std::string_view text)
{
    WineRegistryFile file;
    const std::vector<std::string_view> lines = reg::SplitLines(text);
    WineRegistryKey* current = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '#') {
            if (line == "#arch=win64")
                file.win64 = true;
            continue;
        }
        if (line.front() == '[') {
            std::size_t pos = 1;
            std::u16string path;
            if (!ParseEscaped(line, pos, ']', path)) {
                current = nullptr;
                continue;
            }
            file.keys.push_back(WineRegistryKey{reg::SplitKeyPath(path), {}});
            current = &file.keys.back();
            continue;
        }
        if (!current)
            continue;
        WineRegistryValue value;
        std::size_t pos = 0;
        if (StartsWith(line, 0, "@=")) {
            pos = 2;
        } else if (line.front() == '"') {
            pos = 1;
            if (!ParseEscaped(line, pos, '"', value.name) || !StartsWith(line, pos, "="))
                continue;
            ++pos;
        } else {
            continue;
        }
        if (ParseData(lines, i, pos, value))
            current->values.push_back(std::move(value));
    }
    return file;
}

} // namespace zorvek
