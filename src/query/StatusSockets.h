#pragma once

#include <array>

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QObject>

class QUdpSocket;

namespace zorvek {

// Whether a slot's socket reads on after the `failures`-th read of one arrival event failed
// with `error`. Windows reports an ICMP "port unreachable" for an earlier query (nothing
// listens there) as an arrival whose read fails with ConnectionRefusedError: that is no
// reply, the real one may still come, and the datagrams behind it are read (a bounded number
// of such failures at a time). Any other failure ends the pass; the next arrival reads again.
bool ReadsOnAfterFailedRead(QAbstractSocket::SocketError error, int failures);

// The socket array sockCOD: one UDP socket per server slot 1..255, each sending its
// slot's status query and delivering what that slot's server sends back.
class StatusSockets : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlots = 255;
    // Refused reads (see ReadsOnAfterFailedRead) that one arrival event reads past.
    static constexpr int kRefusedReadLimit = 32;

    explicit StatusSockets(QObject* parent = nullptr);

    // Slot 1 has its socket from construction; this gives slots 2..255 theirs. A socket's
    // object is made when its slot first sends: before that there is nothing it could do, and
    // the system socket comes with the first send anyway.
    void createSockets();
    // The slots that have a socket and may send: 1, or 255 after createSockets.
    int count() const { return m_count; }

    // Sends the datagram from slot's socket to address:port and remembers that
    // sender as the only one whose datagrams count for the slot. False when the
    // socket is missing or the send failed.
    bool send(int slot, const QHostAddress& address, quint16 port, const QByteArray& datagram);

    // Closes slot's socket for the query it was sent: nothing more arrives on it until
    // its next send, and what was sent to it meanwhile is dropped before that send.
    void close(int slot);

signals:
    // A datagram from the server that slot's last query went to.
    void dataArrival(int slot, const QByteArray& datagram);

private:
    // The slot's socket object, made now if it was not.
    QUdpSocket* socketOf(int slot);
    void readPending(int slot);
    void dropPending(int slot);

    struct Slot
    {
        QUdpSocket* socket = nullptr;
        QHostAddress address;
        quint16 port = 0;
        // Closed for the current query: datagrams wait unread in the system and are
        // dropped before the next send.
        bool closed = false;
    };
    std::array<Slot, kSlots + 1> m_slots{}; // 1..255
    int m_count = 1;
    // Datagrams read away before a send; more than these are dropped with the socket.
    static constexpr int kStrayLimit = 32;
    // Larger than any UDP payload (65,535 bytes less the 8-byte header).
    static constexpr int kDatagramLimit = 65536;
    QByteArray m_buffer; // every datagram is read into it, then copied out
};

} // namespace zorvek
