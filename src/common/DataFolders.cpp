#include "common/DataFolders.h"

#include <QDir>
#include <QFileInfo>

namespace zorvek {

namespace {

// From the installed program's folder to the installed data, as the build's install layout
// has it ("../share" for bin/ and share/).
constexpr const char* kDataFromProgram = ZORVEK_DATA_FROM_PROGRAM;

// The base directory rules accept only absolute paths; a relative one counts as unset.
QString absoluteOrEmpty(const QString& path)
{
    return QDir::isAbsolutePath(path) ? path : QString();
}

// The user's own levelshots folder: below the user's local application data on Windows,
// below the XDG data home elsewhere. Empty when the variables name no absolute folder.
QString userLevelshots(const DataEnvironment& environment)
{
#ifdef Q_OS_WIN
    const QString localAppData = absoluteOrEmpty(environment.localAppData);
    return localAppData.isEmpty() ? QString()
                                  : QDir::cleanPath(localAppData + QStringLiteral("/Zorvek/levelshots"));
#else
    QString dataHome = absoluteOrEmpty(environment.dataHome);
    if (dataHome.isEmpty() && !absoluteOrEmpty(environment.home).isEmpty())
        dataHome = QDir(environment.home).filePath(QStringLiteral(".local/share"));
    return dataHome.isEmpty() ? QString() : QDir::cleanPath(dataHome + QStringLiteral("/zorvek/levelshots"));
#endif
}

} // namespace

DataEnvironment ProcessDataEnvironment()
{
    return DataEnvironment{qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"),
                           qEnvironmentVariable("XDG_RUNTIME_DIR"), qEnvironmentVariable("LOCALAPPDATA")};
}

QStringList LevelshotsCandidates(const QString& programFolder, const DataEnvironment& environment)
{
    QStringList candidates;
    if (!programFolder.isEmpty())
        candidates << QDir(programFolder).filePath(QStringLiteral("levelshots"));

    const QString user = userLevelshots(environment);
    if (!user.isEmpty())
        candidates << user;

    if (!programFolder.isEmpty())
        candidates << QDir::cleanPath(programFolder + QLatin1Char('/') + QLatin1String(kDataFromProgram) +
                                      QStringLiteral("/zorvek/levelshots"));
    return candidates;
}

QString FindLevelshotsFolder(const QString& programFolder, const DataEnvironment& environment)
{
    for (const QString& candidate : LevelshotsCandidates(programFolder, environment)) {
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    return QString();
}

QString RunFolderBase(const DataEnvironment& environment)
{
    const QString runtime = absoluteOrEmpty(environment.runtimeDir);
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

} // namespace zorvek
