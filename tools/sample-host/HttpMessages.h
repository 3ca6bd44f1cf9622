#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace zorvek {

// The HTTP/1.1 messages of the sample host and the tests' HTTP server: request heads read
// off a connection's bytes, and the heads of their answers. Plain functions over bytes.

struct HttpRequestHead
{
    QString path;       // the request target's path, without a query
    QByteArray text;    // the whole head, request line to the blank line
    bool close = false; // the client asked for "Connection: close"
};

// The longest request head a server reads before it drops the connection.
constexpr qsizetype kMaxHttpRequestHead = 64 * 1024;

// Takes the first complete request head off the front of `buffer` (a connection's bytes so
// far, which may hold the start of the next request too). Nothing while the blank line that
// ends the head has not arrived.
std::optional<HttpRequestHead> TakeHttpRequestHead(QByteArray& buffer);

// "OK", "Not Found", ...: the reason phrase of a status.
QByteArray HttpReason(int status);

// The status line and headers of an answer with a body of `length` bytes, ending in the
// blank line. `extraHeaders`: whole header lines, each ending in "\r\n".
QByteArray HttpResponseHead(int status, const QByteArray& contentType, qint64 length, bool keepAlive,
                            const QByteArray& extraHeaders = {});

} // namespace zorvek
