#include "sample-host/EmulatedGameServer.h"

#include <atomic>

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace zorvek {

namespace {

std::atomic<quint64> g_nextSequence{1};

bool isCommand(const QByteArray& datagram, const char* command)
{
    return datagram.startsWith(OutOfBandPrefix() + command);
}

} // namespace

EmulatedGameServer::EmulatedGameServer(ServerProfile profile, QObject* parent)
    : QObject(parent), m_profile(std::move(profile)), m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &EmulatedGameServer::readPending);
}

EmulatedGameServer::~EmulatedGameServer() = default;

bool EmulatedGameServer::start(quint16 port)
{
    return m_socket->bind(QHostAddress::LocalHost, port);
}

quint16 EmulatedGameServer::port() const
{
    return m_socket->localPort();
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
    int count = 0;
    for (const ReceivedDatagram& d : m_received) {
        if (isCommand(d.data, "getstatus"))
            ++count;
    }
    return count;
}

void EmulatedGameServer::clearReceived()
{
    m_received.clear();
}

void EmulatedGameServer::readPending()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        if (!datagram.isValid())
            continue;
        ReceivedDatagram record{datagram.data(), datagram.senderAddress(),
                                static_cast<quint16>(datagram.senderPort()), g_nextSequence++};
        m_received.append(record);
        emit datagramReceived(record.data, record.senderPort, record.sequence);

        const std::optional<QByteArray> answer = answerFor(record.data);
        if (!answer)
            continue;
        if (m_replyDelay == 0) {
            sendReply(*answer, record.senderAddress, record.senderPort);
        } else {
            QTimer::singleShot(m_replyDelay, this, [this, a = *answer, record] {
                sendReply(a, record.senderAddress, record.senderPort);
            });
        }
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
    QUdpSocket* socket = m_otherSocket ? m_otherSocket : m_socket;
    for (int i = 0; i < m_replyCount; ++i)
        socket->writeDatagram(reply, to, toPort);
    if (m_replyCount > 0)
        emit replySent(reply, toPort);
}

} // namespace zorvek
