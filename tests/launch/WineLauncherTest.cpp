#include "launch/WineLauncher.h"

#include <string>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/RecordingPrograms.h"
#include "support/TestWinePrefix.h"

namespace zorvek {
namespace {

using fixtures::ProgramRecord;
using fixtures::RecordingPrograms;
using fixtures::TestWinePrefix;

class WineLauncherTest : public ::testing::Test
{
protected:
    WineLauncherTest() : m_launcher(m_prefix.path())
    {
        m_installFolder = m_prefix.makeFolder(QStringLiteral("Games/CoD4"));
        m_programs.add(QStringLiteral("wine"));
        m_programs.add(QStringLiteral("xdg-open"));
    }

    bool noFileInScratch() const { return QDir(m_scratch.path()).isEmpty(); }

    TestWinePrefix m_prefix;
    QString m_installFolder;
    RecordingPrograms m_programs;
    WineLauncher m_launcher;
    QTemporaryDir m_scratch;
};

TEST_F(WineLauncherTest, StartsWineWithTheWindowsFileAndSplitParametersInTheMappedFolder)
{
    ASSERT_TRUE(
        m_launcher.shellExecute("C:\\Games\\CoD4\\iw3mp.exe", " +connect 10.0.0.7:28960", "C:\\Games\\CoD4"));

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments,
              (QStringList{QStringLiteral("C:\\Games\\CoD4\\iw3mp.exe"), QStringLiteral("+connect"),
                           QStringLiteral("10.0.0.7:28960")}));
    EXPECT_EQ(records[0].workingDirectory, m_installFolder);
    EXPECT_TRUE(records[0].winePrefixSet);
    EXPECT_EQ(records[0].winePrefix, m_prefix.path());
}

TEST_F(WineLauncherTest, QuotedParametersFollowTheWindowsRules)
{
    ASSERT_TRUE(m_launcher.shellExecute("C:\\Games\\CoD4\\iw3mp.exe",
                                        " +set name \"Big Joe\" +connect a\\\"b", "c:/games/cod4"));

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments,
              (QStringList{QStringLiteral("C:\\Games\\CoD4\\iw3mp.exe"), QStringLiteral("+set"),
                           QStringLiteral("name"), QStringLiteral("Big Joe"), QStringLiteral("+connect"),
                           QStringLiteral("a\"b")}));
    EXPECT_EQ(records[0].workingDirectory, m_installFolder);
}

TEST_F(WineLauncherTest, ShellMetacharactersReachWineAsPlainText)
{
    const std::string dir = m_scratch.path().toStdString();
    const std::string host = "a;touch${IFS}" + dir + "/semicolon|touch${IFS}" + dir + "/pipe&`touch${IFS}" +
                             dir + "/backtick`$(touch${IFS}" + dir + "/dollar)>" + dir + "/redirect";
    ASSERT_TRUE(m_launcher.shellExecute("C:\\Games\\CoD4\\iw3mp.exe", " +connect " + host + ":28960",
                                        "C:\\Games\\CoD4"));

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records[0].arguments.size(), 3);
    EXPECT_EQ(records[0].arguments[2], QString::fromStdString(host + ":28960"));
    EXPECT_TRUE(noFileInScratch());
}

TEST_F(WineLauncherTest, Windows1250TextsArriveAsTheirLetters)
{
    // "Hry\Čeština" in Windows-1250: Č = 0xC8, š = 0x9A.
    const QString folder = m_prefix.makeFolder(QStringLiteral("Hry/Čeština"));
    ASSERT_FALSE(folder.isEmpty());
    ASSERT_TRUE(m_launcher.shellExecute("C:\\Hry\\\xC8"
                                        "e\x9Atina\\hra.exe",
                                        " +name \x9Akoda",
                                        "C:\\Hry\\\xC8"
                                        "e\x9Atina"));

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, (QStringList{QStringLiteral("C:\\Hry\\Čeština\\hra.exe"),
                                                 QStringLiteral("+name"), QStringLiteral("škoda")}));
    EXPECT_EQ(records[0].workingDirectory, folder);
}

TEST_F(WineLauncherTest, FolderThatCannotBeMappedStartsNothing)
{
    EXPECT_FALSE(
        m_launcher.shellExecute("\\\\server\\games\\iw3mp.exe", " +connect a:1", "\\\\server\\games"));
    EXPECT_FALSE(m_launcher.shellExecute("D:\\CoD4\\iw3mp.exe", " +connect a:1", "D:\\CoD4"));
    // A later start shows that the earlier calls left no record behind.
    ASSERT_TRUE(m_launcher.shellExecute("C:\\Games\\CoD4\\iw3mp.exe", " +connect a:1", "C:\\Games\\CoD4"));
    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("wine"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments.value(0), QStringLiteral("C:\\Games\\CoD4\\iw3mp.exe"));
}

TEST_F(WineLauncherTest, MissingInstallFolderFailsQuietly)
{
    EXPECT_FALSE(m_launcher.shellExecute("C:\\Games\\Gone\\iw3mp.exe", " +connect a:1", "C:\\Games\\Gone"));
}

TEST_F(WineLauncherTest, StartsAProgramDirectlyWithEachArgumentWhole)
{
    const QString xdgOpen = QDir(m_programs.folder()).filePath(QStringLiteral("xdg-open"));
    const std::string link = "http://example.cz/a b?c=1&d=$(id);`id`";
    ASSERT_TRUE(m_launcher.startProgram(xdgOpen.toStdString(), {link}));

    const std::vector<ProgramRecord> records = m_programs.waitForRecords(QStringLiteral("xdg-open"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{QString::fromStdString(link)});
}

TEST_F(WineLauncherTest, MissingProgramFailsQuietly)
{
    EXPECT_FALSE(m_launcher.startProgram(
        QDir(m_scratch.path()).filePath(QStringLiteral("nothing")).toStdString(), {"x"}));
    EXPECT_FALSE(m_launcher.startProgram("", {"x"}));
}

TEST(WineLauncherWithoutWineTest, MissingWineFailsQuietly)
{
    TestWinePrefix prefix;
    prefix.makeFolder(QStringLiteral("Games/CoD4"));
    RecordingPrograms programs(RecordingPrograms::Path::Only); // nothing named wine on PATH
    WineLauncher launcher(prefix.path());
    EXPECT_FALSE(launcher.shellExecute("C:\\Games\\CoD4\\iw3mp.exe", " +connect a:1", "C:\\Games\\CoD4"));
}

} // namespace
} // namespace zorvek
