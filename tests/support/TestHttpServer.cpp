#include "support/TestHttpServer.h"

#include <memory>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "sample-host/HttpMessages.h"
#include "sample-host/SampleContent.h"

namespace zorvek {

namespace {

constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kPeriod = 23;

} // namespace

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &TestHttpServer::onNewConnection);
}

TestHttpServer::~TestHttpServer() = default;

bool TestHttpServer::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 TestHttpServer::port() const
{
    return m_server->serverPort();
}

QString TestHttpServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString TestHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://") + hostAndPort() + path;
}

void TestHttpServer::serve(const QString& path, const QByteArray& body, int status,
                           const QByteArray& contentType)
{
    Script script;
    script.body = body;
    script.status = status;
    script.contentType = contentType;
    m_scripts.insert(path, script);
}

void TestHttpServer::serveErrorPage(const QString& path, int status)
{
    serve(path, ErrorPage(status), status, "text/html; charset=iso-8859-1");
}

void TestHttpServer::neverAnswer(const QString& path)
{
    Script script;
    script.kind = Kind::NeverAnswer;
    m_scripts.insert(path, script);
}

void TestHttpServer::closeWithoutAnswer(const QString& path)
{
    Script script;
    script.kind = Kind::Close;
    m_scripts.insert(path, script);
}

void TestHttpServer::drip(const QString& path, const QByteArray& body, int intervalMs, int status)
{
    Script script;
    script.kind = Kind::Drip;
    script.body = body;
    script.status = status;
    script.contentType = "text/plain";
    script.intervalMs = intervalMs;
    m_scripts.insert(path, script);
}

void TestHttpServer::redirect(const QString& path, const QString& location, int status)
{
    Script script;
    script.kind = Kind::Redirect;
    script.status = status;
    script.location = location.toUtf8();
    m_scripts.insert(path, script);
}

void TestHttpServer::serveGenerated(const QString& path, qint64 size, int status)
{
    Script script;
    script.kind = Kind::Generated;
    script.status = status;
    script.contentType = "application/octet-stream";
    script.size = size;
    m_scripts.insert(path, script);
}

QByteArray TestHttpServer::GeneratedBytes(qint64 offset, qint64 count)
{
    // Printable, with a period of 23 bytes that no chunk size shares, so a lost or
    // doubled chunk shows. Cut from a ready run of the pattern.
    static const QByteArray pattern = [] {
        QByteArray run(kChunk + kPeriod, Qt::Uninitialized);
        for (qint64 i = 0; i < run.size(); ++i)
            run[i] = static_cast<char>('a' + i % kPeriod);
        return run;
    }();
    QByteArray bytes;
    bytes.reserve(count);
    while (count > 0) {
        const qint64 n = std::min(count, kChunk);
        bytes.append(pattern.constData() + offset % kPeriod, n);
        offset += n;
        count -= n;
    }
    return bytes;
}

void TestHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++m_openConnections;
        socket->setProperty("connection", ++m_connectionsAccepted);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --m_openConnections;
            socket->deleteLater();
            emit connectionClosed();
        });
    }
}

void TestHttpServer::onReadyRead(QTcpSocket* socket)
{
    // One request at a time per connection: without keep-alive the answer says
    // "Connection: close" and anything read after the head (a second request) is ignored.
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("head").toByteArray() + socket->readAll();
    const std::optional<HttpRequestHead> head = TakeHttpRequestHead(buffer);
    if (!head) {
        if (buffer.size() > kMaxHttpRequestHead)
            socket->abort();
        else
            socket->setProperty("head", buffer);
        return;
    }
    socket->setProperty("head", buffer);
    socket->setProperty("answered", true);

    const QString path = head->path;
    ++m_totalRequests;
    ++m_requestCounts[path];
    m_lastHeads.insert(path, head->text);
    m_events.append({Event::Request, path, socket->property("connection").toInt()});
    emit requestReceived(path);

    Script script;
    const auto it = m_scripts.constFind(path);
    if (it != m_scripts.constEnd()) {
        script = *it;
    } else {
        script.body = ErrorPage(404);
        script.status = 404;
        script.contentType = "text/html; charset=iso-8859-1";
    }
    if (m_answerDelayMs > 0)
        QTimer::singleShot(m_answerDelayMs, socket,
                           [this, socket, path, script] { answer(socket, path, script); });
    else
        answer(socket, path, script);
}

void TestHttpServer::answer(QTcpSocket* socket, const QString& path, const Script& script)
{
    if (script.kind != Kind::NeverAnswer && script.kind != Kind::Close)
        m_events.append({Event::Answer, path, socket->property("connection").toInt()});
    respond(socket, script);
    if (m_keepAlive && script.kind == Kind::Body) {
        // Ready for the connection's next request, which may be in already.
        socket->setProperty("answered", false);
        if (!socket->property("head").toByteArray().isEmpty() || socket->bytesAvailable() > 0)
            QMetaObject::invokeMethod(
                socket, [this, socket] { onReadyRead(socket); }, Qt::QueuedConnection);
    }
}

void TestHttpServer::respond(QTcpSocket* socket, const Script& script)
{
    switch (script.kind) {
    case Kind::Body:
        writeHead(socket, script.status, script.contentType, script.body.size());
        socket->write(script.body);
        if (!m_keepAlive)
            socket->disconnectFromHost();
        break;
    case Kind::NeverAnswer:
        break;
    case Kind::Close:
        socket->disconnectFromHost();
        break;
    case Kind::Drip:
        writeHead(socket, script.status, script.contentType, script.body.size());
        startDrip(socket, script.body, script.intervalMs);
        break;
    case Kind::Redirect:
        writeHead(socket, script.status, "text/plain", 0, "Location: " + script.location + "\r\n");
        socket->disconnectFromHost();
        break;
    case Kind::Generated:
        writeHead(socket, script.status, script.contentType, script.size);
        startGenerated(socket, script.size);
        break;
    }
}

void TestHttpServer::writeHead(QTcpSocket* socket, int status, const QByteArray& contentType, qint64 length,
                               const QByteArray& extraHeaders)
{
    socket->write(HttpResponseHead(status, contentType, length, m_keepAlive, extraHeaders));
}

void TestHttpServer::startDrip(QTcpSocket* socket, const QByteArray& body, int intervalMs)
{
    // The timer belongs to the socket, so it ends with the connection.
    auto* timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [this, socket, timer, body, sent] {
        if (*sent >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid(*sent, 1));
        ++*sent;
        emit bodyByteSent();
    });
    timer->start(intervalMs);
}

void TestHttpServer::startGenerated(QTcpSocket* socket, qint64 size)
{
    // Refills the socket's buffer as it drains, so at most a few chunks are held at once.
    auto offset = std::make_shared<qint64>(0);
    auto refill = [socket, size, offset] {
        while (*offset < size && socket->bytesToWrite() < 2 * kChunk &&
               socket->state() == QAbstractSocket::ConnectedState) {
            const qint64 n = std::min(kChunk, size - *offset);
            socket->write(GeneratedBytes(*offset, n));
            *offset += n;
        }
        if (*offset >= size && socket->state() == QAbstractSocket::ConnectedState)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, refill);
    refill();
}

} // namespace zorvek
