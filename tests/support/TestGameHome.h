#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "support/TestWinePrefix.h"

namespace zorvek {
struct GameInfo;
}

namespace zorvek::fixtures {

// A home folder of a test's own, laid out as Wine, Lutris, Bottles and Steam lay out
// theirs, with files in the form those programs write them.
class TestGameHome
{
public:
    // Folders below the home.
    static constexpr const char* kLutrisGames = ".local/share/lutris/games";
    static constexpr const char* kOldLutrisGames = ".config/lutris/games"; // older Lutris
    static constexpr const char* kLutrisRunners = ".local/share/lutris/runners/wine";
    static constexpr const char* kBottlesData = ".local/share/bottles";
    static constexpr const char* kFlatpakBottlesData = ".var/app/com.usebottles.bottles/data/bottles";
    static constexpr const char* kSteam = ".local/share/Steam";

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& belowHome) const;

    // Writes `text` to a file below the home, its folders made as needed.
    bool writeFile(const QString& belowHome, const QByteArray& text) const;

    // The Wine prefix at `belowHome` (".wine", "Games/cod4"), made on first use.
    TestWinePrefix& prefix(const QString& belowHome);

    // `game` installed in the prefix at `belowHome`: its "InstallPath" is `installPath`
    // ("C:\Games\CoD4"), the folder exists below drive C, the registry is written.
    bool install(const QString& belowHome, const GameInfo& game, const std::string& installPath);

    // A Lutris game configuration `belowHome` naming the prefix `prefixBelowHome` and the
    // Wine build `wineVersion` (none when empty).
    bool addLutrisGame(const QString& belowHome, const QString& prefixBelowHome, const QString& wineVersion);

    // The bottle `name` of the Bottles data folder `data` (kBottlesData, ...) run by
    // `runner`; returns the bottle's folder below the home (its prefix).
    QString addBottle(const QString& data, const QString& name, const QString& runner);

    // Steam in kSteam, with ~/.steam/steam linked to it as Steam links it, whose
    // libraryfolders.vdf lists kSteam itself and then `libraries` (absolute paths).
    bool addSteam(const QStringList& libraries);

    // The app manifest of `appId` in the library at `library`.
    static bool addSteamApp(const QString& library, std::uint32_t appId);

    // The texts as the programs write them.
    static QByteArray lutrisGameText(const QString& prefix, const QString& wineVersion);
    static QByteArray bottleText(const QString& name, const QString& runner);
    static QByteArray libraryFoldersText(const QStringList& libraries);

private:
    QTemporaryDir m_dir;
    std::map<QString, std::unique_ptr<TestWinePrefix>> m_prefixes;
};

} // namespace zorvek::fixtures
