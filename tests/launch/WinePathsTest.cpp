#include "launch/WinePaths.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

// Two prefixes as Wine leaves them: one with its dosdevices links (c: relative to the
// prefix, d: to a folder outside it, e: to a missing target, z: to the root), one with
// only drive_c.
class Prefixes
{
public:
    Prefixes()
    {
        const QDir root(m_root.path());
        root.mkpath(QStringLiteral("full/drive_c/Games/CoD4"));
        root.mkpath(QStringLiteral("full/drive_c/Program Files/Activision"));
        root.mkpath(QStringLiteral("full/dosdevices"));
        root.mkpath(QStringLiteral("cdrom/Setup"));
        root.mkpath(QStringLiteral("bare/drive_c/Games/CoD4"));
        QFile::link(QStringLiteral("../drive_c"), root.filePath(QStringLiteral("full/dosdevices/c:")));
        QFile::link(root.filePath(QStringLiteral("cdrom")),
                    root.filePath(QStringLiteral("full/dosdevices/d:")));
        QFile::link(root.filePath(QStringLiteral("gone")),
                    root.filePath(QStringLiteral("full/dosdevices/e:")));
        QFile::link(QStringLiteral("/"), root.filePath(QStringLiteral("full/dosdevices/z:")));
    }

    QString path(const QString& relative) const
    {
        return QFileInfo(QDir(m_root.path()).filePath(relative)).canonicalFilePath();
    }

private:
    QTemporaryDir m_root;
};

struct MapCase
{
    const char* name;
    const char* prefix;   // "full" or "bare"
    const char* windows;  // the Windows path
    const char* expected; // below the test folder; "" for no mapping, "/" for the root
};

class MapWindowsPathTest : public testing::TestWithParam<MapCase>
{
protected:
    static void SetUpTestSuite() { s_prefixes = std::make_unique<Prefixes>(); }
    static void TearDownTestSuite() { s_prefixes.reset(); }
    static std::unique_ptr<Prefixes> s_prefixes;
};

std::unique_ptr<Prefixes> MapWindowsPathTest::s_prefixes;

TEST_P(MapWindowsPathTest, FindsTheLinuxFolderOfTheDrive)
{
    const MapCase& c = GetParam();
    const QString prefix = s_prefixes->path(QString::fromUtf8(c.prefix));
    ASSERT_FALSE(prefix.isEmpty());
    const QString expected = QString::fromUtf8(c.expected);
    QString wanted;
    if (expected == QLatin1String("/"))
        wanted = expected;
    else if (!expected.isEmpty())
        wanted = s_prefixes->path(c.prefix + QStringLiteral("/..")) + u'/' + expected;
    EXPECT_EQ(MapWindowsPath(prefix, QString::fromUtf8(c.windows)).toStdString(), wanted.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Drives, MapWindowsPathTest,
    testing::Values(
        MapCase{"BackslashesThroughTheDriveLink", "full", "C:\\Games\\CoD4", "full/drive_c/Games/CoD4"},
        MapCase{"LowerCaseLetterAndSlashes", "full", "c:/Games/CoD4", "full/drive_c/Games/CoD4"},
        MapCase{"TrailingSeparator", "full", "C:\\Games\\CoD4\\", "full/drive_c/Games/CoD4"},
        MapCase{"DoubledSeparators", "full", "C:\\\\Games\\\\CoD4", "full/drive_c/Games/CoD4"},
        MapCase{"DriveRoot", "full", "C:\\", "full/drive_c"},
        MapCase{"DriveAlone", "full", "C:", "full/drive_c"},
        MapCase{"LetterCaseOfFoldersIgnored", "full", "C:\\GAMES\\cod4", "full/drive_c/Games/CoD4"},
        MapCase{"BlanksInFolderNames", "full", "C:\\program files\\Activision",
                "full/drive_c/Program Files/Activision"},
        MapCase{"MissingFolderKeepsItsName", "full", "C:\\Games\\New Game", "full/drive_c/Games/New Game"},
        MapCase{"DotsResolvedByText", "full", "C:\\Games\\..\\Games\\.\\CoD4", "full/drive_c/Games/CoD4"},
        MapCase{"DotDotStopsAtTheDriveRoot", "full", "C:\\..\\..\\Games", "full/drive_c/Games"},
        MapCase{"OtherDriveLinkOutsideThePrefix", "full", "D:\\setup", "cdrom/Setup"},
        MapCase{"DriveZIsTheRoot", "full", "Z:\\", "/"},
        MapCase{"LinkWithMissingTarget", "full", "E:\\x", ""},
        MapCase{"DriveWithoutLink", "full", "F:\\x", ""},
        MapCase{"UncPath", "full", "\\\\server\\share\\CoD4", ""},
        MapCase{"RelativePath", "full", "Games\\CoD4", ""},
        MapCase{"DriveRelativePath", "full", "C:Games", ""},
        MapCase{"NoLetterBeforeColon", "full", "1:\\Games", ""}, MapCase{"EmptyPath", "full", "", ""},
        MapCase{"DriveCWithoutDosdevices", "bare", "C:\\Games\\CoD4", "bare/drive_c/Games/CoD4"},
        MapCase{"OtherDriveWithoutDosdevices", "bare", "D:\\Games", ""}),
    [](const testing::TestParamInfo<MapCase>& info) { return std::string(info.param.name); });

TEST(MapWindowsPathNoPrefixTest, EmptyPrefixMapsNothing)
{
    EXPECT_TRUE(MapWindowsPath(QString(), QStringLiteral("C:\\Games")).isEmpty());
}

} // namespace
} // namespace zorvek
