#include "query/HostLookup.h"

#include <deque>
#include <mutex>
#include <thread>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include <QElapsedTimer>
#include <QMetaObject>

#include "query/HostNames.h"

namespace zorvek {
namespace {

qint64 steadyMilliseconds()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

// The system resolver's answer for a name: its first IPv4 address (the status sockets
// speak IPv4 first), else its first address of any kind. Blocks for as long as the
// resolver takes.
std::optional<QHostAddress> resolve(const std::string& host)
{
#ifdef _WIN32
    // Winsock answers nothing in a process that has not started it, and a lookup can come
    // before Qt's first socket starts it.
    static const bool winsockStarted = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!winsockStarted)
        return std::nullopt;
#endif
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::optional<QHostAddress> first;
    std::optional<QHostAddress> v4;
    for (const addrinfo* a = found; a && !v4; a = a->ai_next) {
        const QHostAddress address(a->ai_addr);
        if (!first)
            first = address;
        if (a->ai_family == AF_INET)
            v4 = address;
    }
    ::freeaddrinfo(found);
    return v4 ? v4 : first;
}

} // namespace

// The threads that wait for the resolver: a few at most, started when names wait, ending
// when none is left. They outlive their HostLookup if the resolver keeps them waiting (a
// window closed during a lookup does not wait for the resolver's time-out): the answer then
// goes nowhere.
class HostLookup::Workers : public std::enable_shared_from_this<Workers>
{
public:
    static constexpr int kMaxThreads = 32;

    explicit Workers(HostLookup* owner) : m_owner(owner) {}

    void lookUp(const std::string& host)
    {
        const std::lock_guard lock(m_mutex);
        m_names.push_back(host);
        if (m_threads < kMaxThreads) {
            ++m_threads;
            std::thread([self = shared_from_this()] { self->work(); }).detach();
        }
    }

    // The owner is going: nothing more is looked up or delivered.
    void detach()
    {
        const std::lock_guard lock(m_mutex);
        m_owner = nullptr;
        m_names.clear();
    }

private:
    void work()
    {
        for (;;) {
            std::string host;
            {
                const std::lock_guard lock(m_mutex);
                if (m_names.empty() || !m_owner) {
                    --m_threads;
                    return;
                }
                host = std::move(m_names.front());
                m_names.pop_front();
            }
            const std::optional<QHostAddress> address = resolve(host);
            const std::lock_guard lock(m_mutex);
            // Posted to the owner's thread; dropped there if the owner is gone by then.
            if (HostLookup* owner = m_owner)
                QMetaObject::invokeMethod(
                    owner, [owner, host, address] { owner->answered(host, address); }, Qt::QueuedConnection);
        }
    }

    std::mutex m_mutex;
    HostLookup* m_owner;
    std::deque<std::string> m_names;
    int m_threads = 0;
};

HostLookup::HostLookup(QObject* parent, Clock clock)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(steadyMilliseconds)),
      m_workers(std::make_shared<Workers>(this))
{
}

HostLookup::~HostLookup()
{
    m_workers->detach();
}

HostLookup::Result HostLookup::find(const std::string& host)
{
    if (const auto literal = literalAddress(host))
        return {Status::Known, *literal};
    if (!isHostName(host))
        return {Status::Failed, {}};

    if (const auto known = m_entries.find(host); known != m_entries.end()) {
        const Entry& entry = known->second;
        if (entry.pending)
            return {Status::Pending, {}};
        if (entry.until > m_clock())
            return entry.found ? Result{Status::Known, entry.address} : Result{Status::Failed, {}};
    }

    Entry& entry = m_entries[host];
    entry.pending = true;
    ++m_started;
    m_workers->lookUp(host);
    return {Status::Pending, {}};
}

void HostLookup::answered(const std::string& host, const std::optional<QHostAddress>& address)
{
    Entry& entry = m_entries[host];
    entry.pending = false;
    entry.found = address.has_value();
    entry.address = address.value_or(QHostAddress());
    entry.until = m_clock() + (entry.found ? kAnswerKeptMs : kFailureKeptMs);
    emit lookedUp(QByteArray::fromStdString(host));
}

} // namespace zorvek
