#include "launch/ConfigFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zorvek {

namespace {

constexpr qint64 kConfigFileLimit = 1 << 20;

} // namespace

std::optional<std::string> ReadConfigFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kConfigFileLimit)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kConfigFileLimit + 1);
    if (bytes.size() > kConfigFileLimit)
        return std::nullopt; // it grew after the look
    return bytes.toStdString();
}

QString RunnerWine(const QString& runnersFolder, const std::string& name)
{
    // A name from a file is never taken as a path.
    const QString folder = QFile::decodeName(QByteArray::fromStdString(name));
    if (folder.isEmpty() || folder.contains(u'/') || folder == QLatin1String(".") ||
        folder == QLatin1String(".."))
        return {};
    const QFileInfo wine(QDir(runnersFolder).filePath(folder + QStringLiteral("/bin/wine")));
    return wine.isFile() && wine.isExecutable() ? wine.absoluteFilePath() : QString();
}

} // namespace zorvek
