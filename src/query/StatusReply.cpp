#include "query/StatusReply.h"

#include <algorithm>
#include <charconv>
#include <cstddef>

#include "common/NumberText.h"

namespace zorvek {

namespace {

constexpr auto npos = std::string_view::npos;

// A reply is read by its line feeds: the header runs to the first LF, the settings
// line to the second, the player lines follow. With one LF the rest of the text is
// the settings line and there are no players; with none the whole text is header,
// so a reply without line feeds has neither settings nor players.
struct ReplyParts
{
    std::string_view settings;
    std::string_view players; // starts with the LF that ends the settings line
};

ReplyParts splitReply(std::string_view reply)
{
    ReplyParts parts;
    const std::size_t first = reply.find('\n');
    if (first == npos)
        return parts;
    const std::size_t second = reply.find('\n', first + 1);
    if (second == npos) {
        parts.settings = reply.substr(first + 1);
        return parts;
    }
    parts.settings = reply.substr(first + 1, second - first - 1);
    parts.players = reply.substr(second);
    return parts;
}

// Reads the number of one player line: the score from the line start to the first
// space, the ping from that space to the closing quote. A line without a space
// before its closing quote has only a score, read up to the opening quote.
void readPlayerLine(std::string_view text, std::size_t open, std::size_t close, PlayerSlot& player)
{
    const std::size_t lineStart = text.rfind('\n', open); // text begins with an LF
    const std::size_t space = text.find(' ', lineStart + 1);
    if (space == npos || space >= close) {
        player.PlayerScore = ShortestDecimalText(ReadNumber(text.substr(lineStart, open - lineStart)));
        player.PlayerPing = 0;
        return;
    }
    player.PlayerScore = ShortestDecimalText(ReadNumber(text.substr(lineStart, space - lineStart)));
    player.PlayerPing = ReadNumber(text.substr(space, close - space));
}

} // namespace

std::string StatusQuery()
{
    return std::string(4, '\xFF') + "getstatus";
}

std::string GetParam(std::string_view reply, std::string_view name)
{
    if (name.empty())
        return {};
    // The settings line is "\name\value\name\value...": walking it pair by pair means
    // that neither a value nor a longer name holding the searched one can match.
    std::string_view rest = splitReply(reply).settings;
    const std::size_t start = rest.find('\\');
    if (start == npos)
        return {};
    rest.remove_prefix(start + 1);
    for (;;) {
        const std::size_t nameEnd = rest.find('\\');
        if (nameEnd == npos)
            return {};
        const std::string_view key = rest.substr(0, nameEnd);
        rest.remove_prefix(nameEnd + 1);
        const std::size_t valueEnd = rest.find('\\');
        if (key == name) {
            const std::string_view value = rest.substr(0, valueEnd);
            return std::string(value.substr(0, value.find('.')));
        }
        if (valueEnd == npos)
            return {};
        rest.remove_prefix(valueEnd + 1);
    }
}

std::uint8_t GetNumPlayers(std::string_view reply)
{
    const std::string_view players = splitReply(reply).players;
    const auto quotes = static_cast<std::size_t>(std::count(players.begin(), players.end(), '"'));
    std::size_t half = quotes / 2;
    if (quotes % 2 == 1 && half % 2 == 1)
        ++half; // an odd count ends in .5, which rounds to the even neighbour
    return static_cast<std::uint8_t>(std::min<std::size_t>(half, 255));
}

int ParsePlayers(std::string_view reply, PlayerSlots& players)
{
    const std::string_view text = splitReply(reply).players;
    // Quotes pair strictly in order: a quote inside a name shifts every later pair.
    int count = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = text.find('"', from);
        if (open == npos)
            break;
        const std::size_t close = text.find('"', open + 1);
        if (close == npos)
            break;
        from = close + 1;
        if (++count > kMaxPlayers)
            continue; // counted, but the table has no slot for it
        // A slot is touched only to store a player: the slots are made with the first.
        PlayerSlot& player = players[static_cast<std::size_t>(count)];
        player.PlayerName = RemoveTags(text.substr(open + 1, close - open - 1));
        readPlayerLine(text, open, close, player);
    }
    return count;
}

std::string RemoveTags(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^')
            ++i; // the caret takes the next character with it, whatever it is
        else
            result += text[i];
    }
    return result;
}

std::uint8_t ReadMaxClients(std::string_view value)
{
    unsigned number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || number > 255)
        return 0;
    return static_cast<std::uint8_t>(number);
}

} // namespace zorvek
