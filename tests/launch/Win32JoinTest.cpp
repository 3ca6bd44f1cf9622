// The join on Windows itself: the install path read from the system registry through the
// program's registry class (the games' 32-bit view first), the game client started by
// ShellExecuteA in its install folder, and links handed to the shell only as web addresses.
// The client is a recording program (recording-client.exe, copied in as the game's
// executable) that writes down how it was started.
#include <memory>
#include <optional>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "common/GameTable.h"
#include "common/TextCodec.h"
#include "launch/JoinCommand.h"
#include "launch/ServerJoiner.h"
#include "launch/Win32Launcher.h"
#include "registry/SystemRegistry.h"
#include "registry/cRegistry.h"
#include "support/ShellBrowser.h"

namespace zorvek {
namespace {

constexpr int kCod4 = 2;

// How the recording client was started.
struct ClientRecord
{
    QString commandLine;
    QString workingFolder;
    QStringList arguments;
};

QString registryKey()
{
    return QStringLiteral("HKLM\\") +
           QString::fromLatin1(Game(kCod4).RegistryKey.data(),
                               static_cast<qsizetype>(Game(kCod4).RegistryKey.size()));
}

// Runs the system's reg.exe to its end; true when it succeeded.
bool runReg(const QStringList& arguments)
{
    QProcess reg;
    reg.start(QStringLiteral("reg"), arguments);
    return reg.waitForFinished(60000) && reg.exitStatus() == QProcess::NormalExit && reg.exitCode() == 0;
}

class Win32JoinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        removeInstallPaths();
        m_joiner = std::make_unique<ServerJoiner>(m_registry, m_launcher);
    }

    void TearDown() override { removeInstallPaths(); }

    // The game's key with "InstallPath" in one view of the registry (32 or 64).
    bool writeInstallPath(int view, const QString& folder)
    {
        return runReg({QStringLiteral("add"), registryKey(), QStringLiteral("/v"),
                       QStringLiteral("InstallPath"), QStringLiteral("/t"), QStringLiteral("REG_SZ"),
                       QStringLiteral("/d"), QDir::toNativeSeparators(folder), QStringLiteral("/f"),
                       QStringLiteral("/reg:%1").arg(view)});
    }

    void removeInstallPaths()
    {
        for (int view : {32, 64})
            runReg({QStringLiteral("delete"), registryKey(), QStringLiteral("/f"),
                    QStringLiteral("/reg:%1").arg(view)});
    }

    // An install folder (with a blank in its name, as under Program Files) holding the
    // recording client as the game's executable.
    QString installFolder(const QString& name)
    {
        const QString folder = m_root.filePath(name);
        const QString executable =
            folder + QString::fromLatin1(Game(kCod4).ExecutableEntry.data()).replace('\\', '/');
        const QString client =
            QCoreApplication::applicationDirPath() + QStringLiteral("/" ZORVEK_RECORDING_CLIENT);
        if (!QDir().mkpath(folder) || !QFile::copy(client, executable))
            return {};
        return folder;
    }

    static QString recordOf(const QString& folder)
    {
        return folder + QString::fromLatin1(Game(kCod4).ExecutableEntry.data()).replace('\\', '/') +
               QStringLiteral(".record");
    }

    // Waits in the event loop until the client in `folder` has written its record.
    static std::optional<ClientRecord> waitForRecord(const QString& folder, int timeoutMs = 20000)
    {
        QFile file(recordOf(folder));
        if (!QTest::qWaitFor([&] { return file.exists(); }, timeoutMs) || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        ClientRecord record;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QString text = FromCp1250(line.toStdString());
            if (text.startsWith(QStringLiteral("cmdline=")))
                record.commandLine = text.mid(8);
            else if (text.startsWith(QStringLiteral("cwd=")))
                record.workingFolder = text.mid(4);
            else if (text.startsWith(QStringLiteral("arg=")))
                record.arguments << text.mid(4);
        }
        return record;
    }

    JoinResult join(const std::string& host, const std::string& port)
    {
        return m_joiner->JoinServer(JoinRequest{kCod4, host, port, "EXE:", true});
    }

    QTemporaryDir m_root;
    cRegistry m_registry{MakeSystemRegistryBackend()};
    Win32Launcher m_launcher;
    std::unique_ptr<ServerJoiner> m_joiner;
};

