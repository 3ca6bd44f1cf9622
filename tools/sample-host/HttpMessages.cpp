#include "sample-host/HttpMessages.h"

#include <QList>
#include <QUrl>

namespace zorvek {

std::optional<HttpRequestHead> TakeHttpRequestHead(QByteArray& buffer)
{
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return std::nullopt;
    HttpRequestHead head;
    head.text = buffer.left(end + 4);
    buffer.remove(0, end + 4);

    const QList<QByteArray> requestLine = head.text.left(head.text.indexOf("\r\n")).split(' ');
    head.path = QUrl(QString::fromLatin1(requestLine.value(1))).path();
    for (const QByteArray& line : head.text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "connection")
            head.close = line.mid(colon + 1).trimmed().toLower() == "close";
    }
    return head;
}

QByteArray HttpReason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 307:
        return "Temporary Redirect";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QByteArray HttpResponseHead(int status, const QByteArray& contentType, qint64 length, bool keepAlive,
                            const QByteArray& extraHeaders)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + HttpReason(status) + "\r\n" +
           "Content-Type: " + contentType + "\r\n" + "Content-Length: " + QByteArray::number(length) +
           "\r\n" + extraHeaders + (keepAlive ? "Connection: keep-alive" : "Connection: close") + "\r\n\r\n";
}

} // namespace zorvek
