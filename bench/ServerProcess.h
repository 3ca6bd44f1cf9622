#pragma once

#include <cstdint>
#include <vector>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zorvek {

// Runs bench_servers (list host and emulated servers) as a child process beside the
// benchmark, so the measured process does only its own work; stops it on destruction.
class ServerProcess
{
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts bench_servers (beside this executable) with the given options; waits until
    // it serves. False (see errorString) when it did not start within ten seconds.
    bool start(const QStringList& arguments);
    void stop();

    const QString& errorString() const { return m_error; }
    // "127.0.0.1:PORT" of the list host.
    const QString& listHost() const { return m_listHost; }
    // A file of the servers' "127.0.0.1:PORT" lines, in list order.
    QString hostsFile() const;
    std::vector<std::uint16_t> ports() const;
    int replyBytes() const { return m_replyBytes; }

private:
    QProcess m_process;
    QTemporaryDir m_folder;
    QString m_error;
    QString m_listHost;
    int m_replyBytes = 0;
};

} // namespace zorvek
