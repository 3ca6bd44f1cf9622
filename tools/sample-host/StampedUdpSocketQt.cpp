#include "sample-host/StampedUdpSocket.h"

#include <chrono>
#include <memory>

#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>

namespace zorvek {

// Where the system gives no receive times to a program (Windows), the time of reading stands
// in for them: datagrams read in one pass are then ordered by the order of the sockets.
struct StampedUdpSocket::Native
{
    QUdpSocket* socket = nullptr;
};

StampedUdpSocket::StampedUdpSocket(QObject* parent) : QObject(parent), m_native(std::make_unique<Native>()) {}

StampedUdpSocket::~StampedUdpSocket() = default;

bool StampedUdpSocket::bind(quint16 port)
{
    if (m_native->socket)
        return false;
    auto socket = std::make_unique<QUdpSocket>(this);
    socket->setProxy(QNetworkProxy::NoProxy);
    if (!socket->bind(QHostAddress::LocalHost, port))
        return false;
    m_native->socket = socket.release();
    m_port = m_native->socket->localPort();
    connect(m_native->socket, &QUdpSocket::readyRead, this, &StampedUdpSocket::readyRead);
    return true;
}

void StampedUdpSocket::readPending(QList<ReceivedDatagram>& into)
{
    QUdpSocket* socket = m_native->socket;
    int failedReads = 0;
    while (socket && socket->hasPendingDatagrams()) {
        const QNetworkDatagram received = socket->receiveDatagram();
        // An ICMP error for an earlier reply to a closed port shows as a failed read on
        // Windows; it carries no datagram, so the read goes on (a few times at most).
        if (!received.isValid()) {
            if (++failedReads > 32)
                return;
            continue;
        }
        ReceivedDatagram datagram;
        datagram.data = received.data();
        datagram.senderAddress = received.senderAddress();
        datagram.senderPort = static_cast<quint16>(received.senderPort());
        datagram.arrivalNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
        into.append(datagram);
    }
}

void StampedUdpSocket::send(const QByteArray& datagram, const QHostAddress& to, quint16 toPort)
{
    if (m_native->socket)
        m_native->socket->writeDatagram(datagram, to, toPort);
}

bool StampedUdpSocket::ReceiveTimesFromSystem()
{
    return false;
}

} // namespace zorvek
