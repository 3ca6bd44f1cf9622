// Where the Windows program looks for its map pictures: beside the program (a portable copy),
// the user's own %LOCALAPPDATA%\Zorvek\levelshots, then the install folder's.
#include "common/DataFolders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

TEST(WindowsDataFolders, LevelshotsBesideTheProgramThenTheUsersThenTheInstallFolders)
{
    DataEnvironment environment;
    environment.localAppData = QStringLiteral("C:/Users/hrac/AppData/Local");
    // The XDG variables mean nothing on Windows, even where a user has set them.
    environment.dataHome = QStringLiteral("C:/xdg");
    environment.home = QStringLiteral("C:/Users/hrac");
    EXPECT_EQ(
        LevelshotsCandidates(QStringLiteral("C:/Program Files/Zorvek"), environment),
        (QStringList{"C:/Program Files/Zorvek/levelshots", "C:/Users/hrac/AppData/Local/Zorvek/levelshots",
                     "C:/Program Files/Zorvek/share/zorvek/levelshots"}));
}

TEST(WindowsDataFolders, ALocalAppDataThatIsNoAbsoluteFolderIsPassedOver)
{
    for (const QString& value :
         {QString(), QStringLiteral("AppData\\Local"), QStringLiteral("%LOCALAPPDATA%")}) {
        DataEnvironment environment;
        environment.localAppData = value;
        EXPECT_EQ(LevelshotsCandidates(QStringLiteral("C:/Zorvek"), environment),
                  (QStringList{"C:/Zorvek/levelshots", "C:/Zorvek/share/zorvek/levelshots"}))
            << value.toStdString();
    }
}

TEST(WindowsDataFolders, TheFirstFolderThatExistsIsTaken)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString program = root.filePath(QStringLiteral("Program Files/Zorvek"));
    const QString user = root.filePath(QStringLiteral("Local"));
    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/share/zorvek/levelshots")));
    DataEnvironment environment;
    environment.localAppData = user;
    EXPECT_EQ(FindLevelshotsFolder(program, environment),
              program + QStringLiteral("/share/zorvek/levelshots"));

    ASSERT_TRUE(QDir().mkpath(user + QStringLiteral("/Zorvek/levelshots")));
    EXPECT_EQ(FindLevelshotsFolder(program, environment), user + QStringLiteral("/Zorvek/levelshots"));

    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/levelshots")));
    EXPECT_EQ(FindLevelshotsFolder(program, environment), program + QStringLiteral("/levelshots"));
}

TEST(WindowsDataFolders, TheRunsPrivateFolderGoesUnderTemp)
{
    EXPECT_EQ(RunFolderBase(DataEnvironment{}), QDir::tempPath());
}

} // namespace
} // namespace zorvek
