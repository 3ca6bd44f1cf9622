#pragma once

#include <QString>
#include <QStringList>

namespace zorvek {

// The environment variables that place the program's data by the desktop's conventions
// (XDG base directories; on Windows the user's local application data); a text is empty
// where its variable is unset.
struct DataEnvironment
{
    QString dataHome;     // XDG_DATA_HOME
    QString home;         // HOME
    QString runtimeDir;   // XDG_RUNTIME_DIR
    QString localAppData; // LOCALAPPDATA (Windows)
};

// The variables as this process has them: the one place the program reads them.
DataEnvironment ProcessDataEnvironment();

// The levelshots folders in the order they are tried: beside the program (the portable
// layout, where the program has always looked), the user's own below the data home (on
// Windows %LOCALAPPDATA%\Zorvek\levelshots), and
// the installed one of the prefix the program sits in, found from the program's folder so
// that an installation moved or unpacked anywhere finds its own.
QStringList LevelshotsCandidates(const QString& programFolder, const DataEnvironment& environment);

// The first candidate that is a folder; empty when none is.
QString FindLevelshotsFolder(const QString& programFolder, const DataEnvironment& environment);

// Where a run keeps a private folder when it needs one: the user's runtime folder, else the
// system's temporary folder (on Windows %TEMP%).
QString RunFolderBase(const DataEnvironment& environment);

} // namespace zorvek
