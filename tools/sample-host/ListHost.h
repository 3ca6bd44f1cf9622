#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace zorvek {

// The list host: an HTTP/1.1 server on 127.0.0.1 serving the server list files, the info
// file and its poster, and any other content set per path, over kept connections.
class ListHost : public QObject
{
    Q_OBJECT

public:
    explicit ListHost(QObject* parent = nullptr);
    ~ListHost() override;

    // Listens on 127.0.0.1:port (0: a free port) and, unless set before, serves the
    // default info file and poster. Returns the port, 0 when it cannot listen.
    quint16 listen(quint16 port = 0);
    quint16 port() const { return m_port; }
    QString baseUrl() const;     // "http://127.0.0.1:PORT"
    QString hostAndPort() const; // "127.0.0.1:PORT", the form of the list host setting

    // Serves body with this status at path (e.g. "/zorvek/info.txt"); replaces earlier content.
    void setContent(const QString& path, const QByteArray& body, int status = 200,
                    const QByteArray& contentType = "text/plain");
    // An error status with the page web servers send, holding "DOCTYPE HTML PUBLIC".
    void setErrorPage(const QString& path, int status = 404);
    void removeContent(const QString& path);
    bool hasContent(const QString& path) const;

    // The server list of game index 1..5, at its path of the game table.
    void setListText(int game, const QByteArray& text);
    static QString ListPath(int game);

    // An info file naming the poster on this host, and the poster itself (400 x 300). With a
    // base URL the info file names the poster and its link there instead (a relay in front).
    void setDefaultInfo(const QString& baseUrl = QString());
    static QString PosterPath();
    QString infoLink() const;

    int requestCount(const QString& path) const { return m_requests.value(path); }

signals:
    void requestServed(const QString& path, int status);

private:
    struct Content
    {
        QByteArray body;
        int status = 200;
        QByteArray contentType;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& path, bool close);

    QTcpServer* m_server = nullptr;
    quint16 m_port = 0;
    QHash<QString, Content> m_contents;
    QHash<QString, int> m_requests;
};

} // namespace zorvek
