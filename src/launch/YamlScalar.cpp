#include "launch/YamlScalar.h"

#include <algorithm>
#include <vector>

#include "registry/RegistryNames.h"

namespace zorvek {

namespace {

struct Line
{
    std::size_t indent = 0;
    std::string_view content; // after the indentation, without a trailing CR
};

std::string_view TrimEnd(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// The lines that carry content; blank and comment lines say nothing. Empty when a line is
// indented with a tab, which YAML does not allow.
std::optional<std::vector<Line>> ContentLines(std::string_view text)
{
    std::vector<Line> lines;
    for (const std::string_view line : reg::SplitLines(text)) {
        const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
        const std::string_view content = TrimEnd(line.substr(indent));
        if (content.empty() || content.front() == '#' || content == "---")
            continue;
        if (content.front() == '\t')
            return std::nullopt;
        lines.push_back({indent, content});
    }
    return lines;
}

// The text after "key:" when `content` is that key's line.
std::optional<std::string_view> AfterKey(std::string_view content, std::string_view key)
{
    if (content.size() <= key.size() || content.substr(0, key.size()) != key || content[key.size()] != ':')
        return std::nullopt;
    std::string_view rest = content.substr(key.size() + 1);
    if (!rest.empty() && rest.front() != ' ')
        return std::nullopt; // "key:x" is a plain text, not a key
    const std::size_t first = rest.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : rest.substr(first);
}

// A quoted value that ends on its line; only a comment may follow it.
std::optional<std::string> Quoted(std::string_view value)
{
    const char quote = value.front();
    std::string text;
    std::size_t i = 1;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        if (c == quote && quote == '\'' && i + 1 < value.size() && value[i + 1] == '\'') {
            text.push_back(c);
            ++i;
        } else if (c == quote) {
            break;
        } else if (c == '\\' && quote == '"') {
            if (i + 1 >= value.size() || (value[i + 1] != '\\' && value[i + 1] != '"'))
                return std::nullopt;
            text.push_back(value[++i]);
        } else {
            text.push_back(c);
        }
    }
    if (i >= value.size())
        return std::nullopt; // not closed on this line: cut short, or more than we read
    std::string_view after = value.substr(i + 1);
    after.remove_prefix(std::min(after.find_first_not_of(' '), after.size()));
    if (!after.empty() && after.front() != '#')
        return std::nullopt;
    return text;
}

// A plain value: up to a comment, continued on the lines indented deeper than its key.
std::optional<std::string> Plain(std::string_view value, const std::vector<Line>& lines, std::size_t next,
                                 std::size_t keyIndent)
{
    constexpr std::string_view kIndicators = "#|>{[&*!%@`";
    if (kIndicators.find(value.front()) != std::string_view::npos || value == "-" ||
        value.substr(0, 2) == "- ")
        return std::nullopt;
    std::string text;
    for (std::string_view part = value;; part = lines[next++].content) {
        const std::size_t comment = part.find(" #");
        part = TrimEnd(comment == std::string_view::npos ? part : part.substr(0, comment));
        // A plain text never holds ": "; such a line is a mapping, not part of the value.
        if (part.find(": ") != std::string_view::npos || part.back() == ':')
            return std::nullopt;
        if (!text.empty())
            text.push_back(' ');
        text.append(part);
        if (next >= lines.size() || lines[next].indent <= keyIndent)
            break;
    }
    if (text == "~" || text == "null" || text == "Null" || text == "NULL")
        return std::nullopt;
    return text;
}

bool IsSectionLine(const Line& line, std::string_view section)
{
    const std::optional<std::string_view> value = AfterKey(line.content, section);
    return line.indent == 0 && value && value->empty();
}

} // namespace

std::optional<std::string> YamlScalar(std::string_view text, std::string_view section, std::string_view key)
{
    const std::optional<std::vector<Line>> lines = ContentLines(text);
    if (!lines)
        return std::nullopt;

    std::size_t i = 0;
    std::size_t keyIndent = 0;
    if (!section.empty()) {
        // The section's line, then its first entry sets the indentation of its keys.
        while (i < lines->size() && !IsSectionLine((*lines)[i], section))
            ++i;
        if (++i >= lines->size() || (*lines)[i].indent == 0)
            return std::nullopt;
        keyIndent = (*lines)[i].indent;
    }
    for (; i < lines->size(); ++i) {
        const Line& line = (*lines)[i];
        if (line.indent < keyIndent || (!section.empty() && line.indent == 0))
            return std::nullopt; // the section ended without the key
        if (line.indent != keyIndent)
            continue;
        const std::optional<std::string_view> value = AfterKey(line.content, key);
        if (!value)
            continue;
        if (value->empty())
            return std::nullopt; // null, or a nested block
        std::optional<std::string> scalar = value->front() == '\'' || value->front() == '"'
                                                ? Quoted(*value)
                                                : Plain(*value, *lines, i + 1, keyIndent);
        if (scalar && scalar->empty())
            return std::nullopt;
        return scalar;
    }
    return std::nullopt;
}

} // namespace zorvek
