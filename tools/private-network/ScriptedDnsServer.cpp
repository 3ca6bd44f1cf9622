#include "private-network/ScriptedDnsServer.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace zorvek {
namespace {

constexpr quint16 kTypeA = 1;
constexpr int kHeaderSize = 12;

quint16 read16(const QByteArray& bytes, int at)
{
    return static_cast<quint16>((static_cast<quint8>(bytes[at]) << 8) | static_cast<quint8>(bytes[at + 1]));
}

void append16(QByteArray& bytes, quint16 value)
{
    bytes.append(static_cast<char>(value >> 8));
    bytes.append(static_cast<char>(value & 0xFF));
}

// The name and the type of the one question of a query; false for anything else.
bool parseQuestion(const QByteArray& query, QByteArray* name, quint16* type, int* end)
{
    if (query.size() < kHeaderSize + 5 || read16(query, 4) != 1)
        return false;
    int at = kHeaderSize;
    name->clear();
    while (at < query.size()) {
        const int length = static_cast<quint8>(query[at++]);
        if (length == 0)
            break;
        if (length > 63 || at + length > query.size())
            return false;
        if (!name->isEmpty())
            name->append('.');
        name->append(query.mid(at, length).toLower());
        at += length;
    }
    if (at + 4 > query.size())
        return false;
    *type = read16(query, at);
    *end = at + 4;
    return true;
}

} // namespace

ScriptedDnsServer::ScriptedDnsServer(QObject* parent) : QObject(parent) {}

ScriptedDnsServer::~ScriptedDnsServer() = default;

bool ScriptedDnsServer::listen(QString* problem)
{
    m_socket = new QUdpSocket(this);
    if (!m_socket->bind(QHostAddress::LocalHost, 53)) {
        *problem = QStringLiteral("cannot bind 127.0.0.1:53: ") + m_socket->errorString();
        return false;
    }
    connect(m_socket, &QUdpSocket::readyRead, this, &ScriptedDnsServer::readPending);
    return true;
}

void ScriptedDnsServer::answer(const QString& name, int delayMs)
{
    m_scripts.insert(name.toLower(), Script{Kind::Answer, delayMs});
}

void ScriptedDnsServer::hold(const QString& name)
{
    m_scripts.insert(name.toLower(), Script{Kind::Hold, 0});
}

void ScriptedDnsServer::release(const QString& name)
{
    const QString key = name.toLower();
    m_scripts.insert(key, Script{Kind::Answer, 0});
    for (const Question& question : m_held.take(key))
        reply(question, true);
}

void ScriptedDnsServer::neverAnswer(const QString& name)
{
    m_scripts.insert(name.toLower(), Script{Kind::Never, 0});
}

QByteArray ScriptedDnsServer::ResolverConfiguration()
{
    return "nameserver 127.0.0.1\noptions timeout:2 attempts:1\n";
}

void ScriptedDnsServer::readPending()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        Question question;
        question.query = datagram.data();
        int end = 0;
        if (!parseQuestion(question.query, &question.name, &question.type, &end))
            continue;
        question.query.truncate(end); // the header and the question, without any extra record
        question.sender = datagram.senderAddress().toString().toLatin1();
        question.senderPort = static_cast<quint16>(datagram.senderPort());
        const QString key = QString::fromLatin1(question.name);
        if (question.type == kTypeA) {
            m_questions[key] += 1;
            emit questionReceived(key);
        }
        const auto script = m_scripts.constFind(key);
        if (script == m_scripts.constEnd()) {
            reply(question, false);
            continue;
        }
        switch (script->kind) {
        case Kind::Never:
            break;
        case Kind::Hold:
            m_held[key].append(question);
            break;
        case Kind::Answer:
            if (script->delayMs == 0)
                reply(question, true);
            else
                QTimer::singleShot(script->delayMs, this, [this, question] { reply(question, true); });
            break;
        }
    }
}

void ScriptedDnsServer::reply(const Question& question, bool exists)
{
    QByteArray response = question.query;
    const bool withAddress = exists && question.type == kTypeA;
    // Flags: a response, recursion desired as asked, recursion available, NXDOMAIN or no error.
    const quint16 asked = read16(question.query, 2);
    const quint16 flags = 0x8000 | (asked & 0x0100) | 0x0080 | (exists ? 0 : 3);
    response[2] = static_cast<char>(flags >> 8);
    response[3] = static_cast<char>(flags & 0xFF);
    response[6] = 0;
    response[7] = withAddress ? 1 : 0; // answers
    response[8] = response[9] = 0;     // authority records
    response[10] = response[11] = 0;   // additional records
    if (withAddress) {
        append16(response, 0xC00C); // the name of the question
        append16(response, kTypeA);
        append16(response, 1); // class IN
        append16(response, 0);
        append16(response, 60); // time to live
        append16(response, 4);
        response.append(QByteArray("\x7f\x00\x00\x01", 4));
    }
    m_socket->writeDatagram(response, QHostAddress(QString::fromLatin1(question.sender)),
                            question.senderPort);
    ++m_answersSent;
}

} // namespace zorvek
