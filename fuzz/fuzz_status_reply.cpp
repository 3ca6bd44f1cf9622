// Status reply reading on any datagram a server may send: settings, player count and
// player lines. The count stays within a byte, at most 64 players are stored, and a
// reply written the way game servers write it reads back exactly.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "query/StatusReply.h"

namespace {

using namespace zorvek;

using Players = PlayerSlots;
constexpr std::string_view kUntouched = "untouched";
constexpr std::string_view kSettings[] = {"g_gametype", "mapname", "scr_friendlyfire", "scr_killcam",
                                          "sv_maxclients"};

void markAll(Players& players)
{
    for (std::size_t k = 1; k <= kMaxPlayers; ++k)
        players[k].PlayerName = kUntouched;
}

// The player lines: what follows the second line feed.
std::string_view playerPart(std::string_view reply)
{
    const std::size_t first = reply.find('\n');
    const std::size_t second = first == std::string_view::npos ? first : reply.find('\n', first + 1);
    return second == std::string_view::npos ? std::string_view() : reply.substr(second);
}

void checkAnyReply(std::string_view reply, Players& players)
{
    for (std::string_view name : kSettings) {
        const std::string value = GetParam(reply, name);
        FUZZ_CHECK(value.size() <= reply.size());
        FUZZ_CHECK(value.find_first_of("\\.\n") == std::string::npos);
        FUZZ_CHECK(reply.find(value) != std::string_view::npos);
    }
    // A name the reply does not hold has no value.
    FUZZ_CHECK(reply.find("zz_absent") != std::string_view::npos || GetParam(reply, "zz_absent").empty());

    const std::uint8_t count = GetNumPlayers(reply);
    markAll(players);
    const int pairs = ParsePlayers(reply, players);
    const std::string_view lines = playerPart(reply);
    const auto quotes = static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '"'));
    FUZZ_CHECK(pairs >= 0 && static_cast<std::size_t>(pairs) == quotes / 2);
    // Counting rounds the half of an odd quote count; it never strays further than that.
    const int capped = std::min(pairs, 255);
    FUZZ_CHECK(count == capped || count == capped + 1);
    FUZZ_CHECK(count <= 255 && (quotes > 0 || count == 0));

    const int stored = std::min(pairs, kMaxPlayers);
    for (int k = 1; k <= stored; ++k) {
        const PlayerSlot& p = players[static_cast<std::size_t>(k)];
        FUZZ_CHECK(p.PlayerName.find_first_of("\"^") == std::string::npos);
        FUZZ_CHECK(p.PlayerName.size() < reply.size());
        FUZZ_CHECK(!p.PlayerScore.empty() && p.PlayerScore.size() < 400);
        FUZZ_CHECK(p.PlayerPing == p.PlayerPing); // never NaN
    }
    for (int k = stored + 1; k <= kMaxPlayers; ++k)
        FUZZ_CHECK(players[static_cast<std::size_t>(k)].PlayerName == kUntouched);

    const std::uint8_t maxClients = ReadMaxClients(GetParam(reply, "sv_maxclients"));
    FUZZ_CHECK(maxClients == 0 ||
               std::to_string(maxClients).size() <= GetParam(reply, "sv_maxclients").size());
}

std::string textFrom(FuzzedDataProvider& input, std::size_t length, std::string_view banned)
{
    std::string text = input.ConsumeRandomLengthString(length);
    std::erase_if(text, [&](char c) { return banned.find(c) != std::string_view::npos; });
    return text;
}

struct Player
{
    std::string name;
    int score;
    int ping;
};

// A reply built as a game server builds it: header, settings line, one line per player.
void checkWellFormed(FuzzedDataProvider& input, Players& players)
{
    std::vector<std::pair<std::string, std::string>> settings;
    const int extra = input.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < extra; ++i)
        settings.emplace_back("x" + textFrom(input, 12, std::string_view("\\\n", 2)),
                              textFrom(input, 12, "\\\n."));
    for (std::string_view name : kSettings)
        if (input.ConsumeBool())
            settings.emplace_back(name, textFrom(input, 20, "\\\n."));
    std::shuffle(settings.begin(), settings.end(), std::minstd_rand(input.ConsumeIntegral<std::uint32_t>()));
    // The first setting of a name counts; later ones of the same name are dropped here.
    std::vector<std::pair<std::string, std::string>> unique;
    for (auto& s : settings)
        if (std::none_of(unique.begin(), unique.end(), [&](auto& u) { return u.first == s.first; }))
            unique.push_back(std::move(s));

    std::vector<Player> list(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    for (Player& p : list)
        p = {textFrom(input, 24, "\""), input.ConsumeIntegralInRange(-99999, 99999),
             input.ConsumeIntegralInRange(0, 999)};

    std::string reply = std::string(4, '\xFF') + "statusResponse\n";
    for (const auto& [name, value] : unique)
        reply += '\\' + name + '\\' + value;
    reply += '\n';
    for (const Player& p : list)
        reply += std::to_string(p.score) + ' ' + std::to_string(p.ping) + " \"" + p.name + "\"\n";

    for (std::string_view name : kSettings) {
        const auto found =
            std::find_if(unique.begin(), unique.end(), [&](auto& u) { return u.first == name; });
        FUZZ_CHECK(GetParam(reply, name) == (found == unique.end() ? std::string() : found->second));
    }
    FUZZ_CHECK(GetNumPlayers(reply) == std::min<std::size_t>(list.size(), 255));
    markAll(players);
    FUZZ_CHECK(ParsePlayers(reply, players) == static_cast<int>(list.size()));
    const std::size_t stored = std::min<std::size_t>(list.size(), kMaxPlayers);
    for (std::size_t k = 1; k <= stored; ++k) {
        const Player& p = list[k - 1];
        FUZZ_CHECK(players[k].PlayerName == RemoveTags(p.name));
        FUZZ_CHECK(players[k].PlayerScore == std::to_string(p.score));
        FUZZ_CHECK(players[k].PlayerPing == p.ping);
    }
    for (std::size_t k = stored + 1; k <= kMaxPlayers; ++k)
        FUZZ_CHECK(players[k].PlayerName == kUntouched);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Players players;
    checkAnyReply(std::string_view(reinterpret_cast<const char*>(data), size), players);
    FuzzedDataProvider input(data, size);
    checkWellFormed(input, players);
    return 0;
}
