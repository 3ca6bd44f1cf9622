// The poster file: its bytes, its place (the levelshots folder, else a private folder of the
// run), what it does with entries planted at its path, and that it goes at the end.
#include "common/PosterFile.h"

#include <memory>
#include <ostream>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "private-network/PrivateNamespaces.h"

namespace zorvek {
namespace {

class PosterFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("levelshots")));
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("run")));
        poster = std::make_unique<PosterFile>(levelshots(), runBase());
    }

    QString levelshots() const { return folder.filePath(QStringLiteral("levelshots")); }
    QString runBase() const { return folder.filePath(QStringLiteral("run")); }
    QString posterPath() const { return folder.path() + QStringLiteral("/levelshots/infoposter.jpg"); }
    QStringList runFolders() const
    {
        return QDir(runBase()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    static QByteArray bytesOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray posterBytes() const { return bytesOf(posterPath()); }

    static bool writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QTemporaryDir folder;
    std::unique_ptr<PosterFile> poster;
};

TEST_F(PosterFileTest, LivesBesideTheLevelshots)
{
    EXPECT_EQ(PosterFile::PathIn(levelshots()), posterPath());
    ASSERT_TRUE(poster->write("poster"));
    EXPECT_EQ(poster->path(), posterPath());
    EXPECT_TRUE(runFolders().isEmpty());
}

TEST_F(PosterFileTest, HoldsTheDownloadedBytesUnchanged)
{
    const QByteArray bytes("\xFF\xD8\xFF\xE0\0\x10JFIF\0\r\n\x1A rest", 20);

    ASSERT_TRUE(poster->write(bytes));

    EXPECT_EQ(posterBytes(), bytes);
}

TEST_F(PosterFileTest, ReplacesALongerEarlierPoster)
{
    ASSERT_TRUE(poster->write(QByteArray(1000, 'a')));
    ASSERT_TRUE(poster->write("short"));

    EXPECT_EQ(posterBytes(), QByteArray("short"));
}

TEST_F(PosterFileTest, ReplacesThePosterAnEarlierRunLeft)
{
    ASSERT_TRUE(writeFile(posterPath(), QByteArray(1000, 'a')));

    ASSERT_TRUE(poster->write("short"));

    EXPECT_EQ(posterBytes(), QByteArray("short"));
}

TEST_F(PosterFileTest, NothingDownloadedLeavesNoFile)
{
    ASSERT_TRUE(poster->write("earlier"));

    EXPECT_FALSE(poster->write(QByteArray()));

    EXPECT_FALSE(QFile::exists(posterPath()));
    EXPECT_TRUE(poster->path().isEmpty());
}

TEST_F(PosterFileTest, MissingLevelshotsFolderIsNotCreated)
{
    ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("levelshots")));

    EXPECT_FALSE(poster->write("poster"));

    EXPECT_FALSE(QDir(folder.path() + QStringLiteral("/levelshots")).exists());
    // Without a levelshots folder there is no poster at all, not even a private one.
    EXPECT_TRUE(runFolders().isEmpty());
    EXPECT_FALSE(PosterFile(QString(), runBase()).write("poster"));
    EXPECT_TRUE(runFolders().isEmpty());
}

TEST_F(PosterFileTest, DeleteRemovesItAndToleratesItsAbsence)
{
    ASSERT_TRUE(poster->write("poster"));

    poster->remove();
    EXPECT_FALSE(QFile::exists(posterPath()));
    poster->remove();
    EXPECT_TRUE(QDir(folder.path() + QStringLiteral("/levelshots")).exists());
}

