#include "registry/RegistryNames.h"

namespace zorvek::reg {

namespace {

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

std::optional<std::string> Wow6432Path(const std::string& softwarePath)
{
    const std::vector<std::string> parts = SplitKeyPath(softwarePath);
    if (parts.size() < 2 || !NamesEqual(parts[0], "Software") || NamesEqual(parts[1], "Classes") ||
        NamesEqual(parts[1], "Wow6432Node"))
        return std::nullopt;
    std::string redirected = "Software\\Wow6432Node";
    for (std::size_t i = 1; i < parts.size(); ++i)
        redirected += "\\" + parts[i];
    return redirected;
}

} // namespace zorvek::reg
