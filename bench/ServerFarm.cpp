#include "ServerFarm.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include <arpa/inet.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvek {

namespace {

std::int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool isCommand(const char* data, ssize_t size, const char* command)
{
    const QByteArray prefix = OutOfBandPrefix() + command;
    return size >= prefix.size() &&
           std::memcmp(data, prefix.constData(), static_cast<std::size_t>(prefix.size())) == 0;
}

} // namespace

ServerFarm::ServerFarm(Options options) : m_options(options) {}

ServerFarm::~ServerFarm()
{
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_stopFd, &one, sizeof one);
        m_thread.join();
    }
    for (const Server& s : m_servers)
        if (s.fd >= 0)
            ::close(s.fd);
    if (m_epoll >= 0)
        ::close(m_epoll);
    if (m_stopFd >= 0)
        ::close(m_stopFd);
}

ServerProfile ServerFarm::MakeProfile(int i)
{
    static const char* const maps[] = {"mp_crash",    "mp_backlot", "mp_strike",    "mp_crossfire",
                                       "mp_district", "mp_vacant",  "mp_overgrown", "mp_bloc",
                                       "mp_pipeline", "mp_showdown"};
    static const char* const types[] = {"war", "dm", "sd", "dom", "koth", "sab"};
    ServerProfile profile;
    profile.game = 2;
    profile.hostName = "^3Bench ^7" + QByteArray::number(i + 1);
    profile.gameType = types[i % std::size(types)];
    profile.mapName = maps[i % std::size(maps)];
    profile.maxClients = i % 3 == 0 ? 32 : 24;
    profile.friendlyFire = QByteArray::number(i % 3);
    profile.killCam = QByteArray::number(i % 2);
    const int players = (i * 7) % 25;
    for (int k = 0; k < players; ++k) {
        // Colour codes and Windows-1250 letters, as Czech players write their names.
        profile.players.append({"^2Hr\xe1\xe8^7" + QByteArray::number(k + 1), (k * 37 + i * 11) % 80 - 10,
                                15 + (k * 53 + i * 7) % 180});
    }
    return profile;
}

QByteArray ServerFarm::FitReply(ServerProfile profile, int bytes)
{
    QByteArray reply = BuildStatusResponse(profile);
    if (bytes <= 0)
        return reply;
    // A full server: players until the reply would pass the size, then a message of
    // the day fills the rest exactly.
    while (profile.players.size() < profile.maxClients) {
        ServerProfile more = profile;
        const int k = static_cast<int>(more.players.size());
        more.players.append({"^2Hr\xe1\xe8^7" + QByteArray::number(k + 1), k * 3, 40 + k});
        if (BuildStatusResponse(more).size() > bytes - 40)
            break;
        profile = std::move(more);
    }
    while (!profile.players.isEmpty() && BuildStatusResponse(profile).size() > bytes - 20)
        profile.players.removeLast();
    reply = BuildStatusResponse(profile);
    const qsizetype room = bytes - reply.size() - static_cast<qsizetype>(std::strlen("\\sv_motd\\"));
    if (room > 0) {
        profile.extraSettings.append({"sv_motd", QByteArray(room, 'x')});
        reply = BuildStatusResponse(profile);
    }
    return reply;
}

bool ServerFarm::start()
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_epoll < 0 || m_stopFd < 0) {
        m_error = "cannot create epoll or eventfd";
        return false;
    }
    epoll_event stop{};
    stop.events = EPOLLIN;
    stop.data.u32 = UINT32_MAX;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_stopFd, &stop);

    m_servers.resize(static_cast<std::size_t>(m_options.servers));
    m_hasPending.assign(m_servers.size(), false);
    for (int i = 0; i < m_options.servers; ++i) {
        Server& s = m_servers[static_cast<std::size_t>(i)];
        m_profiles.push_back(MakeProfile(i));
        s.statusReply = FitReply(m_profiles.back(), m_options.replyBytes);
        s.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (s.fd < 0) {
            m_error = "cannot open a UDP socket";
            return false;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(s.fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::getsockname(s.fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            m_error = "cannot bind a UDP port on 127.0.0.1";
            return false;
        }
        s.port = ntohs(address.sin_port);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u32 = static_cast<std::uint32_t>(i);
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, s.fd, &event);
    }
    m_thread = std::thread([this] { run(); });
    return true;
}

std::vector<std::uint16_t> ServerFarm::ports() const
{
    std::vector<std::uint16_t> result;
    for (const Server& s : m_servers)
        result.push_back(s.port);
    return result;
}

void ServerFarm::run()
{
    std::vector<epoll_event> events(m_servers.size() + 1);
    for (;;) {
        int timeout = -1;
        if (!m_pending.empty())
            timeout = static_cast<int>(
                std::max<std::int64_t>(0, m_firstPendingMs + m_options.burstWaitMs - nowMs()));
        const int n = ::epoll_wait(m_epoll, events.data(), static_cast<int>(events.size()), timeout);
        for (int k = 0; k < n; ++k) {
            if (events[static_cast<std::size_t>(k)].data.u32 == UINT32_MAX)
                return;
            serve(static_cast<int>(events[static_cast<std::size_t>(k)].data.u32));
        }
        if (!m_pending.empty() &&
            (m_pendingServers == m_options.servers || nowMs() >= m_firstPendingMs + m_options.burstWaitMs))
            flush();
    }
}

void ServerFarm::serve(int server)
{
    Server& s = m_servers[static_cast<std::size_t>(server)];
    char buffer[2048];
    for (;;) {
        sockaddr_in client{};
        socklen_t length = sizeof client;
        const ssize_t size =
            ::recvfrom(s.fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&client), &length);
        if (size < 0)
            return;
        if (isCommand(buffer, size, "getstatus")) {
            if (m_options.burst) {
                if (m_pending.empty())
                    m_firstPendingMs = nowMs();
                m_pending.push_back({server, client});
                if (!m_hasPending[static_cast<std::size_t>(server)]) {
                    m_hasPending[static_cast<std::size_t>(server)] = true;
                    ++m_pendingServers;
                }
            } else {
                ::sendto(s.fd, s.statusReply.constData(), static_cast<std::size_t>(s.statusReply.size()), 0,
                         reinterpret_cast<sockaddr*>(&client), length);
            }
        } else if (isCommand(buffer, size, "getinfo")) {
            // "getinfo <challenge>": the challenge is echoed in the reply.
            const QByteArray rest = QByteArray(buffer + 11, static_cast<qsizetype>(size - 11)).trimmed();
            const QByteArray info =
                BuildInfoResponse(m_profiles[static_cast<std::size_t>(server)], rest.split(' ').value(0));
            ::sendto(s.fd, info.constData(), static_cast<std::size_t>(info.size()), 0,
                     reinterpret_cast<sockaddr*>(&client), length);
        }
    }
}

void ServerFarm::flush()
{
    for (const Pending& p : m_pending) {
        const Server& s = m_servers[static_cast<std::size_t>(p.server)];
        ::sendto(s.fd, s.statusReply.constData(), static_cast<std::size_t>(s.statusReply.size()), 0,
                 reinterpret_cast<const sockaddr*>(&p.client), sizeof p.client);
    }
    m_pending.clear();
    std::fill(m_hasPending.begin(), m_hasPending.end(), false);
    m_pendingServers = 0;
}

} // namespace zorvek
