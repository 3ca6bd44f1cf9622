#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace zorvek {

// One player line of a status reply. The name is sent as the game sends it: colour
// codes kept, 8-bit text (Windows-1250 for Czech letters).
struct PlayerProfile
{
    QByteArray name;
    int score = 0;
    int ping = 0;
};

// Everything an emulated game server says about itself in its status and info replies.
struct ServerProfile
{
    int game = 2; // game index 1..5 of the game table: picks gamename, protocol, version
    QByteArray hostName = "^1Zorvek ^7server";
    QByteArray gameType = "war";
    QByteArray mapName = "mp_crash";
    int maxClients = 24;
    QByteArray friendlyFire = "0";
    QByteArray killCam = "1";
    QList<PlayerProfile> players;
    // Further settings of the settings line; a name given here replaces the built-in value.
    QList<QPair<QByteArray, QByteArray>> extraSettings;
    bool silent = false; // never answers anything
};

// The 13-byte status query: four 0xFF bytes and "getstatus".
QByteArray StatusQueryBytes();

// The connectionless packet prefix: four 0xFF bytes.
QByteArray OutOfBandPrefix();

// The status reply: "statusResponse", the settings line, one line per player.
QByteArray BuildStatusResponse(const ServerProfile& profile);

// The info reply to "getinfo <challenge>", echoing the challenge.
QByteArray BuildInfoResponse(const ServerProfile& profile, const QByteArray& challenge);

} // namespace zorvek
