#pragma once

#include <memory>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>

namespace zorvek {

// One datagram an emulated server received. Sequence numbers grow across every
// emulated server of the process in the order the datagrams reached their sockets
// (the kernel's receive time), so they order arrivals at different servers.
struct ReceivedDatagram
{
    QByteArray data;
    QHostAddress senderAddress;
    quint16 senderPort = 0;
    quint64 sequence = 0;
    qint64 arrivalNs = 0; // receive time, nanoseconds of the real-time clock
};

// A UDP socket on 127.0.0.1 that tells when each datagram reached it. On Linux a plain
// socket with the kernel's receive time, which orders datagrams at several sockets even
// when they are read in one pass; elsewhere a QUdpSocket with the time it was read.
class StampedUdpSocket : public QObject
{
    Q_OBJECT

public:
    explicit StampedUdpSocket(QObject* parent = nullptr);
    ~StampedUdpSocket() override;

    // Binds 127.0.0.1:port (0: a free port). False when the port cannot be had.
    bool bind(quint16 port);
    quint16 port() const { return m_port; }

    // Appends every datagram waiting now, with its sender and receive time.
    void readPending(QList<ReceivedDatagram>& into);
    void send(const QByteArray& datagram, const QHostAddress& to, quint16 toPort);

    // Whether the receive times are the system's, taken when a datagram arrived, rather than
    // the times they were read.
    static bool ReceiveTimesFromSystem();

signals:
    void readyRead();

private:
    struct Native;
    std::unique_ptr<Native> m_native;
    quint16 m_port = 0;
};

} // namespace zorvek
