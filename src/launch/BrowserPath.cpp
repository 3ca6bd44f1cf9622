#include "launch/BrowserPath.h"

#include <algorithm>
#include <cctype>

namespace zorvek {

std::string BrowserPathFromCommand(std::string_view command)
{
    constexpr std::string_view kExe = ".exe";
    const auto match = std::search(command.begin(), command.end(), kExe.begin(), kExe.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    if (match == command.end())
        return {};
    std::string_view path = command.substr(0, static_cast<std::size_t>(match - command.begin()) + kExe.size());
    if (path.front() == '"')
        path.remove_prefix(1);
    return std::string(path);
}

} // namespace zorvek
