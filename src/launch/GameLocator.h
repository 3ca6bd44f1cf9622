#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <QByteArray>
#include <QString>

#include "launch/ProcessLauncher.h"

namespace zorvek {

class cRegistry;
struct GameInfo;

// Where a game is installed, and so how its client is started.
enum class InstallPlace {
    Registry, // the program's registry: the system's, or the default Wine prefix's
    Lutris,   // the Wine prefix of a Lutris game
    Bottles,  // a bottle of Bottles
    Steam,    // a Steam library: Steam starts the client with its own Proton
};

struct GameInstallation
{
    InstallPlace place = InstallPlace::Registry;
    std::string installPath;      // "InstallPath" (a Windows path); empty for Steam
    WineRunner runner;            // Lutris and Bottles: the prefix and its wine
    std::uint32_t steamAppId = 0; // Steam: the game's app id
};

// Finds the installation of a game, afresh for each join, in the first place that has it:
// the program's registry; then, below a home folder, the prefixes of Lutris games, the
// bottles of Bottles (the registry of a prefix names the game when it holds the game's
// "InstallPath") and the Steam libraries (the game's app manifest). Files are only read;
// what is missing, unreadable or not of its form is passed over.
class GameLocator
{
public:
    // `registry`: the program's shared registry. `home`: the folder whose Lutris, Bottles
    // and Steam installations are searched after it; empty: none.
    GameLocator(cRegistry& registry, QString home);

    std::optional<GameInstallation> locate(const GameInfo& game);

private:
    std::string installPathIn(const QString& prefix, std::string_view registryKey);

    struct Answer
    {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        std::string installPath;
    };

    cRegistry& m_registry;
    QString m_home;
    // What a prefix's registry said, kept while its system.reg stays as it was: a
    // registry file is large, and a join asks the same prefixes each time.
    std::map<std::pair<QString, std::string>, Answer> m_answers;
};

// The home folder whose Lutris, Bottles and Steam installations a join searches, for the
// values of WINEPREFIX and HOME: none when WINEPREFIX names a prefix (a user who sets it
// means that one alone), else the home folder.
QString SearchHomeFor(const QByteArray& winePrefix, const QByteArray& home);

// The same for this program's environment; none on Windows, where the registry is the
// system's.
QString SystemSearchHome();

} // namespace zorvek
