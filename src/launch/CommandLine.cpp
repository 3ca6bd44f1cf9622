#include "launch/CommandLine.h"

#include <cstddef>

namespace zorvek {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view params)
{
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = params.size();
    // Quoting carries over from one argument to the next, as in the runtime: an
    // argument ends only at a blank outside quotes.
    bool inQuotes = false;
    while (true) {
        while (i < n && IsBlank(params[i]))
            ++i;
        if (i >= n)
            break;

        std::string argument;
        while (i < n) {
            std::size_t slashes = 0;
            while (i < n && params[i] == '\\') {
                ++slashes;
                ++i;
            }
            bool copyChar = true;
            if (i < n && params[i] == '"') {
                if (slashes % 2 == 0) {
                    if (inQuotes && i + 1 < n && params[i + 1] == '"') {
                        ++i; // "" inside quotes: one literal quote, still quoted
                    } else {
                        copyChar = false;
                        inQuotes = !inQuotes;
                    }
                }
                slashes /= 2;
            }
            argument.append(slashes, '\\');
            if (i >= n || (!inQuotes && IsBlank(params[i])))
                break;
            if (copyChar)
                argument.push_back(params[i]);
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string QuoteWindowsArgument(std::string_view argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(argument);

    std::string quoted = "\"";
    std::size_t slashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        if (c == '"') {
            // Backslashes before a quote are doubled, and one more escapes the quote.
            quoted.append(slashes * 2 + 1, '\\');
        } else {
            quoted.append(slashes, '\\');
        }
        slashes = 0;
        quoted.push_back(c);
    }
    // Backslashes before the closing quote are doubled so that they stay literal.
    quoted.append(slashes * 2, '\\');
    quoted.push_back('"');
    return quoted;
}

std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line.push_back(' ');
        line += QuoteWindowsArgument(argument);
    }
    return line;
}

} // namespace zorvek
