#include "query/StatusSockets.h"

#include <QNetworkProxy>
#include <QUdpSocket>

namespace zorvek {

bool ReadsOnAfterFailedRead(QAbstractSocket::SocketError error, int failures)
{
    return error == QAbstractSocket::ConnectionRefusedError && failures <= StatusSockets::kRefusedReadLimit;
}

StatusSockets::StatusSockets(QObject* parent) : QObject(parent), m_buffer(kDatagramLimit, Qt::Uninitialized)
{
}

void StatusSockets::createSockets()
{
    m_count = kSlots;
}

QUdpSocket* StatusSockets::socketOf(int slot)
{
    Slot& s = m_slots[slot];
    if (!s.socket) {
        s.socket = new QUdpSocket(this);
        // Game servers are spoken to directly: no system proxy is looked up for each send
        // (the lookup would otherwise run again every time a closed socket binds afresh).
        s.socket->setProxy(QNetworkProxy::NoProxy);
        connect(s.socket, &QUdpSocket::readyRead, this, [this, slot] { readPending(slot); });
    }
    return s.socket;
}

bool StatusSockets::send(int slot, const QHostAddress& address, quint16 port, const QByteArray& datagram)
{
    if (slot < 1 || slot > m_count)
        return false;
    Slot& s = m_slots[slot];
    QUdpSocket* socket = socketOf(slot);
    if (s.closed)
        dropPending(slot);
    s.address = address;
    s.port = port;
    // The first send binds the socket to a port the system picks; it keeps that port.
    return socket->writeDatagram(datagram, address, port) == datagram.size();
}

void StatusSockets::close(int slot)
{
    // A socket that never sent has nothing to close.
    if (slot < 1 || slot > kSlots || !m_slots[slot].socket)
        return;
    // The socket stays bound: unbinding and binding again for every query is what a
    // refresh of many servers would spend most of its time on. Left unread, a closed
    // socket raises at most one more arrival event; past that the system holds what
    // comes, up to the socket's receive buffer, and drops the rest.
    m_slots[slot].closed = true;
}

void StatusSockets::dropPending(int slot)
{
    Slot& s = m_slots[slot];
    s.closed = false;
    // Reading also lets arrival events come again. A few strays are read away; behind
    // more than that waits a flood, which the system drops with the socket at less
    // cost than reading it: the next send binds afresh.
    for (int n = 0; n < kStrayLimit; ++n) {
        if (s.socket->state() != QAbstractSocket::BoundState || !s.socket->hasPendingDatagrams())
            return;
        if (s.socket->readDatagram(nullptr, 0) < 0)
            break;
    }
    s.socket->close();
}

void StatusSockets::readPending(int slot)
{
    Slot& s = m_slots[slot];
    QUdpSocket* socket = s.socket;
    // Every waiting datagram is read while the socket is open: one left unread would
    // stop further arrival events. Only those from the queried server's address and
    // port are delivered; the handler may close the socket, which leaves the rest.
    int failedReads = 0;
    while (!s.closed && socket->state() == QAbstractSocket::BoundState && socket->hasPendingDatagrams()) {
        QHostAddress sender;
        quint16 senderPort = 0;
        // The buffer holds the largest datagram there is: no asking for the size first.
        const qint64 size = socket->readDatagram(m_buffer.data(), m_buffer.size(), &sender, &senderPort);
        if (size < 0) {
            // Nothing is delivered: the slot keeps its row until a reply comes.
            if (ReadsOnAfterFailedRead(socket->error(), ++failedReads))
                continue;
            break;
        }
        if (senderPort == s.port && sender.isEqual(s.address, QHostAddress::ConvertV4MappedToIPv4))
            emit dataArrival(slot, QByteArray(m_buffer.constData(), size));
    }
}

} // namespace zorvek