// The games' installers write into the 32-bit view; a value in the program's own view alone is
// found as well.
class Win32JoinViewTest : public Win32JoinTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(Win32JoinViewTest, InstallPathInTheViewStartsTheClientInItsFolder)
{
    const QString folder = installFolder(QStringLiteral("Call of Duty 4"));
    ASSERT_FALSE(folder.isEmpty());
    ASSERT_TRUE(writeInstallPath(GetParam(), folder));

    EXPECT_EQ(join("192.0.2.7", "28960").outcome, JoinOutcome::ClientStarted);
    const std::optional<ClientRecord> record = waitForRecord(folder);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->arguments, (QStringList{"+connect", "192.0.2.7:28960"}));
    EXPECT_TRUE(record->commandLine.endsWith(QStringLiteral(" +connect 192.0.2.7:28960")))
        << record->commandLine.toStdString();
    EXPECT_EQ(QFileInfo(record->workingFolder).canonicalFilePath().toLower(),
              QFileInfo(folder).canonicalFilePath().toLower());
}

INSTANTIATE_TEST_SUITE_P(Views, Win32JoinViewTest, ::testing::Values(32, 64), [](const auto& info) {
    return info.param == 32 ? "The32BitView" : "The64BitViewAlone";
});

TEST_F(Win32JoinTest, The32BitViewIsReadBeforeThe64BitView)
{
    const QString games = installFolder(QStringLiteral("x86 view"));
    const QString own = installFolder(QStringLiteral("x64 view"));
    ASSERT_FALSE(games.isEmpty());
    ASSERT_FALSE(own.isEmpty());
    ASSERT_TRUE(writeInstallPath(32, games));
    ASSERT_TRUE(writeInstallPath(64, own));

    EXPECT_EQ(join("127.0.0.1", "28961").outcome, JoinOutcome::ClientStarted);
    ASSERT_TRUE(waitForRecord(games).has_value());
    EXPECT_FALSE(QFile::exists(recordOf(own)));
}

TEST_F(Win32JoinTest, NoInstallPathInEitherViewGivesTheMessage)
{
    const JoinResult result = join("127.0.0.1", "28960");
    EXPECT_EQ(result.outcome, JoinOutcome::NotInstalled);
    EXPECT_EQ(result.message, NotInstalledMessage(Game(kCod4).GameCaption));
}

TEST_F(Win32JoinTest, AnEmptyInstallPathGivesTheMessage)
{
    ASSERT_TRUE(writeInstallPath(32, QString()));
    EXPECT_EQ(join("127.0.0.1", "28960").outcome, JoinOutcome::NotInstalled);
}

// Link texts come from the network: only web addresses reach the shell, which would take
// any other text for a file or a program to run.
TEST_F(Win32JoinTest, LinksThatAreNotWebAddressesReachNothing)
{
    const QString planted = installFolder(QStringLiteral("planted"));
    ASSERT_FALSE(planted.isEmpty());
    const std::string program = ToCp1250(QDir::toNativeSeparators(planted + QStringLiteral("/iw3mp.exe")));
    for (const std::string& link : {program, "file:///" + program, std::string("iw3mp.exe"),
                                    std::string("steam://run/7940"), std::string("  "), std::string()}) {
        const JoinResult result = m_joiner->JoinServer(JoinRequest{kCod4, "h", "1", link, false});
        EXPECT_EQ(result.outcome, JoinOutcome::LinkNotOpened) << link;
    }
    QTest::qWait(0);
    EXPECT_FALSE(QFile::exists(recordOf(planted)));
}

// Wine opens web addresses with winebrowser, which runs the recording browser of the prefix.
TEST_F(Win32JoinTest, AWebAddressOpensThroughTheShell)
{
    if (fixtures::ShellBrowserRecordPath().isEmpty())
        GTEST_SKIP() << "needs the recording browser of the Wine prefix that scripts/test-windows.sh makes";
    fixtures::ClearShellBrowserRecord();
    const JoinResult result =
        m_joiner->JoinServer(JoinRequest{kCod4, "h", "1", " www.example.cz/turnaj?a=1&b=2 ", false});
    EXPECT_EQ(result.outcome, JoinOutcome::LinkOpened);
    EXPECT_EQ(fixtures::WaitForShellBrowserRecord(), QByteArray("http://www.example.cz/turnaj?a=1&b=2"));
}

} // namespace
} // namespace zorvek
