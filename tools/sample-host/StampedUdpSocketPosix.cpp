#include "sample-host/StampedUdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace zorvek {

namespace {

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

struct StampedUdpSocket::Native
{
    int fd = -1;
};

StampedUdpSocket::StampedUdpSocket(QObject* parent) : QObject(parent), m_native(std::make_unique<Native>()) {}

StampedUdpSocket::~StampedUdpSocket()
{
    if (m_native->fd >= 0)
        ::close(m_native->fd);
}

bool StampedUdpSocket::bind(quint16 port)
{
    if (m_native->fd >= 0)
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
    m_native->fd = fd;
    m_port = ntohs(address.sin_port);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StampedUdpSocket::readyRead);
    return true;
}

void StampedUdpSocket::readPending(QList<ReceivedDatagram>& into)
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
        const ssize_t size = ::recvmsg(m_native->fd, &message, MSG_DONTWAIT);
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
        into.append(datagram);
    }
}

void StampedUdpSocket::send(const QByteArray& datagram, const QHostAddress& to, quint16 toPort)
{
    sockaddr_in address = loopback(toPort);
    address.sin_addr.s_addr = htonl(to.toIPv4Address());
    ::sendto(m_native->fd, datagram.constData(), static_cast<std::size_t>(datagram.size()), 0,
             reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

bool StampedUdpSocket::ReceiveTimesFromSystem()
{
    return true;
}

} // namespace zorvek
