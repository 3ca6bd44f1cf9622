#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include "sample-host/EmulatedGameServer.h"
#include "sample-host/SampleContent.h"
#include "sample-host/ServerProfile.h"

namespace zorvek {

// A row of emulated game servers on loopback and the server list that names them:
// slot i of the list is server(i), as the program numbers its servers.
class EmulatedServerSet : public QObject
{
    Q_OBJECT

public:
    // count servers of game index `game`, each with DefaultProfile(game, slot).
    explicit EmulatedServerSet(int count = 0, int game = 2, QObject* parent = nullptr);
    ~EmulatedServerSet() override;

    // Adds one more server (the next slot); null when no port could be bound.
    EmulatedGameServer* add(ServerProfile profile);
    // A record in the list that points at a closed UDP port: nothing answers it.
    void addDeadRecord(const QByteArray& name = "Dead");

    bool allStarted() const { return m_allStarted; }
    int size() const { return static_cast<int>(m_records.size()); }
    // Server of slot 1..size(); null for a dead record.
    EmulatedGameServer* server(int slot) const;

    QList<ListRecord> records() const { return m_records; }
    QByteArray listText() const;

    // Waits until every server has received at least `count` status queries.
    bool waitForStatusQueries(int count, int timeoutMs = 5000) const;
    // Every datagram received by the set, in order of arrival, with its slot.
    QList<QPair<int, ReceivedDatagram>> receivedInOrder() const;

    // A plausible profile: map, game type and player count vary with the slot.
    static ServerProfile DefaultProfile(int game, int slot);

private:
    int m_game;
    QList<EmulatedGameServer*> m_servers; // parallel to m_records
    QList<ListRecord> m_records;
    bool m_allStarted = true;
};

} // namespace zorvek