TEST_F(PosterFileTest, GoesWithTheRun)
{
    ASSERT_TRUE(poster->write("poster"));

    poster.reset();

    EXPECT_TRUE(
        QDir(levelshots()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
}

// What someone put at the poster's path before the run: the poster takes the name, and
// whatever the entry pointed to stays as it was.
struct PlantedCase
{
    const char* name;
    enum Kind { LinkToAFile, LinkToAMissingFile, LinkToAFolder } kind;
};

void PrintTo(const PlantedCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlantedAtThePostersPath : public PosterFileTest, public ::testing::WithParamInterface<PlantedCase>
{
};

TEST_P(PlantedAtThePostersPath, IsNeverWrittenThrough)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    switch (GetParam().kind) {
    case PlantedCase::LinkToAFile:
        ASSERT_TRUE(writeFile(victim, "precious"));
        break;
    case PlantedCase::LinkToAMissingFile:
        break;
    case PlantedCase::LinkToAFolder:
        ASSERT_TRUE(QDir().mkdir(victim));
        break;
    }
    ASSERT_TRUE(QFile::link(victim, posterPath()));

    ASSERT_TRUE(poster->write("poster"));

    EXPECT_EQ(poster->path(), posterPath());
    EXPECT_FALSE(QFileInfo(posterPath()).isSymLink());
    EXPECT_EQ(posterBytes(), QByteArray("poster"));
    const QStringList victimFolder =
        QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    switch (GetParam().kind) {
    case PlantedCase::LinkToAFile:
        EXPECT_EQ(bytesOf(victim), QByteArray("precious"));
        break;
    case PlantedCase::LinkToAMissingFile:
        EXPECT_TRUE(victimFolder.isEmpty()) << victimFolder.join(' ').toStdString();
        break;
    case PlantedCase::LinkToAFolder:
        EXPECT_TRUE(QDir(victim).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        break;
    }

    poster->remove();
    EXPECT_FALSE(QFileInfo(posterPath()).exists() || QFileInfo(posterPath()).isSymLink());
    if (GetParam().kind == PlantedCase::LinkToAFile) {
        EXPECT_EQ(bytesOf(victim), QByteArray("precious"));
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, PlantedAtThePostersPath,
                         ::testing::Values(PlantedCase{"LinkToAFile", PlantedCase::LinkToAFile},
                                           PlantedCase{"LinkToAMissingFile", PlantedCase::LinkToAMissingFile},
                                           PlantedCase{"LinkToAFolder", PlantedCase::LinkToAFolder}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PosterFileTest, AFolderAtThePostersPathSendsItToTheRunFolder)
{
    ASSERT_TRUE(QDir(levelshots()).mkdir(QStringLiteral("infoposter.jpg")));

    ASSERT_TRUE(poster->write("poster"));

    EXPECT_TRUE(poster->path().startsWith(runBase() + QLatin1Char('/'))) << poster->path().toStdString();
    EXPECT_EQ(bytesOf(poster->path()), QByteArray("poster"));
    EXPECT_TRUE(QFileInfo(posterPath()).isDir());
    poster->remove();
    EXPECT_TRUE(runFolders().isEmpty());
    EXPECT_TRUE(QFileInfo(posterPath()).isDir());
}

// The levelshots folder of an installed program belongs to the system: mounted read-only
// here, as the tests run as root and root may write anywhere else.
class ReadOnlyLevelshots : public PosterFileTest
{
protected:
    void SetUp() override
    {
        if (!PrivateNamespacesEntered())
            GTEST_SKIP() << PrivateNamespacesProblem();
        PosterFileTest::SetUp();
        std::string problem;
        if (!readOnly.mount(levelshots(), levelshots(), true, &problem))
            GTEST_SKIP() << "no read-only levelshots folder: " << problem;
        ASSERT_FALSE(writeFile(levelshots() + QStringLiteral("/probe"), "x"));
    }

    void TearDown() override { poster.reset(); }

    ScopedBindMount readOnly;
};

TEST_F(ReadOnlyLevelshots, PosterGoesIntoAPrivateFolderOfTheRun)
{
    ASSERT_TRUE(poster->write("poster"));

    const QStringList made = runFolders();
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith(QStringLiteral("zorvek-"))) << made[0].toStdString();
    const QString privateFolder = QDir(runBase()).filePath(made[0]);
    EXPECT_EQ(poster->path(), privateFolder + QStringLiteral("/infoposter.jpg"));
    EXPECT_EQ(bytesOf(poster->path()), QByteArray("poster"));
    // Only the user may enter it.
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(privateFolder).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0700u);

    poster->remove();
    EXPECT_TRUE(runFolders().isEmpty());
}

TEST_F(ReadOnlyLevelshots, PrivateFolderGoesWithTheRun)
{
    ASSERT_TRUE(poster->write("poster"));
    ASSERT_EQ(runFolders().size(), 1);

    poster.reset();

    EXPECT_TRUE(runFolders().isEmpty());
}

} // namespace
} // namespace zorvek
