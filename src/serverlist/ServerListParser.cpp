#include "serverlist/ServerListParser.h"

#include <array>
#include <cstdlib>

#include "serverlist/ServerTable.h"

namespace zorvek {

namespace {

constexpr std::string_view kGameMarker = "EXE:";

// One record "name;host;port;link;" read from pos; pos moves past it and past one
// line break (CR LF, or LF alone for lists saved with Unix line ends). False when
// a field has no ";" - the record is incomplete and pos is left alone.
bool readRecord(std::string_view text, std::size_t& pos, std::array<std::string_view, 4>& fields)
{
    std::size_t at = pos;
    for (auto& field : fields) {
        const std::size_t end = text.find(';', at);
        if (end == std::string_view::npos)
            return false;
        field = text.substr(at, end - at);
        at = end + 1;
    }
    if (text.substr(at, 2) == "\r\n")
        at += 2;
    else if (text.substr(at, 1) == "\n")
        at += 1;
    pos = at;
    return true;
}

} // namespace

std::string PadToDigitPattern(int number, std::string_view pattern)
{
    std::string digits = std::to_string(std::abs(static_cast<long long>(number)));
    if (digits.size() < pattern.size())
        digits.insert(0, pattern.size() - digits.size(), '0');
    return number < 0 ? "-" + digits : digits;
}

void ParseServerList(std::string_view text, std::string_view fmt, ServerTable& table)
{
    table.ServerCount = 0;
    std::size_t pos = 0;
    std::array<std::string_view, 4> fields;
    // The table has 255 slots: later records are not read. An incomplete last record
    // (text or a stray line break after the last full one) ends the list.
    while (pos < text.size() && table.ServerCount < kMaxServers && readRecord(text, pos, fields)) {
        const int n = ++table.ServerCount;
        ServerSlot& slot = table[n];
        slot.ServerName = PadToDigitPattern(n, fmt) + " " + std::string(fields[0]);
        slot.ServerHost = fields[1];
        slot.ServerPort = fields[2];
        slot.ServerLink = fields[3];
        slot.ServerIsGame = fields[3].find(kGameMarker) != std::string_view::npos;
    }
}

} // namespace zorvek
