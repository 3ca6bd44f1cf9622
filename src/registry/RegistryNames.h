#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvek::reg {

// Registry names, kept as 8-bit text in the program's code page, Windows-1250, compared the
// way the registry compares them: without regard to case, keeping the case as written.

// The upper-case form of a Windows-1250 name, used to compare and order names.
std::string FoldName(std::string_view name);
bool NamesEqual(std::string_view a, std::string_view b);

// The lines of a text without their line ends (LF, or CR LF as Windows writes them).
std::vector<std::string_view> SplitLines(std::string_view text);

// The key names of a key path: separated by "\", empty ones skipped.
template <typename Char>
std::vector<std::basic_string<Char>> SplitKeyPath(const std::basic_string<Char>& path)
{
    std::vector<std::basic_string<Char>> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(Char('\\'), start);
        if (end == std::basic_string<Char>::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Where 64-bit Windows keeps what 32-bit programs (the games and their installers) write
// below HKLM\Software: the same path below Software\Wow6432Node. Nothing for a path outside
// Software, for Software\Classes (shared by both views) and for one already in Wow6432Node.
std::optional<std::string> Wow6432Path(const std::string& softwarePath);

} // namespace zorvek::reg
