#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <netinet/in.h>

#include <QByteArray>

#include "sample-host/ServerProfile.h"

namespace zorvek {

// N emulated game servers on loopback UDP ports, served by one thread of plain sockets
// and epoll so that a benchmark's client is measured and not the servers' event loop.
class ServerFarm
{
public:
    struct Options
    {
        int servers = 255;
        int replyBytes = 0;    // pad or trim each status reply to this size (0: as built)
        bool burst = false;    // hold the status replies until every server has a query, then send all
        int burstWaitMs = 200; // a burst goes out anyway this long after its first query
    };

    explicit ServerFarm(Options options);
    ~ServerFarm();
    ServerFarm(const ServerFarm&) = delete;
    ServerFarm& operator=(const ServerFarm&) = delete;

    // Binds every server to 127.0.0.1 on a free port and starts answering.
    bool start();
    const std::string& errorString() const { return m_error; }

    std::vector<std::uint16_t> ports() const;
    const std::vector<ServerProfile>& profiles() const { return m_profiles; }
    // The status reply server i (0-based) sends.
    const QByteArray& statusReply(int i) const { return m_servers[static_cast<std::size_t>(i)].statusReply; }

    // The profile of server i (0-based): maps, modes and player counts vary by server;
    // with replyBytes the reply is made exactly that long.
    static ServerProfile MakeProfile(int i);
    static QByteArray FitReply(ServerProfile profile, int bytes);

private:
    struct Server
    {
        int fd = -1;
        std::uint16_t port = 0;
        QByteArray statusReply;
    };
    struct Pending
    {
        int server;
        sockaddr_in client;
    };

    void run();
    void serve(int server);
    void flush();

    Options m_options;
    std::vector<ServerProfile> m_profiles;
    std::vector<Server> m_servers;
    std::vector<Pending> m_pending;
    std::vector<bool> m_hasPending;
    int m_pendingServers = 0;
    std::int64_t m_firstPendingMs = 0;
    int m_epoll = -1;
    int m_stopFd = -1;
    std::thread m_thread;
    std::string m_error;
};

} // namespace zorvek
