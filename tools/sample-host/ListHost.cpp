#include "sample-host/ListHost.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>

#include "common/GameTable.h"
#include "common/TextCodec.h"
#include "sample-host/SampleContent.h"

namespace zorvek {

namespace {

// The web page the info file's poster links to.
QString webPagePath()
{
    return QStringLiteral("/zorvek/web/index.html");
}

} // namespace

ListHost::ListHost(QObject* parent) : QObject(parent), m_server(new QHttpServer(this))
{
    // Every path is looked up in the content table, so content can change while serving.
    m_server->setMissingHandler([this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
        answer(request, std::move(responder));
    });
}

ListHost::~ListHost() = default;

quint16 ListHost::listen(quint16 port)
{
    if (m_port != 0)
        return m_port;
    m_port = m_server->listen(QHostAddress::LocalHost, port);
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

void ListHost::answer(const QHttpServerRequest& request, QHttpServerResponder&& responder)
{
    const QString path = request.url().path();
    ++m_requests[path];
    const auto it = m_contents.constFind(path);
    if (it == m_contents.constEnd()) {
        responder.write(ErrorPage(404), "text/html; charset=iso-8859-1",
                        QHttpServerResponder::StatusCode::NotFound);
        emit requestServed(path, 404);
        return;
    }
    responder.write(it->body, it->contentType, static_cast<QHttpServerResponder::StatusCode>(it->status));
    emit requestServed(path, it->status);
}

} // namespace zorvek
