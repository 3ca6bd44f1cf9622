#include "launch/WinePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace zorvek {

namespace {

bool IsDriveLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The Linux folder of drive `letter` (lower case), empty when the prefix has none.
QString DriveRoot(const QString& winePrefix, QChar letter)
{
    const QDir prefix(winePrefix);
    const QFileInfo link(prefix.filePath(QStringLiteral("dosdevices/%1:").arg(letter)));
    if (link.exists() || link.isSymLink()) {
        // canonicalFilePath resolves the link and is empty when its target is missing.
        const QString root = link.canonicalFilePath();
        return QFileInfo(root).isDir() ? root : QString();
    }
    if (letter == u'c') {
        const QFileInfo driveC(prefix.filePath(QStringLiteral("drive_c")));
        return driveC.isDir() ? driveC.canonicalFilePath() : QString();
    }
    return {};
}

// `name` inside `folder`: the exact entry when it exists, else the first entry that
// matches it without regard to case, else `name` itself (a path that does not exist).
QString ChildName(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return name;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString MapWindowsPath(const QString& winePrefix, const QString& windowsPath)
{
    if (winePrefix.isEmpty() || windowsPath.size() < 2 || !IsDriveLetter(windowsPath[0]) ||
        windowsPath[1] != u':')
        return {};
    QString rest = windowsPath.mid(2);
    rest.replace(u'\\', u'/');
    if (!rest.isEmpty() && !rest.startsWith(u'/'))
        return {}; // "C:Games" is relative to the drive's current folder

    const QString root = DriveRoot(winePrefix, windowsPath[0].toLower());
    if (root.isEmpty())
        return {};

    // Windows resolves "." and ".." by the text of the path, never above the drive root.
    QStringList components;
    for (const QString& part : rest.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!components.isEmpty())
                components.removeLast();
            continue;
        }
        components.append(part);
    }

    QString path = root;
    for (const QString& part : components) {
        const QString name = ChildName(path, part);
        path = path == QLatin1String("/") ? QLatin1Char('/') + name : path + u'/' + name;
    }
    return path;
}

} // namespace zorvek
