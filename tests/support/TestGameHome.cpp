#include "support/TestGameHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/GameTable.h"

namespace zorvek::fixtures {

QString TestGameHome::filePath(const QString& belowHome) const
{
    return QDir(m_dir.path()).filePath(belowHome);
}

bool TestGameHome::writeFile(const QString& belowHome, const QByteArray& text) const
{
    const QString path = filePath(belowHome);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

TestWinePrefix& TestGameHome::prefix(const QString& belowHome)
{
    std::unique_ptr<TestWinePrefix>& prefix = m_prefixes[belowHome];
    if (!prefix)
        prefix = std::make_unique<TestWinePrefix>(filePath(belowHome));
    return *prefix;
}

bool TestGameHome::install(const QString& belowHome, const GameInfo& game, const std::string& installPath)
{
    TestWinePrefix& wine = prefix(belowHome);
    // "C:\Games\CoD4" is the folder "Games/CoD4" of drive C.
    QString folder = QString::fromStdString(installPath).mid(3);
    folder.replace(u'\\', u'/');
    wine.setMachineText(std::string(game.RegistryKey), "InstallPath", installPath);
    return !wine.makeFolder(folder).isEmpty() && wine.writeRegistry();
}

bool TestGameHome::addLutrisGame(const QString& belowHome, const QString& prefixBelowHome,
                                 const QString& wineVersion)
{
    prefix(prefixBelowHome);
    return writeFile(belowHome, lutrisGameText(filePath(prefixBelowHome), wineVersion));
}

QString TestGameHome::addBottle(const QString& data, const QString& name, const QString& runner)
{
    const QString bottle = data + QStringLiteral("/bottles/") + name;
    prefix(bottle);
    return writeFile(bottle + QStringLiteral("/bottle.yml"), bottleText(name, runner)) ? bottle : QString();
}

bool TestGameHome::addSteam(const QStringList& libraries)
{
    const QString steam = filePath(QString::fromLatin1(kSteam));
    return writeFile(QString::fromLatin1(kSteam) + QStringLiteral("/steamapps/libraryfolders.vdf"),
                     libraryFoldersText(QStringList{steam} + libraries)) &&
           QDir().mkpath(filePath(QStringLiteral(".steam"))) &&
           QFile::link(steam, filePath(QStringLiteral(".steam/steam")));
}

bool TestGameHome::addSteamApp(const QString& library, std::uint32_t appId)
{
    const QString manifest = QStringLiteral("steamapps/appmanifest_%1.acf").arg(appId);
    if (!QDir(library).mkpath(QStringLiteral("steamapps/common/Game")))
        return false;
    QFile file(QDir(library).filePath(manifest));
    const QByteArray text = "\"AppState\"\n{\n\t\"appid\"\t\t\"" + QByteArray::number(appId) +
                            "\"\n\t\"universe\"\t\t\"1\"\n\t\"name\"\t\t\"Game\"\n\t\"StateFlags\"\t\t\"4\"\n"
                            "\t\"installdir\"\t\t\"Game\"\n}\n";
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray TestGameHome::lutrisGameText(const QString& prefix, const QString& wineVersion)
{
    // As Lutris saves a game's configuration: PyYAML's block style, keys in order.
    QByteArray text = "game:\n  arch: win64\n  exe: " + prefix.toUtf8() +
                      "/drive_c/Games/CoD4/iw3mp.exe\n  prefix: " + prefix.toUtf8() +
                      "\ngame_slug: call-of-duty-4-modern-warfare\nname: Call of Duty 4\nrequires: null\n"
                      "slug: call-of-duty-4-modern-warfare\nsystem: {}\nversion: Windows\n";
    if (!wineVersion.isEmpty())
        text += "wine:\n  dxvk: true\n  version: " + wineVersion.toUtf8() + "\n";
    return text;
}

QByteArray TestGameHome::bottleText(const QString& name, const QString& runner)
{
    // As Bottles saves a bottle: its keys in order, the path relative to its bottles folder.
    return "Arch: win64\nCreation_Date: '2023-05-14 18:02:11.473051'\nCustom_Path: false\n"
           "DLL_Overrides: {}\nDXVK: dxvk-2.2\nEnvironment: Gaming\nEnvironment_Variables: {}\n"
           "Installed_Dependencies:\n- vcredist2019\nLanguage: sys\nName: " +
           name.toUtf8() +
           "\nParameters:\n  dxvk: true\n  sync: fsync\n  versioning_compression: false\nPath: " +
           name.toUtf8() + "\nRunner: " + runner.toUtf8() +
           "\nState: 0\nVersioning: false\nWindows: win10\nWorkdir: ''\n";
}

QByteArray TestGameHome::libraryFoldersText(const QStringList& libraries)
{
    // As Steam writes it: tabs, every library a numbered block with its fields and apps.
    QByteArray text = "\"libraryfolders\"\n{\n";
    for (qsizetype i = 0; i < libraries.size(); ++i) {
        text += "\t\"" + QByteArray::number(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + libraries[i].toUtf8() +
                "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"contentid\"\t\t\"161690052194679317" +
                QByteArray::number(i) +
                "\"\n\t\t\"totalsize\"\t\t\"0\"\n\t\t\"update_clean_bytes_tally\"\t\t\"1166255681\"\n"
                "\t\t\"time_last_update_corruption\"\t\t\"0\"\n\t\t\"apps\"\n\t\t{\n"
                "\t\t\t\"228980\"\t\t\"404262992\"\n\t\t}\n\t}\n";
    }
    return text + "}\n";
}

} // namespace zorvek::fixtures
