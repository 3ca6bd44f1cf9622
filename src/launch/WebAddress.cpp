#include "launch/WebAddress.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zorvek {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char p, char t) { return std::tolower(static_cast<unsigned char>(t)) == p; });
}

} // namespace

std::optional<std::string> WebAddress(std::string_view link)
{
    const std::size_t first = link.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    link = link.substr(first, link.find_last_not_of(kBlanks) - first + 1);

    for (std::string_view scheme : std::array<std::string_view, 2>{"http://", "https://"}) {
        if (StartsWithNoCase(link, scheme) && link.size() > scheme.size())
            return std::string(scheme) + std::string(link.substr(scheme.size()));
    }
    // What the Windows browser took for a web page.
    constexpr std::string_view kWww = "www.";
    if (StartsWithNoCase(link, kWww) && link.size() > kWww.size())
        return "http://" + std::string(link);
    return std::nullopt;
}

} // namespace zorvek
