#include "sample-host/SampleNetwork.h"

#include <algorithm>

#include "common/GameTable.h"
#include "common/TextCodec.h"
#include "sample-host/EmulatedGameServer.h"
#include "sample-host/ListHost.h"
#include "sample-host/SampleContent.h"

namespace zorvek {

namespace {

constexpr int kFull = -1;
constexpr int kMaxListRecords = 255;

// One emulated server of the demo set.
struct DemoServer
{
    const char* listName;
    const char* hostName;
    const char* gameType;
    const char* mapName;
    int maxClients;
    const char* friendlyFire;
    const char* killCam;
    int players; // kFull: as many as maxClients
    bool silent;
};

// Per game (index 1..5): full, partly filled, empty and silent servers on different maps.
const QList<QList<DemoServer>>& demoServers()
{
    static const QList<QList<DemoServer>> servers{
        {
            {"Zorvek CZ #1 | TDM", "^1Zorvek ^7CZ ^3#1 ^7TDM", "tdm", "mp_airfield", 24, "0", "1", kFull,
             false},
            {"Česká liga | S&D", "^4Česká ^7liga ^1S&D", "sd", "mp_castle", 18, "1", "0", 9, false},
            {"Pražský Hardcore", "^3Pražský ^1HC ^7TDM", "tdm", "mp_makin", 20, "2", "0", 5, false},
            {"Prázdný server | DOM", "^2Zorvek ^7DOM", "dom", "mp_dome", 16, "0", "1", 0, false},
            {"Nedostupný server | CTF", "^1Zorvek ^7CTF", "ctf", "mp_courtyard", 24, "0", "1", 0, true},
            {"Brněnský pub | DM", "^5Brno ^7pub ^5DM", "dm", "mp_asylum", 12, "0", "1", 7, false},
        },
        {
            {"Zorvek CZ #1 | WAR", "^1Zorvek ^7CZ ^3#1 ^7WAR", "war", "mp_crash", 32, "0", "1", kFull, false},
            {"Česká liga | S&D", "^4Česká ^7liga ^1S&D", "sd", "mp_backlot", 18, "1", "0", 10, false},
            {"Pražský Hardcore", "^3Pražský ^1HC ^7WAR", "war", "mp_strike", 24, "2", "0", 14, false},
            {"Prázdný server | DOM", "^2Zorvek ^7DOM", "dom", "mp_crossfire", 24, "0", "1", 0, false},
            {"Nedostupný server | SAB", "^1Zorvek ^7SAB", "sab", "mp_district", 24, "0", "1", 0, true},
            {"Ostravský KOTH", "^6Ostrava ^7KOTH", "koth", "mp_vacant", 16, "0", "1", 6, false},
            {"Brněnský pub | DM", "^5Brno ^7pub ^5DM", "dm", "mp_overgrown", 12, "0", "1", kFull, false},
        },
        {
            {"Zorvek UO | TDM", "^1Zorvek ^7UO ^3TDM", "tdm", "mp_arnhem", 28, "0", "1", kFull, false},
            {"Česká liga | Base Assault", "^4Česká ^7liga ^1BAS", "bas", "mp_berlin", 32, "1", "0", 17,
             false},
            {"Prázdný server | CTF", "^2Zorvek ^7CTF", "ctf", "mp_kharkov", 20, "0", "1", 0, false},
            {"Nedostupný server | DOM", "^1Zorvek ^7DOM", "dom", "mp_ponyri", 24, "0", "1", 0, true},
            {"Brněnský pub | S&D", "^5Brno ^7pub ^5S&D", "sd", "mp_foy", 16, "1", "1", 4, false},
        },
        {
            {"Zorvek CoD1 | TDM", "^1Zorvek ^7CoD1 ^3TDM", "tdm", "mp_harbor", 20, "0", "1", kFull, false},
            {"Česká liga | S&D", "^4Česká ^7liga ^1S&D", "sd", "mp_carentan", 16, "1", "0", 8, false},
            {"Prázdný server | Retrieval", "^2Zorvek ^7RE", "re", "mp_brecourt", 20, "0", "1", 0, false},
            {"Nedostupný server | HQ", "^1Zorvek ^7HQ", "hq", "mp_depot", 24, "0", "1", 0, true},
            {"Brněnský pub | DM", "^5Brno ^7pub ^5DM", "dm", "mp_railyard", 14, "0", "1", 3, false},
        },
        {
            {"Zorvek CoD2 | TDM", "^1Zorvek ^7CoD2 ^3TDM", "tdm", "mp_toujane", 32, "0", "1", kFull, false},
            {"Česká liga | S&D", "^4Česká ^7liga ^1S&D", "sd", "mp_carentan", 20, "1", "0", 11, false},
            {"Pražský pub | CTF", "^3Pražský ^7pub ^1CTF", "ctf", "mp_burgundy", 24, "0", "1", 13, false},
            {"Prázdný server | HQ", "^2Zorvek ^7HQ", "hq", "mp_dawnville", 16, "0", "1", 0, false},
            {"Nedostupný server | DM", "^1Zorvek ^7DM", "dm", "mp_matmata", 24, "0", "1", 0, true},
            {"Brněnský pub | DM", "^5Brno ^7pub ^5DM", "dm", "mp_brecourt", 12, "0", "0", 5, false},
        },
    };
    return servers;
}

// Colour-coded Czech player names; Windows-1250 on the wire.
const QStringList& playerNames()
{
    static const QStringList names{
        QStringLiteral("^1Žluťoučký^7 kůň"),
        QStringLiteral("Pepa^3Novák"),
        QStringLiteral("Řehoř"),
        QStringLiteral("^4Čestmír^7_CZ"),
        QStringLiteral("Šárka"),
        QStringLiteral("Ďábel^1666"),
        QStringLiteral("^2Kuba"),
        QStringLiteral("Honza^5Dvořák"),
        QStringLiteral("^3Těšínský^7 Tygr"),
        QStringLiteral("Lubošek"),
        QStringLiteral("ňouma^1!"),
        QStringLiteral("Stáňa"),
        QStringLiteral("^6Ondřej"),
        QStringLiteral("Jiří^2Kříž"),
        QStringLiteral("^1[CZ]^7Vojta"),
        QStringLiteral("Zdeněk"),
        QStringLiteral("Bořivoj"),
        QStringLiteral("^5Čuník"),
        QStringLiteral("Radek^0Šťastný"),
        QStringLiteral("Dušan"),
        QStringLiteral("^1Ř^2e^3h^4o^5ř"),
        QStringLiteral("Přemysl^7Oráč"),
        QStringLiteral("Tomáš"),
        QStringLiteral("^2Vendelín"),
        QStringLiteral("Kryštof"),
        QStringLiteral("Eliška^6_"),
        QStringLiteral("^3Ženda"),
        QStringLiteral("Míša"),
        QStringLiteral("Ludmila"),
        QStringLiteral("Václav^4IV"),
        QStringLiteral("Ťapka"),
        QStringLiteral("Mazánek"),
    };
    return names;
}

QByteArray cp1250(const QString& text)
{
    const std::string bytes = ToCp1250(text);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// count players with names from the pool (numbered once the pool is used up), varied
// scores (some negative) and pings (999 for one still connecting).
QList<PlayerProfile> makePlayers(int count, int seed)
{
    QList<PlayerProfile> players;
    const QStringList& names = playerNames();
    for (int i = 0; i < count; ++i) {
        const int k = (i + seed * 5) % names.size();
        QString name = names[k];
        if (i >= names.size())
            name += QString::number(i / names.size() + 1);
        int score = (i * 37 + seed * 11) % 80;
        if (i % 7 == 3)
            score -= 85;
        const int ping = i % 9 == 5 ? 999 : 15 + (i * 53 + seed * 7) % 180;
        players.append({cp1250(name), score, ping});
    }
    return players;
}

QString listKey(int game)
{
    // "/zorvek/zorvek_listservers_cod4.txt" gives "cod4".
    QString key = ListHost::ListPath(game).section('/', -1);
    key.remove(QStringLiteral("zorvek_listservers_"));
    key.remove(QStringLiteral(".txt"));
    return key;
}

QString caption(int game)
{
    const std::string_view text = Game(game).GameCaption;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SampleNetwork::SampleNetwork(QObject* parent) : QObject(parent), m_listHost(new ListHost(this)) {}

SampleNetwork::~SampleNetwork() = default;

bool SampleNetwork::start(quint16 httpPort, int extraCod4Servers)
{
    // The list host first: the web links name its port.
    if (m_listHost->listen(httpPort) == 0) {
        m_error = QStringLiteral("cannot listen on 127.0.0.1:%1").arg(httpPort);
        return false;
    }
    for (int game = 1; game <= kGameCount; ++game) {
        if (!addServers(game))
            return false;
        if (game == 2 && !addExtraCod4Servers(extraCod4Servers))
            return false;

        // The game's web link: a page of the list host.
        const QString path = QStringLiteral("/zorvek/web/%1.html").arg(listKey(game));
        m_listHost->setContent(
            path,
            QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\">"
                           "<title>%1</title></head><body><h1>Fórum hráčů %1</h1></body></html>\n")
                .arg(caption(game))
                .toUtf8(),
            200, "text/html; charset=utf-8");
        m_entries.append(SampleEntry{game, cp1250(QStringLiteral("Zorvek web | fórum %1").arg(caption(game))),
                                     "127.0.0.1", QByteArray::number(m_listHost->port()),
                                     (m_listHost->baseUrl() + path).toLatin1(), nullptr, false});
        m_listHost->setListText(game, listText(game));
    }
    return true;
}

bool SampleNetwork::addServers(int game)
{
    int seed = game * 3;
    for (const DemoServer& demo : demoServers()[game - 1]) {
        ServerProfile profile;
        profile.game = game;
        profile.hostName = cp1250(QString::fromUtf8(demo.hostName));
        profile.gameType = demo.gameType;
        profile.mapName = demo.mapName;
        profile.maxClients = demo.maxClients;
        profile.friendlyFire = demo.friendlyFire;
        profile.killCam = demo.killCam;
        profile.players = makePlayers(demo.players == kFull ? demo.maxClients : demo.players, ++seed);
        profile.silent = demo.silent;
        if (!addServer(game, QString::fromUtf8(demo.listName), std::move(profile)))
            return false;
    }
    return true;
}

bool SampleNetwork::addExtraCod4Servers(int count)
{
    // The web link of the game still needs its record.
    const int room = kMaxListRecords - static_cast<int>(entries(2).size()) - 1;
    count = std::clamp(count, 0, room);
    m_extraServers = count;
    static const char* const maps[] = {"mp_crash",    "mp_backlot", "mp_strike",    "mp_crossfire",
                                       "mp_district", "mp_vacant",  "mp_overgrown", "mp_bloc",
                                       "mp_pipeline", "mp_showdown"};
    static const char* const types[] = {"war", "dm", "sd", "dom", "koth", "sab"};
    for (int i = 1; i <= count; ++i) {
        ServerProfile profile;
        profile.game = 2;
        profile.hostName = QStringLiteral("^3Benchmark ^7%1").arg(i, 3, 10, QLatin1Char('0')).toLatin1();
        profile.gameType = types[i % std::size(types)];
        profile.mapName = maps[i % std::size(maps)];
        profile.maxClients = 24;
        profile.players = makePlayers((i * 7) % 25, i);
        if (!addServer(2,
                       QStringLiteral("Benchmark %1 | %2")
                           .arg(i, 3, 10, QLatin1Char('0'))
                           .arg(types[i % std::size(types)]),
                       std::move(profile)))
            return false;
    }
    return true;
}

bool SampleNetwork::addServer(int game, const QString& listName, ServerProfile profile)
{
    const bool silent = profile.silent;
    auto* server = new EmulatedGameServer(std::move(profile), this);
    if (!server->start()) {
        m_error = QStringLiteral("cannot bind a UDP port on 127.0.0.1");
        return false;
    }
    m_entries.append(SampleEntry{game, cp1250(listName), "127.0.0.1", QByteArray::number(server->port()),
                                 "EXE:", server, silent});
    return true;
}

QList<SampleEntry> SampleNetwork::entries(int game) const
{
    QList<SampleEntry> result;
    std::copy_if(m_entries.begin(), m_entries.end(), std::back_inserter(result),
                 [game](const SampleEntry& e) { return e.game == game; });
    return result;
}

QByteArray SampleNetwork::listText(int game) const
{
    QList<ListRecord> records;
    for (const SampleEntry& e : entries(game))
        records.append({e.listName, e.host, e.port, e.link});
    return BuildListText(records);
}

QStringList SampleNetwork::maps(int game) const
{
    QStringList result;
    for (const SampleEntry& e : entries(game)) {
        if (e.server && !result.contains(QString::fromLatin1(e.server->profile().mapName)))
            result.append(QString::fromLatin1(e.server->profile().mapName));
    }
    return result;
}

bool SampleNetwork::writeLevelshots(const QString& folder) const
{
    for (int game = 1; game <= kGameCount; ++game) {
        for (const QString& map : maps(game)) {
            if (!WriteLevelshot(folder, game, map))
                return false;
        }
    }
    return true;
}

} // namespace zorvek
