#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace zorvek {

// An HTTP server on 127.0.0.1 for tests, with a scripted behaviour per path: a body with
// any status, no answer at all, a dripping body, a redirect, a large generated body.
// Event-driven on the test's thread, so it serves while a blocking GET runs its own loop.
class TestHttpServer : public QObject
{
    Q_OBJECT

public:
    explicit TestHttpServer(QObject* parent = nullptr);
    ~TestHttpServer() override;

    // Listens on 127.0.0.1:port (0: a free port).
    bool listen(quint16 port = 0);
    quint16 port() const;
    QString hostAndPort() const;            // "127.0.0.1:PORT"
    QString url(const QString& path) const; // "http://127.0.0.1:PORT" + path

    // Behaviours per path (the path of the request target, without a query).
    void serve(const QString& path, const QByteArray& body, int status = 200,
               const QByteArray& contentType = "text/plain");
    void serveErrorPage(const QString& path, int status = 404); // holds "DOCTYPE HTML PUBLIC"
    void neverAnswer(const QString& path);        // reads the request, never answers, keeps the connection
    void closeWithoutAnswer(const QString& path); // closes the connection after the request
    void drip(const QString& path, const QByteArray& body, int intervalMs, int status = 200);
    void redirect(const QString& path, const QString& location, int status = 302);
    // size bytes of GeneratedBytes, written as the client takes them, never held whole.
    void serveGenerated(const QString& path, qint64 size, int status = 200);
    // Unscripted paths get a 404 error page.

    // The bytes of a generated body from offset on.
    static QByteArray GeneratedBytes(qint64 offset, qint64 count);

    // Every answer goes out this long after its request came (0: at once).
    void setAnswerDelay(int ms) { m_answerDelayMs = ms; }
    // Bodies are answered with "Connection: keep-alive" and the connection takes further
    // requests (default: one request per connection, then "Connection: close").
    void setKeepAlive(bool keepAlive) { m_keepAlive = keepAlive; }

    // What the server saw and did, in order: a request on a connection (numbered from 1 in
    // the order they were accepted), or the answer to one going out.
    struct Event
    {
        enum Kind { Request, Answer } kind;
        QString path;
        int connection;
    };
    const QList<Event>& events() const { return m_events; }
    int connectionsAccepted() const { return m_connectionsAccepted; }

    int requestCount(const QString& path) const { return m_requestCounts.value(path); }
    int totalRequests() const { return m_totalRequests; }
    QByteArray lastRequestHead(const QString& path) const { return m_lastHeads.value(path); }
    int openConnections() const { return m_openConnections; }

signals:
    void requestReceived(const QString& path);
    void connectionClosed();
    void bodyByteSent(); // one byte of a dripping body went out

private:
    enum class Kind { Body, NeverAnswer, Close, Drip, Redirect, Generated };
    struct Script
    {
        Kind kind = Kind::Body;
        QByteArray body;
        int status = 200;
        QByteArray contentType;
        int intervalMs = 0;
        QByteArray location;
        qint64 size = 0;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const Script& script);
    void answer(QTcpSocket* socket, const QString& path, const Script& script);
    void writeHead(QTcpSocket* socket, int status, const QByteArray& contentType, qint64 length,
                   const QByteArray& extraHeaders = {});
    void startDrip(QTcpSocket* socket, const QByteArray& body, int intervalMs);
    void startGenerated(QTcpSocket* socket, qint64 size);

    QTcpServer* m_server = nullptr;
    QHash<QString, Script> m_scripts;
    QHash<QString, int> m_requestCounts;
    QHash<QString, QByteArray> m_lastHeads;
    int m_totalRequests = 0;
    int m_openConnections = 0;
    int m_connectionsAccepted = 0;
    int m_answerDelayMs = 0;
    bool m_keepAlive = false;
    QList<Event> m_events;
};

} // namespace zorvek
