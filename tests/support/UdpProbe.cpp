#include "support/UdpProbe.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>

namespace zorvek {

UdpProbe::UdpProbe(QObject* parent) : QObject(parent), m_socket(new QUdpSocket(this))
{
    m_socket->bind(QHostAddress::LocalHost, 0);
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpProbe::readPending);
}

UdpProbe::~UdpProbe() = default;

bool UdpProbe::isBound() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}

quint16 UdpProbe::port() const
{
    return m_socket->localPort();
}

bool UdpProbe::send(quint16 port, const QByteArray& data)
{
    return m_socket->writeDatagram(data, QHostAddress::LocalHost, port) == data.size();
}

std::optional<QByteArray> UdpProbe::next(int timeoutMs)
{
    if (m_queue.isEmpty()) {
        QSignalSpy arrived(this, &UdpProbe::datagramArrived);
        if (!arrived.wait(timeoutMs) && m_queue.isEmpty())
            return std::nullopt;
    }
    return m_queue.takeFirst();
}

std::optional<QByteArray> UdpProbe::ask(quint16 port, const QByteArray& data, int timeoutMs)
{
    if (!send(port, data))
        return std::nullopt;
    return next(timeoutMs);
}

bool UdpProbe::staysQuiet(int timeoutMs)
{
    if (!m_queue.isEmpty())
        return false;
    QSignalSpy arrived(this, &UdpProbe::datagramArrived);
    return !arrived.wait(timeoutMs) && m_queue.isEmpty();
}

void UdpProbe::readPending()
{
    bool any = false;
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        // An ICMP "port unreachable" shows as an invalid datagram; it carries no data.
        if (!datagram.isValid())
            continue;
        m_queue.append(datagram.data());
        m_senderPorts.append(static_cast<quint16>(datagram.senderPort()));
        any = true;
    }
    if (any)
        emit datagramArrived();
}

} // namespace zorvek
