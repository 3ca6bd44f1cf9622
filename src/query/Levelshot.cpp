#include "query/Levelshot.h"

#include <QDir>

#include "common/TextCodec.h"

namespace zorvek {

QString LevelshotPath(const QString& levelshotsFolder, std::string_view gameFolder, std::string_view mapName)
{
    // The map name is the server's text; only a plain file name stays inside the folder.
    if (mapName.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos || mapName == "." ||
        mapName == "..")
        return {};
    QString folder = QString::fromLatin1(gameFolder.data(), static_cast<qsizetype>(gameFolder.size()));
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(levelshotsFolder).filePath(folder + FromCp1250(mapName) + QStringLiteral(".jpg"));
}

} // namespace zorvek
