#include "serverlist/HttpGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace zorvek {

namespace {
constexpr int kMaxRedirects = 5;
}

HttpGet::HttpGet(int timeoutMs, QObject* parent)
    : QObject(parent), m_timeoutMs(timeoutMs), m_manager(new QNetworkAccessManager(this))
{
    // The list host is named by the deployment; no proxy of the environment sits between.
    m_manager->setProxy(QNetworkProxy::NoProxy);
}

HttpGet::~HttpGet() = default;

QByteArray HttpGet::get(const QString& url, qint64 maxBytes)
{
    const QUrl target(url);
    if (!target.isValid() || target.scheme().isEmpty() || target.host().isEmpty())
        return {};

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    QNetworkReply* reply = m_manager->get(request);
    // The reply holds at most one byte over the limit: an endless body stops the
    // connection instead of filling memory until the time-out.
    reply->setReadBufferSize(maxBytes + 1);
    bool tooLarge = false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer); // the time-out is a promise, not a hint
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A body over the limit is dropped as soon as its size shows, not after it arrived.
    connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        if (received > maxBytes || total > maxBytes) {
            tooLarge = true;
            loop.quit();
        }
    });
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (reply->bytesAvailable() > maxBytes) {
            tooLarge = true;
            loop.quit();
        }
    });
    deadline.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    QByteArray body;
    if (reply->isFinished() && !tooLarge) {
        body = reply->readAll();
        if (body.size() > maxBytes)
            body.clear();
    } else {
        reply->abort();
        // An aborted reply can leave its connection open and read on (an endless body);
        // closing the cached connections ends it.
        m_manager->clearConnectionCache();
    }
    reply->deleteLater();
    return body;
}

QString HttpGet::hostOf(const QString& url)
{
    return QUrl(url).host();
}

} // namespace zorvek
