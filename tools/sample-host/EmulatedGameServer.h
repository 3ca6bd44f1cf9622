#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>

#include <optional>

#include "sample-host/ServerProfile.h"
#include "sample-host/StampedUdpSocket.h"

class QUdpSocket;

namespace zorvek {

// A game server on a loopback UDP port that answers the status query and "getinfo"
// like a dedicated server, from a ServerProfile; tests can bend its answers.
class EmulatedGameServer : public QObject
{
    Q_OBJECT

public:
    explicit EmulatedGameServer(ServerProfile profile = {}, QObject* parent = nullptr);
    ~EmulatedGameServer() override;

    // Binds 127.0.0.1:port (0: a free port). False when the port cannot be had.
    bool start(quint16 port = 0);
    quint16 port() const;

    const ServerProfile& profile() const { return m_profile; }
    void setProfile(ServerProfile profile);
    void setSilent(bool silent);

    // The status reply sent now: the raw reply when one is set, else the built one.
    QByteArray statusReply() const;
    // Sends these bytes instead of the built status reply (any length, even empty).
    void setRawReply(const QByteArray& bytes);
    void clearRawReply();

    // Answers from a second socket on another loopback port; returns that port (0 on failure).
    quint16 answerFromOtherPort();
    void answerFromOwnPort();
    // Each query is answered this many times (0 acts like a silent server).
    void setReplyCount(int count);
    // Answers this many milliseconds after the query (0: at once).
    void setReplyDelay(int milliseconds);

    const QList<ReceivedDatagram>& received() const { return m_received; }
    int statusQueryCount() const;
    void clearReceived();

signals:
    void datagramReceived(const QByteArray& data, quint16 senderPort, quint64 sequence);
    void replySent(const QByteArray& data, quint16 receiverPort);

private:
    static void DeliverPending(EmulatedGameServer* arrived);
    void readInto(QList<QPair<EmulatedGameServer*, ReceivedDatagram>>& pending);
    void handle(const ReceivedDatagram& datagram);
    std::optional<QByteArray> answerFor(const QByteArray& datagram) const;
    void sendReply(const QByteArray& reply, const QHostAddress& to, quint16 toPort);

    ServerProfile m_profile;
    StampedUdpSocket* m_socket = nullptr;
    QUdpSocket* m_otherSocket = nullptr;
    std::optional<QByteArray> m_rawReply;
    int m_replyCount = 1;
    int m_replyDelay = 0;
    QList<ReceivedDatagram> m_received;
};

} // namespace zorvek
