#include "support/EmulatedServerSet.h"

#include <algorithm>

#include <QTest>

#include "support/LoopbackPorts.h"

namespace zorvek {

EmulatedServerSet::EmulatedServerSet(int count, int game, QObject* parent) : QObject(parent), m_game(game)
{
    for (int slot = 1; slot <= count; ++slot)
        add(DefaultProfile(game, slot));
}

EmulatedServerSet::~EmulatedServerSet() = default;

EmulatedGameServer* EmulatedServerSet::add(ServerProfile profile)
{
    const int slot = size() + 1;
    auto* server = new EmulatedGameServer(std::move(profile), this);
    if (!server->start()) {
        m_allStarted = false;
        server->deleteLater();
        return nullptr;
    }
    m_servers.append(server);
    m_records.append(
        {"Server " + QByteArray::number(slot), "127.0.0.1", QByteArray::number(server->port()), "EXE:"});
    return server;
}

void EmulatedServerSet::addDeadRecord(const QByteArray& name)
{
    m_servers.append(nullptr);
    m_records.append({name, "127.0.0.1", QByteArray::number(ClosedUdpPort()), "EXE:"});
}

EmulatedGameServer* EmulatedServerSet::server(int slot) const
{
    return slot >= 1 && slot <= size() ? m_servers[slot - 1] : nullptr;
}

QByteArray EmulatedServerSet::listText() const
{
    return BuildListText(m_records);
}

bool EmulatedServerSet::waitForStatusQueries(int count, int timeoutMs) const
{
    return QTest::qWaitFor(
        [this, count] {
            return std::all_of(m_servers.begin(), m_servers.end(), [count](const EmulatedGameServer* s) {
                return !s || s->statusQueryCount() >= count;
            });
        },
        timeoutMs);
}

QList<QPair<int, ReceivedDatagram>> EmulatedServerSet::receivedInOrder() const
{
    QList<QPair<int, ReceivedDatagram>> all;
    for (int slot = 1; slot <= size(); ++slot) {
        if (const EmulatedGameServer* s = server(slot)) {
            for (const ReceivedDatagram& d : s->received())
                all.append({slot, d});
        }
    }
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return a.second.sequence < b.second.sequence; });
    return all;
}

ServerProfile EmulatedServerSet::DefaultProfile(int game, int slot)
{
    static const char* const maps[] = {"mp_crash", "mp_backlot", "mp_strike", "mp_crossfire", "mp_district"};
    static const char* const types[] = {"war", "sd", "dm", "dom", "koth"};
    ServerProfile profile;
    profile.game = game;
    profile.hostName = "^2Test ^7server " + QByteArray::number(slot);
    profile.mapName = maps[(slot - 1) % std::size(maps)];
    profile.gameType = types[(slot - 1) % std::size(types)];
    profile.maxClients = 16 + slot % 3 * 8;
    for (int i = 1; i <= slot % 5; ++i)
        profile.players.append({"^1Player^7" + QByteArray::number(i), i * 3 - 2, 20 + i * 10});
    return profile;
}

} // namespace zorvek
