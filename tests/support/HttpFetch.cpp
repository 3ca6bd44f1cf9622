#include "support/HttpFetch.h"

#include <memory>

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSignalSpy>

namespace zorvek {

FetchResult Fetch(const QString& url, int timeoutMs)
{
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(QUrl(url))));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    FetchResult result;
    result.finished = reply->isFinished() || finished.wait(timeoutMs);
    if (!result.finished) {
        reply->abort();
        return result;
    }
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.error = reply->error();
    result.body = reply->readAll();
    result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    return result;
}

} // namespace zorvek
