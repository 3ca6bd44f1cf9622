#include "launch/GameLocator.h"

#include <memory>
#include <system_error>
#include <vector>

#include <QDir>
#include <QFile>

#include "common/GameTable.h"
#include "launch/BottlesPrefixes.h"
#include "launch/InstallPath.h"
#include "launch/LutrisGames.h"
#include "launch/SteamLibraries.h"
#include "registry/WineRegistryBackend.h"
#include "registry/cRegistry.h"

namespace zorvek {

GameLocator::GameLocator(cRegistry& registry, QString home) : m_registry(registry), m_home(std::move(home)) {}

std::optional<GameInstallation> GameLocator::locate(const GameInfo& game)
{
    const std::string registryKey(game.RegistryKey);
    if (std::string path = ReadInstallPath(m_registry, registryKey); !path.empty())
        return GameInstallation{InstallPlace::Registry, std::move(path), {}, 0};
    if (m_home.isEmpty())
        return std::nullopt;

    // Each place's files are read only when the places before it do not have the game.
    const auto inPrefixes = [&](InstallPlace place,
                                const std::vector<WineRunner>& prefixes) -> std::optional<GameInstallation> {
        for (const WineRunner& runner : prefixes) {
            if (std::string path = installPathIn(runner.prefix, registryKey); !path.empty())
                return GameInstallation{place, std::move(path), runner, 0};
        }
        return std::nullopt;
    };
    if (auto found = inPrefixes(InstallPlace::Lutris, LutrisPrefixes(m_home)))
        return found;
    if (auto found = inPrefixes(InstallPlace::Bottles, BottlesPrefixes(m_home)))
        return found;

    if (game.SteamAppId != 0) {
        for (const QString& library : SteamLibraries(m_home)) {
            if (SteamLibraryHasApp(library, game.SteamAppId))
                return GameInstallation{InstallPlace::Steam, {}, {}, game.SteamAppId};
        }
    }
    return std::nullopt;
}

std::string GameLocator::installPathIn(const QString& prefix, std::string_view registryKey)
{
    // HKEY_LOCAL_MACHINE lives in system.reg; a prefix without one holds no game.
    const QString systemReg = QDir(prefix).filePath(QStringLiteral("system.reg"));
    const std::filesystem::path file(QFile::encodeName(systemReg).toStdString());
    std::error_code error;
    const std::filesystem::file_time_type modified = std::filesystem::last_write_time(file, error);
    if (error)
        return {};
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return {};

    const auto key = std::make_pair(prefix, std::string(registryKey));
    if (const auto kept = m_answers.find(key);
        kept != m_answers.end() && kept->second.modified == modified && kept->second.size == size)
        return kept->second.installPath;
    cRegistry registry(std::make_shared<WineRegistryBackend>(file.parent_path()));
    Answer& answer = m_answers[key];
    answer = {modified, size, ReadInstallPath(registry, registryKey)};
    return answer.installPath;
}

QString SearchHomeFor(const QByteArray& winePrefix, const QByteArray& home)
{
    if (!winePrefix.isEmpty())
        return {};
    return QFile::decodeName(home);
}

QString SystemSearchHome()
{
#ifdef Q_OS_WIN
    return {};
#else
    return SearchHomeFor(qgetenv("WINEPREFIX"), qgetenv("HOME"));
#endif
}

} // namespace zorvek
