#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "sample-host/ServerProfile.h"

namespace zorvek {

class EmulatedGameServer;
class ListHost;

// One entry of a sample server list: an emulated game server or a web link.
struct SampleEntry
{
    int game = 0;                         // game index 1..5
    QByteArray listName;                  // name field of its record (Windows-1250)
    QByteArray host;                      // "127.0.0.1"
    QByteArray port;                      // the UDP port as text
    QByteArray link;                      // "EXE:" for a game server, an http URL for a web link
    EmulatedGameServer* server = nullptr; // null for a web link
    bool silent = false;                  // listed, but never answers
};

// The demo set: for each of the five games several emulated servers on loopback with
// different maps (full, empty and silent ones, Czech colour-coded player names), one
// web link, and a list host serving their lists.
class SampleNetwork : public QObject
{
    Q_OBJECT

public:
    explicit SampleNetwork(QObject* parent = nullptr);
    ~SampleNetwork() override;

    // Starts the servers and the list host on 127.0.0.1:httpPort (0: a free port).
    // extraCod4Servers more CoD4 servers join the CoD4 list, which holds at most 255
    // records. False (see errorString) when a port could not be bound.
    bool start(quint16 httpPort = 0, int extraCod4Servers = 0);
    QString errorString() const { return m_error; }
    int extraServerCount() const { return m_extraServers; }

    ListHost* listHost() const { return m_listHost; }
    const QList<SampleEntry>& entries() const { return m_entries; }
    QList<SampleEntry> entries(int game) const;
    QByteArray listText(int game) const;

    // The maps run by the servers of game index 1..5, each once.
    QStringList maps(int game) const;
    // Placeholder levelshots of every map: <folder>/<levelshot subfolder>/<map>.jpg.
    bool writeLevelshots(const QString& folder) const;

private:
    bool addServers(int game);
    bool addExtraCod4Servers(int count);
    bool addServer(int game, const QString& listName, ServerProfile profile);

    ListHost* m_listHost = nullptr;
    QList<SampleEntry> m_entries;
    QString m_error;
    int m_extraServers = 0;
};

} // namespace zorvek
