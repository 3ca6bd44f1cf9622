#include "PlainQueryLoop.h"

#include <chrono>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvek {

namespace {

constexpr char kQuery[] = "\xFF\xFF\xFF\xFFgetstatus";

} // namespace

PlainQueryLoop::PlainQueryLoop(std::vector<std::uint16_t> ports) : m_ports(std::move(ports)) {}

PlainQueryLoop::~PlainQueryLoop()
{
    for (const int fd : m_sockets)
        ::close(fd);
    if (m_epoll >= 0)
        ::close(m_epoll);
}

bool PlainQueryLoop::open()
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    if (m_epoll < 0)
        return false;
    for (std::size_t i = 0; i < m_ports.size(); ++i) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        m_sockets.push_back(fd);
        // Connected: the kernel delivers only the server's datagrams to this socket.
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        server.sin_port = htons(m_ports[i]);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0)
            return false;
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u32 = static_cast<std::uint32_t>(i);
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) != 0)
            return false;
    }
    return true;
}

void PlainQueryLoop::drain()
{
    char buffer[65536];
    for (const int fd : m_sockets)
        while (::recv(fd, buffer, sizeof buffer, 0) >= 0) {
        }
}

PlainQueryLoop::Round PlainQueryLoop::run(int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    drain();
    std::vector<bool> answered(m_sockets.size(), false);
    std::vector<epoll_event> events(m_sockets.size());
    static char buffer[65536];
    Round round;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);

    for (const int fd : m_sockets)
        ::send(fd, kQuery, sizeof kQuery - 1, 0);
    while (round.answered < static_cast<int>(m_sockets.size())) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        const int n =
            ::epoll_wait(m_epoll, events.data(), static_cast<int>(events.size()), static_cast<int>(left));
        for (int k = 0; k < n; ++k) {
            const std::uint32_t i = events[static_cast<std::size_t>(k)].data.u32;
            while (::recv(m_sockets[i], buffer, sizeof buffer, 0) >= 0) {
                if (!answered[i]) {
                    answered[i] = true;
                    ++round.answered;
                }
            }
        }
    }
    round.micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    return round;
}

} // namespace zorvek
