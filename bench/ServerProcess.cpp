#include "ServerProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

namespace zorvek {

ServerProcess::~ServerProcess()
{
    stop();
}

bool ServerProcess::start(const QStringList& arguments)
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_servers"),
                    arguments + QStringList{QStringLiteral("--hosts-file"), hostsFile()});
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("bench_servers did not start: ") + m_process.errorString();
        return false;
    }
    // "ready 127.0.0.1:PORT BYTES"
    const QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running) {
            m_error = QStringLiteral("bench_servers did not get ready");
            return false;
        }
        m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    const QStringList words = QString::fromLatin1(m_process.readLine()).trimmed().split(QLatin1Char(' '));
    if (words.size() < 3 || words[0] != QLatin1String("ready")) {
        m_error = QStringLiteral("bench_servers said something else than ready");
        return false;
    }
    m_listHost = words[1];
    m_replyBytes = words[2].toInt();
    return true;
}

void ServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The server process stops when its standard input ends.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString ServerProcess::hostsFile() const
{
    return m_folder.filePath(QStringLiteral("hosts.txt"));
}

std::vector<std::uint16_t> ServerProcess::ports() const
{
    std::vector<std::uint16_t> result;
    QFile file(hostsFile());
    if (!file.open(QIODevice::ReadOnly))
        return result;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype colon = line.lastIndexOf(':');
        if (colon > 0)
            result.push_back(static_cast<std::uint16_t>(line.mid(colon + 1).toUInt()));
    }
    return result;
}

} // namespace zorvek
