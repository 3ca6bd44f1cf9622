#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

namespace zorvek {

// Finds the address of a server's host text without ever holding the caller: a dotted
// address is taken as it stands, a host name is looked up by the system's resolver on
// worker threads (each name once at a time) and its answer kept here, and only here, for a
// while, so that the refreshes of a minute ask the resolver once per name. Everything but
// the resolver's own work runs on the thread that owns the object.
class HostLookup : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kAnswerKeptMs = 60000;
    // A name that cannot be resolved is not asked for again at every click.
    static constexpr qint64 kFailureKeptMs = 10000;

    // Milliseconds of a steady clock; tests pass their own.
    using Clock = std::function<qint64()>;

    explicit HostLookup(QObject* parent = nullptr, Clock clock = {});
    ~HostLookup() override;

    enum class Status {
        Known,   // the address is there
        Failed,  // no address: not a host name, or the resolver found none lately
        Pending, // a lookup runs; lookedUp(host) follows
    };
    struct Result
    {
        Status status = Status::Failed;
        QHostAddress address;
    };

    // The address of `host` as far as it is known now; starts a lookup when a host name
    // is neither known nor being looked up.
    Result find(const std::string& host);

    // How many lookups were started (dotted addresses and kept answers start none).
    int lookupsStarted() const { return m_started; }

signals:
    // The lookup of `host` ended; find(host) now gives Known or Failed.
    void lookedUp(const QByteArray& host);

private:
    struct Entry
    {
        bool pending = false;
        bool found = false;
        QHostAddress address;
        qint64 until = 0; // when a finished entry stops counting
    };
    class Workers;

    void answered(const std::string& host, const std::optional<QHostAddress>& address);

    Clock m_clock;
    std::shared_ptr<Workers> m_workers;
    std::map<std::string, Entry> m_entries;
    int m_started = 0;
};

} // namespace zorvek
