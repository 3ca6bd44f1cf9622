#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include <optional>

class QUdpSocket;

namespace zorvek {

// A client UDP socket on 127.0.0.1 that sends datagrams to loopback servers and waits,
// with a bound, for what comes back.
class UdpProbe : public QObject
{
    Q_OBJECT

public:
    explicit UdpProbe(QObject* parent = nullptr);
    ~UdpProbe() override;

    bool isBound() const;
    quint16 port() const;

    bool send(quint16 port, const QByteArray& data);
    // The next datagram, waiting at most timeoutMs for it; nothing when none came.
    std::optional<QByteArray> next(int timeoutMs = 2000);
    // Sends data and waits for the next datagram.
    std::optional<QByteArray> ask(quint16 port, const QByteArray& data, int timeoutMs = 2000);
    // True when no datagram arrives within timeoutMs (an event wait, not a sleep).
    bool staysQuiet(int timeoutMs);
    // Datagrams received and not yet taken.
    int pending() const { return static_cast<int>(m_queue.size()); }
    // The sender port of every datagram received so far, in order.
    QList<quint16> senderPorts() const { return m_senderPorts; }

signals:
    void datagramArrived();

private:
    void readPending();

    QUdpSocket* m_socket = nullptr;
    QList<QByteArray> m_queue;
    QList<quint16> m_senderPorts;
};

} // namespace zorvek
