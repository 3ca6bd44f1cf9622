#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QNetworkAccessManager;

namespace zorvek {

// The program's download component: a blocking HTTP GET with a time-out for the
// whole download. It returns the body, also of an error status, and nothing when
// no answer came in time or the body was larger than the caller allows.
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

    // Downloads url; blocks the caller (a local event loop without user input) for
    // at most the time-out. A body over maxBytes counts as nothing received.
    QByteArray get(const QString& url, qint64 maxBytes = kTextLimit);

    // The host part of a URL, as the messages about an unreachable list host name it.
    static QString hostOf(const QString& url);

private:
    int m_timeoutMs;
    QNetworkAccessManager* m_manager;
};

} // namespace zorvek
