#include "sample-host/ListHost.h"

#include <QTcpServer>
#include <QTcpSocket>

#include "common/GameTable.h"
#include "common/TextCodec.h"
#include "sample-host/HttpMessages.h"
#include "sample-host/SampleContent.h"

namespace zorvek {

namespace {

// The web page the info file's poster links to.
QString webPagePath()
{
    return QStringLiteral("/zorvek/web/index.html");
}

} // namespace

ListHost::ListHost(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &ListHost::onNewConnection);
}

ListHost::~ListHost() = default;

quint16 ListHost::listen(quint16 port)
{
    if (m_port != 0)
        return m_port;
    if (!m_server->listen(QHostAddress::LocalHost, port))
        return 0;
    m_port = m_server->serverPort();
    if (m_port != 0 && !hasContent(QString::fromLatin1(kInfoPath.data(), kInfoPath.size())) &&
        !hasContent(PosterPath()))
        setDefaultInfo();
    return m_port;
}

QString ListHost::baseUrl() const
{
    return QStringLiteral("http://") + hostAndPort();
}

QString ListHost::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

void ListHost::setContent(const QString& path, const QByteArray& body, int status,
                          const QByteArray& contentType)
{
    m_contents.insert(path, Content{body, status, contentType});
}

void ListHost::setErrorPage(const QString& path, int status)
{
    setContent(path, ErrorPage(status), status, "text/html; charset=iso-8859-1");
}

void ListHost::removeContent(const QString& path)
{
    m_contents.remove(path);
}

bool ListHost::hasContent(const QString& path) const
{
    return m_contents.contains(path);
}

void ListHost::setListText(int game, const QByteArray& text)
{
    setContent(ListPath(game), text, 200, "text/plain; charset=windows-1250");
}

QString ListHost::ListPath(int game)
{
    const std::string_view path = Game(game).ListPath;
    return QString::fromLatin1(path.data(), static_cast<qsizetype>(path.size()));
}

QString ListHost::PosterPath()
{
    return QStringLiteral("/zorvek/poster.jpg");
}

QString ListHost::infoLink() const
{
    return baseUrl() + webPagePath();
}

void ListHost::setDefaultInfo(const QString& baseUrl)
{
    const QString base = baseUrl.isEmpty() ? this->baseUrl() : baseUrl;
    const QByteArray toolTip(
        ToCp1250(QStringLiteral("Turnaj o pohár Zorveku – klikněte pro přihlášku")).c_str());
    setContent(
        QString::fromLatin1(kInfoPath.data(), kInfoPath.size()),
        BuildInfoText(400, 300, (base + PosterPath()).toLatin1(), (base + webPagePath()).toLatin1(), toolTip),
        200, "text/plain; charset=windows-1250");
    setContent(PosterPath(), DrawPoster(400, 300), 200, "image/jpeg");
    setContent(webPagePath(),
               QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\">"
                              "<title>Zorvek</title></head><body><h1>Turnaj o pohár Zorveku</h1>"
                              "<p>Ukázková stránka místního serveru se seznamy.</p></body></html>\n")
                   .toUtf8(),
               200, "text/html; charset=utf-8");
}

void ListHost::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void ListHost::onReadyRead(QTcpSocket* socket)
{
    // A connection's bytes so far: requests may arrive split or several at once.
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    while (const std::optional<HttpRequestHead> head = TakeHttpRequestHead(buffer)) {
        answer(socket, head->path, head->close);
        if (head->close) {
            socket->disconnectFromHost();
            return;
        }
    }
    if (buffer.size() > kMaxHttpRequestHead) {
        socket->abort();
        return;
    }
    socket->setProperty("buffer", buffer);
}

void ListHost::answer(QTcpSocket* socket, const QString& path, bool close)
{
    // Every path is looked up in the content table, so content can change while serving.
    ++m_requests[path];
    const auto it = m_contents.constFind(path);
    const Content content =
        it != m_contents.constEnd() ? *it : Content{ErrorPage(404), 404, "text/html; charset=iso-8859-1"};
    socket->write(HttpResponseHead(content.status, content.contentType, content.body.size(), !close));
    socket->write(content.body);
    emit requestServed(path, content.status);
}

} // namespace zorvek
