#include "sample-host/ServerProfile.h"

#include <algorithm>

namespace zorvek {

namespace {

using Setting = QPair<QByteArray, QByteArray>;

// What each game's dedicated server reports about its own build (game index 1..5).
struct GameBuild
{
    const char* gameName;
    const char* protocol;
    const char* shortVersion;
};

constexpr GameBuild kBuilds[] = {
    {"Call of Duty: World at War", "101", "1.7"},
    {"Call of Duty 4", "6", "1.7"},
    {"CoD:United Offensive", "22", "1.51"},
    {"main", "6", "1.5"},
    {"Call of Duty 2", "118", "1.3"},
};

const GameBuild& buildOf(int game)
{
    return kBuilds[std::clamp(game, 1, 5) - 1];
}

void put(QList<Setting>& settings, const QByteArray& name, const QByteArray& value)
{
    for (Setting& s : settings) {
        if (s.first == name) {
            s.second = value;
            return;
        }
    }
    settings.append({name, value});
}

QByteArray settingsLine(const QList<Setting>& settings)
{
    QByteArray line;
    for (const Setting& s : settings)
        line += '\\' + s.first + '\\' + s.second;
    return line;
}

} // namespace

QByteArray OutOfBandPrefix()
{
    return QByteArray(4, '\xFF');
}

QByteArray StatusQueryBytes()
{
    return OutOfBandPrefix() + "getstatus";
}

QByteArray BuildStatusResponse(const ServerProfile& profile)
{
    const GameBuild& build = buildOf(profile.game);
    QList<Setting> settings{
        {"_Location", "Czech Republic"},
        {"_Website", "zorvek.example.cz"},
        {"g_gametype", profile.gameType},
        {"gamename", build.gameName},
        {"mapname", profile.mapName},
        {"protocol", build.protocol},
        {"scr_friendlyfire", profile.friendlyFire},
        {"scr_killcam", profile.killCam},
        {"shortversion", build.shortVersion},
        {"sv_allowAnonymous", "0"},
        {"sv_floodProtect", "1"},
        {"sv_hostname", profile.hostName},
        {"sv_maxclients", QByteArray::number(profile.maxClients)},
        {"sv_maxPing", "0"},
        {"sv_maxRate", "25000"},
        {"sv_minPing", "0"},
        {"sv_privateClients", "0"},
        {"sv_punkbuster", "0"},
        {"sv_pure", "1"},
    };
    if (profile.game == 1 || profile.game == 2)
        put(settings, "sv_voice", "0");
    for (const Setting& s : profile.extraSettings)
        put(settings, s.first, s.second);
    // Dedicated servers list their settings sorted without regard to case and append
    // the two flags that the master servers read.
    std::stable_sort(settings.begin(), settings.end(), [](const Setting& a, const Setting& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    QList<Setting> tail;
    for (const char* flag : {"pswrd", "mod"}) {
        auto it =
            std::find_if(settings.begin(), settings.end(), [&](const Setting& s) { return s.first == flag; });
        if (it != settings.end()) {
            tail.append(*it);
            settings.erase(it);
        } else {
            tail.append(Setting(flag, "0"));
        }
    }

    QByteArray reply = OutOfBandPrefix() + "statusResponse\n" + settingsLine(settings + tail) + '\n';
    for (const PlayerProfile& p : profile.players)
        reply += QByteArray::number(p.score) + ' ' + QByteArray::number(p.ping) + " \"" + p.name + "\"\n";
    return reply;
}

QByteArray BuildInfoResponse(const ServerProfile& profile, const QByteArray& challenge)
{
    const GameBuild& build = buildOf(profile.game);
    QList<Setting> settings{
        {"protocol", build.protocol},
        {"hostname", profile.hostName},
        {"mapname", profile.mapName},
        {"clients", QByteArray::number(profile.players.size())},
        {"sv_maxclients", QByteArray::number(profile.maxClients)},
        {"gametype", profile.gameType},
        {"pure", "1"},
        {"kc", profile.killCam},
        {"ff", profile.friendlyFire},
        {"pswrd", "0"},
        {"gamename", build.gameName},
        {"challenge", challenge},
    };
    return OutOfBandPrefix() + "infoResponse\n" + settingsLine(settings);
}

} // namespace zorvek
