#include "support/RecordingPrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace zorvek::fixtures {

namespace {

// Fields are NUL-terminated: physical working directory, "set"/"unset", WINEPREFIX,
// then every argument. The record appears under its final name only when complete.
// Absolute paths for the tools, since PATH may hold nothing but the recording folder.
constexpr const char* kScript = R"sh(#!/bin/sh
tmp='%1/.%2-'$$'.part'
{
    printf '%s\0' "$(pwd -P)"
    if [ "${WINEPREFIX+set}" = set ]; then printf 'set\0%s\0' "$WINEPREFIX"; else printf 'unset\0\0'; fi
    for a in "$@"; do printf '%s\0' "$a"; done
} > "$tmp"
/bin/mv "$tmp" '%1/%2-'$$'.rec'
)sh";

} // namespace

RecordingPrograms::RecordingPrograms(Path path) : m_oldPath(qgetenv("PATH"))
{
    QByteArray newPath = QFile::encodeName(m_bin.path());
    if (path == Path::First && !m_oldPath.isEmpty())
        newPath += ':' + m_oldPath;
    qputenv("PATH", newPath);
}

RecordingPrograms::~RecordingPrograms()
{
    qputenv("PATH", m_oldPath);
}

QString RecordingPrograms::add(const QString& name)
{
    Q_ASSERT(!name.contains(u'/'));
    const QString path = QDir(m_bin.path()).filePath(name);
    return addAt(path, name) ? path : QString();
}

bool RecordingPrograms::addAt(const QString& path, const QString& recordName)
{
    // The folder names go into single quotes of the script.
    Q_ASSERT(!m_records.path().contains(u'\'') && !recordName.contains(u'\'') && !recordName.contains(u'/'));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    script.write(QString::fromLatin1(kScript).arg(m_records.path(), recordName).toUtf8());
    script.close();
    return script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

std::vector<ProgramRecord> RecordingPrograms::records(const QString& name) const
{
    std::vector<ProgramRecord> result;
    const QDir dir(m_records.path());
    for (const QString& file : dir.entryList({name + QStringLiteral("-*.rec")}, QDir::Files)) {
        QFile in(dir.filePath(file));
        if (!in.open(QIODevice::ReadOnly))
            continue;
        QList<QByteArray> fields = in.readAll().split('\0');
        if (!fields.isEmpty() && fields.last().isEmpty())
            fields.removeLast(); // after the last terminator
        if (fields.size() < 3)
            continue;
        ProgramRecord record;
        record.workingDirectory = QString::fromUtf8(fields[0]);
        record.winePrefixSet = fields[1] == "set";
        record.winePrefix = QString::fromUtf8(fields[2]);
        for (qsizetype i = 3; i < fields.size(); ++i)
            record.arguments.append(QString::fromUtf8(fields[i]));
        result.push_back(record);
    }
    return result;
}

std::vector<ProgramRecord> RecordingPrograms::waitForRecords(const QString& name, int count,
                                                             int timeoutMs) const
{
    (void)QTest::qWaitFor([&] { return static_cast<int>(records(name).size()) >= count; }, timeoutMs);
    return records(name);
}

} // namespace zorvek::fixtures
