#include "sample-host/EmulatedGameServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QUdpSocket>

namespace zorvek {

namespace {

quint64 g_nextSequence = 1;
bool g_delivering = false;

// Every started server of the process (all live on the one GUI thread).
QList<EmulatedGameServer*>& liveServers()
{
    static QList<EmulatedGameServer*> servers;
    return servers;
}

bool isCommand(const QByteArray& datagram, const char* command)
{
    return datagram.startsWith(OutOfBandPrefix() + command);
}

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

qint64 nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

EmulatedGameServer::EmulatedGameServer(ServerProfile profile, QObject* parent)
    : QObject(parent), m_profile(std::move(profile))
{
}

EmulatedGameServer::~EmulatedGameServer()
{
    liveServers().removeAll(this);
    if (m_fd >= 0)
        ::close(m_fd);
}

bool EmulatedGameServer::start(quint16 port)
{
    if (m_fd >= 0)
        return false;
    // A plain socket rather than QUdpSocket: its kernel receive time tells which of
    // several servers a datagram reached first, even when they are read in one pass.
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int on = 1;
    sockaddr_in address = loopback(port);
    socklen_t length = sizeof address;
    if (::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_port = ntohs(address.sin_port);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] { DeliverPending(); });
    liveServers().append(this);
    return true;
}

quint16 EmulatedGameServer::port() const
{
    return m_port;
}

void EmulatedGameServer::setProfile(ServerProfile profile)
{
    m_profile = std::move(profile);
}

void EmulatedGameServer::setSilent(bool silent)
{
    m_profile.silent = silent;
}

QByteArray EmulatedGameServer::statusReply() const
{
    return m_rawReply ? *m_rawReply : BuildStatusResponse(m_profile);
}

void EmulatedGameServer::setRawReply(const QByteArray& bytes)
{
    m_rawReply = bytes;
}

void EmulatedGameServer::clearRawReply()
{
    m_rawReply.reset();
}

quint16 EmulatedGameServer::answerFromOtherPort()
{
    if (!m_otherSocket) {
        auto* socket = new QUdpSocket(this);
        if (!socket->bind(QHostAddress::LocalHost, 0)) {
            socket->deleteLater();
            return 0;
        }
        m_otherSocket = socket;
    }
    return m_otherSocket->localPort();
}

void EmulatedGameServer::answerFromOwnPort()
{
    if (m_otherSocket) {
        m_otherSocket->deleteLater();
        m_otherSocket = nullptr;
    }
}

void EmulatedGameServer::setReplyCount(int count)
{
    m_replyCount = std::max(0, count);
}

void EmulatedGameServer::setReplyDelay(int milliseconds)
{
    m_replyDelay = std::max(0, milliseconds);
}

int EmulatedGameServer::statusQueryCount() const
{
    return static_cast<int>(
        std::count_if(m_received.begin(), m_received.end(),
                      [](const ReceivedDatagram& d) { return isCommand(d.data, "getstatus"); }));
}

void EmulatedGameServer::clearReceived()
{
    m_received.clear();
}

void EmulatedGameServer::DeliverPending()
{
    // A handler that waits in a nested event loop must not start a second pass; the
    // sockets stay readable and are read after it.
    if (g_delivering)
        return;
    g_delivering = true;
    // Reads every server's waiting datagrams at once and numbers them by receive time,
    // because the event loop reports readable sockets in descriptor order.
    QList<QPair<EmulatedGameServer*, ReceivedDatagram>> pending;
    for (EmulatedGameServer* server : liveServers())
        server->readInto(pending);
    std::stable_sort(pending.begin(), pending.end(),
                     [](const auto& a, const auto& b) { return a.second.arrivalNs < b.second.arrivalNs; });
    QList<QPointer<EmulatedGameServer>> targets;
    for (auto& [server, datagram] : pending) {
        datagram.sequence = g_nextSequence++;
        targets.append(server);
    }
    g_delivering = false;
    for (qsizetype i = 0; i < pending.size(); ++i) {
        if (targets[i])
            targets[i]->handle(pending[i].second);
    }
}

void EmulatedGameServer::readInto(QList<QPair<EmulatedGameServer*, ReceivedDatagram>>& pending)
{
    QByteArray buffer(65536, Qt::Uninitialized);
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    for (;;) {
        sockaddr_in sender{};
        iovec vector{buffer.data(), static_cast<std::size_t>(buffer.size())};
        msghdr message{};
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
        message.msg_iov = &vector;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(m_fd, &message, MSG_DONTWAIT);
        if (size < 0) {
            // EAGAIN: drained. An ICMP error queued by a reply to a closed port also
            // shows here; it carries no datagram, so the read goes on.
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                return;
            continue;
        }
        ReceivedDatagram datagram;
        datagram.data = buffer.left(size);
        datagram.senderAddress = QHostAddress(ntohl(sender.sin_addr.s_addr));
        datagram.senderPort = ntohs(sender.sin_port);
        datagram.arrivalNs = nowNs();
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec stamp{};
                std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
                datagram.arrivalNs = static_cast<qint64>(stamp.tv_sec) * 1000000000 + stamp.tv_nsec;
            }
        }
        pending.append({this, datagram});
    }
}

void EmulatedGameServer::handle(const ReceivedDatagram& datagram)
{
    m_received.append(datagram);
    // The answer is worked out before the signal, so a test reacting to the signal by
    // changing the profile changes the next answer, not this one.
    const std::optional<QByteArray> answer = answerFor(datagram.data);
    QPointer<EmulatedGameServer> self(this);
    emit datagramReceived(datagram.data, datagram.senderPort, datagram.sequence);
    if (!self || !answer)
        return;
    if (m_replyDelay == 0) {
        sendReply(*answer, datagram.senderAddress, datagram.senderPort);
    } else {
        QTimer::singleShot(m_replyDelay, this, [this, a = *answer, datagram] {
            sendReply(a, datagram.senderAddress, datagram.senderPort);
        });
    }
}

std::optional<QByteArray> EmulatedGameServer::answerFor(const QByteArray& datagram) const
{
    if (m_profile.silent)
        return std::nullopt;
    if (isCommand(datagram, "getstatus"))
        return statusReply();
    if (isCommand(datagram, "getinfo")) {
        // "getinfo <challenge>": the challenge is the first word after the command.
        const QByteArray rest = datagram.mid(OutOfBandPrefix().size() + 7).trimmed();
        return BuildInfoResponse(m_profile, rest.split(' ').value(0));
    }
    return std::nullopt;
}

void EmulatedGameServer::sendReply(const QByteArray& reply, const QHostAddress& to, quint16 toPort)
{
    for (int i = 0; i < m_replyCount; ++i) {
        if (m_otherSocket) {
            m_otherSocket->writeDatagram(reply, to, toPort);
        } else {
            sockaddr_in address = loopback(toPort);
            address.sin_addr.s_addr = htonl(to.toIPv4Address());
            ::sendto(m_fd, reply.constData(), static_cast<std::size_t>(reply.size()), 0,
                     reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
    }
    if (m_replyCount > 0)
        emit replySent(reply, toPort);
}

} // namespace zorvek
