#include "DelayingProxy.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvek {

namespace {

constexpr std::uint64_t kStopTag = UINT64_MAX;
constexpr std::uint64_t kListenTag = UINT64_MAX - 1;

std::int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// Writes all of the bytes; the peers read as they come, so a blocking send ends soon.
bool sendAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void watch(int epoll, int fd, std::uint64_t tag)
{
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = tag;
    ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event);
}

} // namespace

DelayingProxy::DelayingProxy(std::uint16_t targetPort, int delayMs)
    : m_targetPort(targetPort), m_delayMs(delayMs)
{
}

DelayingProxy::~DelayingProxy()
{
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_stopFd, &one, sizeof one);
        m_thread.join();
    }
    for (const auto& [client, link] : m_links) {
        ::close(client);
        ::close(link.server);
    }
    for (const int fd : {m_listen, m_epoll, m_stopFd})
        if (fd >= 0)
            ::close(fd);
}

bool DelayingProxy::start()
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_epoll < 0 || m_stopFd < 0 || m_listen < 0) {
        m_error = "cannot create the relay's sockets";
        return false;
    }
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(m_listen, 64) != 0 ||
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        m_error = "cannot listen on 127.0.0.1";
        return false;
    }
    m_port = ntohs(address.sin_port);
    watch(m_epoll, m_stopFd, kStopTag);
    watch(m_epoll, m_listen, kListenTag);
    m_thread = std::thread([this] { run(); });
    return true;
}

int DelayingProxy::waitMs(std::int64_t now) const
{
    std::int64_t due = -1;
    for (const auto& [client, link] : m_links)
        if (!link.held.empty())
            due = due < 0 ? link.held.front().dueMs : std::min(due, link.held.front().dueMs);
    return due < 0 ? -1 : static_cast<int>(std::max<std::int64_t>(0, due - now));
}

void DelayingProxy::run()
{
    std::vector<epoll_event> events(64);
    for (;;) {
        const int n = ::epoll_wait(m_epoll, events.data(), static_cast<int>(events.size()), waitMs(nowMs()));
        for (int k = 0; k < n; ++k) {
            const std::uint64_t tag = events[static_cast<std::size_t>(k)].data.u64;
            if (tag == kStopTag)
                return;
            if (tag == kListenTag) {
                accept();
                continue;
            }
            const int fd = static_cast<int>(tag);
            if (const auto link = m_links.find(fd); link != m_links.end())
                fromClient(link->second);
            else if (const auto client = m_byServer.find(fd); client != m_byServer.end())
                fromServer(m_links.at(client->second));
        }
        passDue(nowMs());
    }
}

void DelayingProxy::accept()
{
    const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = loopback(m_targetPort);
    if (server < 0 || ::connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        ::close(client);
        if (server >= 0)
            ::close(server);
        return;
    }
    // Requests and answers are small: each goes out at once, not after Nagle's wait.
    const int one = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    Link& link = m_links[client];
    link.client = client;
    link.server = server;
    m_byServer[server] = client;
    watch(m_epoll, client, static_cast<std::uint64_t>(client));
    watch(m_epoll, server, static_cast<std::uint64_t>(server));
}

void DelayingProxy::fromClient(Link& link)
{
    char buffer[16384];
    const ssize_t n = ::recv(link.client, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) {
        link.held.push_back({nowMs() + m_delayMs, std::string(buffer, static_cast<std::size_t>(n))});
    } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
        // The client is done: what it sent still goes on at its time, then the link ends.
        link.clientEnded = true;
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, link.client, nullptr);
        if (link.held.empty())
            drop(link.client);
    }
}

void DelayingProxy::fromServer(Link& link)
{
    char buffer[65536];
    const ssize_t n = ::recv(link.server, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) {
        if (!sendAll(link.client, buffer, static_cast<std::size_t>(n)))
            drop(link.client);
    } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
        drop(link.client);
    }
}

void DelayingProxy::passDue(std::int64_t now)
{
    std::vector<int> ended;
    for (auto& [client, link] : m_links) {
        while (!link.held.empty() && link.held.front().dueMs <= now) {
            const std::string& bytes = link.held.front().bytes;
            if (!sendAll(link.server, bytes.data(), bytes.size())) {
                link.held.clear();
                link.clientEnded = true;
                break;
            }
            link.held.pop_front();
        }
        if (link.clientEnded && link.held.empty())
            ended.push_back(client);
    }
    for (const int client : ended)
        drop(client);
}

void DelayingProxy::drop(int client)
{
    const auto link = m_links.find(client);
    if (link == m_links.end())
        return;
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, link->second.server, nullptr);
    if (!link->second.clientEnded)
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, client, nullptr);
    ::close(link->second.server);
    ::close(client);
    m_byServer.erase(link->second.server);
    m_links.erase(link);
}

} // namespace zorvek
