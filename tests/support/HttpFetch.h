#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QString>

namespace zorvek {

// What a test's own GET brought back.
struct FetchResult
{
    bool finished = false; // false: no answer within the bound (the request was aborted)
    int status = 0;        // HTTP status, 0 when none came
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QByteArray contentType;
};

// A GET of url, independent of the program's own download code, waiting at most
// timeoutMs (an event wait). Redirects are followed.
FetchResult Fetch(const QString& url, int timeoutMs = 5000);

} // namespace zorvek
