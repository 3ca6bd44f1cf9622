#include "query/ServerSlotUpdate.h"

#include <string>

#include "query/StatusReply.h"

namespace zorvek {
namespace {

// Kept once: a refresh resets up to 255 slots in a row.
const std::string kUnsetText = "---";
const std::string kUnsetSetting = "-";

} // namespace

void ResetForQuery(ServerSlot& slot)
{
    slot.Replied = false;
    slot.GameType = kUnsetText;
    slot.MapName = kUnsetText;
    slot.FriendlyFire = kUnsetSetting;
    slot.KillCam = kUnsetSetting;
    slot.MaxClients = 0;
    slot.NumPlayers = 0;
}

bool TakeReply(ServerSlot& slot, std::string_view datagram)
{
    if (datagram.size() < kMinReplySize)
        return false;
    slot.ReplyText.assign(datagram);
    slot.Replied = true;
    slot.ShownReplied = true;
    slot.GameType = GetParam(slot.ReplyText, "g_gametype");
    slot.MapName = GetParam(slot.ReplyText, "mapname");
    slot.FriendlyFire = GetParam(slot.ReplyText, "scr_friendlyfire");
    slot.KillCam = GetParam(slot.ReplyText, "scr_killcam");
    slot.MaxClients = ReadMaxClients(GetParam(slot.ReplyText, "sv_maxclients"));
    slot.NumPlayers = GetNumPlayers(slot.ReplyText);
    return true;
}

} // namespace zorvek
