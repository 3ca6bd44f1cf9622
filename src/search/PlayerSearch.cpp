#include "search/PlayerSearch.h"

#include <algorithm>

#include "common/TextCodec.h"
#include "query/StatusReply.h"
#include "serverlist/ServerTable.h"

namespace zorvek {

FoundPlayers CollectFoundPlayers(ServerTable& table, const QString& find)
{
    const QString upperFind = find.toUpper();
    FoundPlayers found;
    for (int server = 1; server <= table.ServerCount; ++server) {
        ServerSlot& slot = table[server];
        const int pairs = ParsePlayers(slot.ReplyText, slot.Players);
        slot.NumPlayers = GetNumPlayers(slot.ReplyText);
        // A reply cut after an opening quote rounds its player count up past the last
        // complete name; the slot there still holds a name of an earlier reply.
        const int players = std::min({static_cast<int>(slot.NumPlayers), pairs, kMaxPlayers});
        for (int player = 1; player <= players; ++player) {
            const std::string& name = slot.Players[static_cast<std::size_t>(player)].PlayerName;
            if (name.empty() || !FromCp1250(name).toUpper().contains(upperFind))
                continue;
            if (found.FoundCount == kMaxFoundPlayers) {
                found.tooMany = true;
                return found;
            }
            found.hits.push_back({name, static_cast<std::uint8_t>(server)});
            ++found.FoundCount;
        }
    }
    return found;
}

} // namespace zorvek
