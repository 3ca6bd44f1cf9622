#pragma once

#include <functional>
#include <map>
#include <memory>

#include <QByteArray>
#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace zorvek {

// The program's download component: HTTP GETs with a time-out for each whole download.
// A download gives its body, also of an error status, and nothing when no answer came in
// time or the body was larger than the caller allows. Downloads can run side by side
// (prefetch) while the caller waits for them together; get() then takes each body.
class HttpGet : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr qint64 kTextLimit = 1024 * 1024;        // list and info texts
    static constexpr qint64 kPictureLimit = 8 * 1024 * 1024; // the poster

    explicit HttpGet(int timeoutMs = kDefaultTimeoutMs, QObject* parent = nullptr);
    ~HttpGet() override;

    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // Starts downloading url now, beside any other download; its own time-out starts now.
    // A body over maxBytes counts as nothing received.
    void prefetch(const QString& url, qint64 maxBytes = kTextLimit);

    // The body of url: the prefetched download's, waiting for it if it still runs, or else
    // a download of its own. Blocks the caller (a local event loop without user input) for
    // at most the time-out.
    QByteArray get(const QString& url, qint64 maxBytes = kTextLimit);

    // Waits (a local event loop without user input) until every prefetched download has
    // ended, including those started meanwhile.
    void waitForAll();

    // Downloads started and ended so far, for a progress display.
    int startedCount() const { return m_started; }
    int endedCount() const { return m_ended; }

    // The host part of a URL, as the messages about an unreachable list host name it.
    static QString hostOf(const QString& url);

signals:
    // The download ended; body is what get(url) will give.
    void downloadEnded(const QString& url, const QByteArray& body);

private:
    struct Download;

    Download& start(const QString& url, qint64 maxBytes);
    void finish(Download& download, bool keepBody);
    // Runs the event loop until `done` holds.
    void waitUntil(const std::function<bool()>& done);
    bool anyRunning() const;

    int m_timeoutMs;
    QNetworkAccessManager* m_manager;
    std::map<QString, std::unique_ptr<Download>> m_downloads;
    int m_started = 0;
    int m_ended = 0;
    bool m_aborted = false;
};

} // namespace zorvek
