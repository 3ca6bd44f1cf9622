#pragma once

#include <cstddef>
#include <string_view>

#include "serverlist/ServerTable.h"

namespace zorvek {

// What a query and a reply do to a server slot's values: the rules of the refresh,
// apart from the sockets and the rows that show them.

// A query goes out: the slot has not answered it yet and its settings take their reset
// values ("---", "-", 0). The reply text and the players stay as they were.
void ResetForQuery(ServerSlot& slot);

// A datagram of more than ten bytes is the slot's reply: it replaces the reply text, marks
// the slot answered and fills its settings and player count from it. False, with nothing
// changed, for a datagram too short to count.
bool TakeReply(ServerSlot& slot, std::string_view datagram);

// The least size of a datagram that counts as a reply.
inline constexpr std::size_t kMinReplySize = 11;

} // namespace zorvek
