#include "sample-host/EmulatedGameServer.h"

#include <algorithm>
#include <memory>

#include <QPointer>
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

} // namespace

EmulatedGameServer::EmulatedGameServer(ServerProfile profile, QObject* parent)
    : QObject(parent), m_profile(std::move(profile))
{
}

EmulatedGameServer::~EmulatedGameServer()
{
    liveServers().removeAll(this);
}

bool EmulatedGameServer::start(quint16 port)
{
    if (m_socket)
        return false;
    auto socket = std::make_unique<StampedUdpSocket>(this);
    if (!socket->bind(port))
        return false;
    m_socket = socket.release();
    connect(m_socket, &StampedUdpSocket::readyRead, this, [this] { DeliverPending(this); });
    liveServers().append(this);
    return true;
}

quint16 EmulatedGameServer::port() const
{
    return m_socket ? m_socket->port() : 0;
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

void EmulatedGameServer::DeliverPending(EmulatedGameServer* arrived)
{
    // A handler that waits in a nested event loop must not start a second pass; the
    // sockets stay readable and are read after it.
    if (g_delivering)
        return;
    g_delivering = true;
    // Reads every server's waiting datagrams at once and numbers them by receive time,
    // because the event loop reports readable sockets in descriptor order.
    // Without the system's receive times there is nothing to order by, and on Windows a socket
    // whose arrival event finds its datagrams read already stops reporting arrivals: there
    // each server reads its own.
    QList<QPair<EmulatedGameServer*, ReceivedDatagram>> pending;
    const QList<EmulatedGameServer*> readers =
        StampedUdpSocket::ReceiveTimesFromSystem() ? liveServers() : QList<EmulatedGameServer*>{arrived};
    for (EmulatedGameServer* server : readers)
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
    QList<ReceivedDatagram> datagrams;
    m_socket->readPending(datagrams);
    for (const ReceivedDatagram& datagram : datagrams)
        pending.append({this, datagram});
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
            m_socket->send(reply, to, toPort);
        }
    }
    if (m_replyCount > 0)
        emit replySent(reply, toPort);
}

} // namespace zorvek
