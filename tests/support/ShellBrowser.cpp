#include "support/ShellBrowser.h"

#include <QFile>
#include <QTest>

namespace zorvek::fixtures {

QString ShellBrowserRecordPath()
{
    return qEnvironmentVariable("ZORVEK_TEST_BROWSER_RECORD");
}

void ClearShellBrowserRecord()
{
    if (!ShellBrowserRecordPath().isEmpty())
        QFile::remove(ShellBrowserRecordPath());
}

std::optional<QByteArray> WaitForShellBrowserRecord(int timeoutMs)
{
    QFile file(ShellBrowserRecordPath());
    if (file.fileName().isEmpty() || !QTest::qWaitFor([&] { return file.exists(); }, timeoutMs) ||
        !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().trimmed();
}

} // namespace zorvek::fixtures
