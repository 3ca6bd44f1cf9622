#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <thread>

namespace zorvek {

// A TCP relay on 127.0.0.1 in front of a server on loopback that holds every piece a client
// sends for a fixed time before passing it on, and passes the answers straight back: the
// server then answers each request that much later, as a slow list host does. Plain
// sockets and epoll on a thread of its own, so the server's event loop is not disturbed.
class DelayingProxy
{
public:
    DelayingProxy(std::uint16_t targetPort, int delayMs);
    ~DelayingProxy();
    DelayingProxy(const DelayingProxy&) = delete;
    DelayingProxy& operator=(const DelayingProxy&) = delete;

    // Listens on a free port of 127.0.0.1 and starts relaying.
    bool start();
    std::uint16_t port() const { return m_port; }
    const std::string& errorString() const { return m_error; }

private:
    struct Held
    {
        std::int64_t dueMs;
        std::string bytes;
    };
    struct Link
    {
        int client = -1;
        int server = -1;
        std::deque<Held> held; // from the client, waiting for their time
        bool clientEnded = false;
    };

    void run();
    void accept();
    void fromClient(Link& link);
    void fromServer(Link& link);
    void passDue(std::int64_t nowMs);
    void drop(int client);
    int waitMs(std::int64_t nowMs) const;

    std::uint16_t m_targetPort;
    int m_delayMs;
    std::uint16_t m_port = 0;
    int m_listen = -1;
    int m_epoll = -1;
    int m_stopFd = -1;
    std::map<int, Link> m_links;   // by the client's socket
    std::map<int, int> m_byServer; // the server's socket to the client's
    std::thread m_thread;
    std::string m_error;
};

} // namespace zorvek
