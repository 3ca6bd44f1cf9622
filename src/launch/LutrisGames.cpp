#include "launch/LutrisGames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "launch/ConfigFiles.h"
#include "launch/YamlScalar.h"

namespace zorvek {

std::optional<LutrisGame> ParseLutrisGame(std::string_view text)
{
    std::optional<std::string> prefix = YamlScalar(text, "game", "prefix");
    if (!prefix)
        return std::nullopt;
    return LutrisGame{std::move(*prefix), YamlScalar(text, "wine", "version").value_or(std::string())};
}

std::vector<WineRunner> LutrisPrefixes(const QString& home)
{
    const QDir homeDir(home);
    const QString runners = homeDir.filePath(QStringLiteral(".local/share/lutris/runners/wine"));
    std::vector<WineRunner> prefixes;
    QSet<QString> seen;
    for (const QString& folder :
         {QStringLiteral(".local/share/lutris/games"), QStringLiteral(".config/lutris/games")}) {
        const QDir games(homeDir.filePath(folder));
        for (const QString& name : games.entryList({QStringLiteral("*.yml")}, QDir::Files, QDir::Name)) {
            const std::optional<std::string> text = ReadConfigFile(games.filePath(name));
            const std::optional<LutrisGame> game = text ? ParseLutrisGame(*text) : std::nullopt;
            if (!game)
                continue;
            QString prefix = QFile::decodeName(QByteArray::fromStdString(game->prefix));
            if (prefix.startsWith(QLatin1String("~/")))
                prefix = homeDir.filePath(prefix.mid(2));
            if (!QDir::isAbsolutePath(prefix))
                continue;
            prefix = QDir::cleanPath(prefix);
            const QString physical = QFileInfo(prefix).canonicalFilePath();
            if (physical.isEmpty() || seen.contains(physical))
                continue;
            seen.insert(physical);

            prefixes.push_back({prefix, RunnerWine(runners, game->wineVersion)});
        }
    }
    return prefixes;
}

} // namespace zorvek
