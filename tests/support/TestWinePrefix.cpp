#include "support/TestWinePrefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zorvek::fixtures {

namespace {

// Wine escapes backslashes and quotes in key names and string data.
std::string Escape(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"')
            escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

bool WriteFile(const QString& path, const std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

} // namespace

TestWinePrefix::TestWinePrefix() : m_dir(std::make_unique<QTemporaryDir>()), m_path(m_dir->path())
{
    layOut();
}

TestWinePrefix::TestWinePrefix(const QString& folder) : m_path(folder)
{
    layOut();
}

void TestWinePrefix::layOut() const
{
    const QDir dir(m_path);
    dir.mkpath(QStringLiteral("drive_c/windows/system32"));
    dir.mkpath(QStringLiteral("dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), dir.filePath(QStringLiteral("dosdevices/c:")));
    QFile::link(QStringLiteral("/"), dir.filePath(QStringLiteral("dosdevices/z:")));
}

QString TestWinePrefix::driveC() const
{
    return QFileInfo(QDir(m_path).filePath(QStringLiteral("drive_c"))).canonicalFilePath();
}

QString TestWinePrefix::makeFolder(const QString& belowDriveC) const
{
    const QDir driveC(QDir(m_path).filePath(QStringLiteral("drive_c")));
    if (!driveC.mkpath(belowDriveC))
        return {};
    return QFileInfo(driveC.filePath(belowDriveC)).canonicalFilePath();
}

void TestWinePrefix::setMachineText(const std::string& key, const std::string& name,
                                    std::optional<std::string> value)
{
    auto& values = m_machine[key];
    if (value)
        values[name] = std::move(value);
}

bool TestWinePrefix::writeRegistry() const
{
    // Keys as Wine 8 writes them: the path below the root with doubled backslashes and
    // a modification time in seconds, a #time line, then one line per value ("@" for
    // the default value), a blank line after each key.
    std::string system =
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n";
    for (const auto& [key, values] : m_machine) {
        system.append("[").append(Escape(key)).append("] 1700000000\n#time=1da1a0e3b5d5800\n");
        for (const auto& [name, value] : values) {
            if (name.empty())
                system.append("@");
            else
                system.append("\"").append(Escape(name)).append("\"");
            system.append("=\"").append(Escape(*value)).append("\"\n");
        }
        system += "\n";
    }
    const std::string user = "WINE REGISTRY Version 2\n;; All keys relative to "
                             "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n";
    const QDir dir(m_path);
    return WriteFile(dir.filePath(QStringLiteral("system.reg")), system) &&
           WriteFile(dir.filePath(QStringLiteral("user.reg")), user);
}

} // namespace zorvek::fixtures
