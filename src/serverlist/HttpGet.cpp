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

struct HttpGet::Download
{
    QString url;
    qint64 maxBytes = 0;
    QNetworkReply* reply = nullptr;
    QTimer* deadline = nullptr;
    bool ended = false;
    QByteArray body;
};

HttpGet::HttpGet(int timeoutMs, QObject* parent)
    : QObject(parent), m_timeoutMs(timeoutMs), m_manager(new QNetworkAccessManager(this))
{
    // The list host is named by the deployment: no proxy of the environment sits between,
    // and none is looked up.
    m_manager->setProxy(QNetworkProxy::NoProxy);
}

HttpGet::~HttpGet() = default;

void HttpGet::prefetch(const QString& url, qint64 maxBytes)
{
    if (m_downloads.find(url) == m_downloads.end())
        start(url, maxBytes);
}

QByteArray HttpGet::get(const QString& url, qint64 maxBytes)
{
    auto known = m_downloads.find(url);
    Download& download = known != m_downloads.end() ? *known->second : start(url, maxBytes);
    waitUntil([&download] { return download.ended; });
    QByteArray body = std::move(download.body);
    m_downloads.erase(url);
    return body;
}

void HttpGet::waitForAll()
{
    waitUntil([this] { return !anyRunning(); });
}

bool HttpGet::anyRunning() const
{
    for (const auto& [url, download] : m_downloads)
        if (!download->ended)
            return true;
    return false;
}

HttpGet::Download& HttpGet::start(const QString& url, qint64 maxBytes)
{
    auto owned = std::make_unique<Download>();
    Download& download = *owned;
    download.url = url;
    download.maxBytes = maxBytes;
    m_downloads[url] = std::move(owned);
    ++m_started;

    const QUrl target(url);
    if (!target.isValid() || target.scheme().isEmpty() || target.host().isEmpty()) {
        finish(download, false);
        return download;
    }

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    QNetworkReply* reply = m_manager->get(request);
    download.reply = reply;
    // The reply holds at most one byte over the limit: an endless body stops the
    // connection instead of filling memory until the time-out.
    reply->setReadBufferSize(maxBytes + 1);
    download.deadline = new QTimer(reply);
    download.deadline->setSingleShot(true);
    download.deadline->setTimerType(Qt::PreciseTimer); // the time-out is a promise, not a hint
    connect(download.deadline, &QTimer::timeout, this, [this, &download] { finish(download, false); });
    connect(reply, &QNetworkReply::finished, this, [this, &download] { finish(download, true); });
    // A body over the limit is dropped as soon as its size shows, not after it arrived.
    connect(reply, &QNetworkReply::downloadProgress, this, [this, &download](qint64 received, qint64 total) {
        if (received > download.maxBytes || total > download.maxBytes)
            finish(download, false);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, &download] {
        if (download.reply && download.reply->bytesAvailable() > download.maxBytes)
            finish(download, false);
    });
    download.deadline->start(m_timeoutMs);
    return download;
}

void HttpGet::finish(Download& download, bool keepBody)
{
    if (download.ended)
        return;
    download.ended = true;
    if (QNetworkReply* reply = download.reply) {
        download.reply = nullptr;
        reply->disconnect(this);
        download.deadline->stop();
        if (keepBody && reply->isFinished()) {
            download.body = reply->readAll();
            if (download.body.size() > download.maxBytes)
                download.body.clear();
        } else {
            reply->abort();
            m_aborted = true;
        }
        reply->deleteLater();
    }
    ++m_ended;
    emit downloadEnded(download.url, download.body);
    // An aborted reply can leave its connection open and read on (an endless body); once no
    // download runs, closing the cached connections ends it.
    if (m_aborted && !anyRunning()) {
        m_aborted = false;
        m_manager->clearConnectionCache();
    }
}

void HttpGet::waitUntil(const std::function<bool()>& done)
{
    if (done())
        return;
    QEventLoop loop;
    const QMetaObject::Connection ended = connect(this, &HttpGet::downloadEnded, &loop, [&] {
        if (done())
            loop.quit();
    });
    if (!done())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(ended);
}

QString HttpGet::hostOf(const QString& url)
{
    return QUrl(url).host();
}

} // namespace zorvek
