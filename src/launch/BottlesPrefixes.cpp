#include "launch/BottlesPrefixes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "launch/ConfigFiles.h"
#include "launch/YamlScalar.h"

namespace zorvek {

std::optional<std::string> ParseBottleRunner(std::string_view text)
{
    return YamlScalar(text, {}, "Runner");
}

std::vector<WineRunner> BottlesPrefixes(const QString& home)
{
    const QDir homeDir(home);
    std::vector<WineRunner> prefixes;
    QSet<QString> seen;
    for (const QString& data : {QStringLiteral(".local/share/bottles"),
                                QStringLiteral(".var/app/com.usebottles.bottles/data/bottles")}) {
        const QDir dataDir(homeDir.filePath(data));
        const QDir bottles(dataDir.filePath(QStringLiteral("bottles")));
        for (const QString& name : bottles.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString prefix = bottles.filePath(name);
            const std::optional<std::string> text =
                ReadConfigFile(QDir(prefix).filePath(QStringLiteral("bottle.yml")));
            const std::optional<std::string> runner = text ? ParseBottleRunner(*text) : std::nullopt;
            // A bottle linked in from a folder of its own is the same prefix.
            const QString physical = QFileInfo(prefix).canonicalFilePath();
            if (!runner || seen.contains(physical))
                continue;
            seen.insert(physical);
            prefixes.push_back({prefix, RunnerWine(dataDir.filePath(QStringLiteral("runners")), *runner)});
        }
    }
    return prefixes;
}

} // namespace zorvek
