// The main window of an installed program: the program in <root>/usr/bin, its pictures in
// <root>/usr/share/zorvek/levelshots, the user's in the data home. Which map picture shows,
// and where the poster goes when the levelshots folder is the system's.
#include <ostream>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>

#include "app/frmInfo.h"
#include "private-network/PrivateNamespaces.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAction.h"

namespace zorvek::test {
namespace {

const QString kMap = QStringLiteral("mp_castle");

class InstalledLayout : public MainWindowFixture
{
protected:
    QString below(const QString& path) const { return folder.filePath(path); }
    QString programFolder() const { return below(QStringLiteral("usr/bin")); }
    QString installed() const { return below(QStringLiteral("usr/share/zorvek/levelshots")); }
    QString usersOwn() const { return below(QStringLiteral("data/zorvek/levelshots")); }
    QString beside() const { return below(QStringLiteral("usr/bin/levelshots")); }
    QString runtime() const { return below(QStringLiteral("run")); }
    QStringList runtimeEntries() const
    {
        return QDir(runtime()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(programFolder()));
        ASSERT_TRUE(QDir().mkpath(installed() + QStringLiteral("/codwaw")));
        ASSERT_TRUE(QDir().mkpath(runtime()));
        ServerProfile castle;
        castle.game = 1;
        castle.mapName = kMap.toLatin1();
        serveGame(1, {addServer(castle)});
    }

    // A picture of its own size for the map, so that the one shown tells where it came from.
    static bool writePicture(const QString& levelshots, QSize size)
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        return QDir().mkpath(levelshots + QStringLiteral("/codwaw")) &&
               picture.save(levelshots + QStringLiteral("/codwaw/") + kMap + QStringLiteral(".jpg"), "JPG");
    }

    // Starts the window as the installed program; `answer` acts on the info window if one shows.
    bool startInstalled(std::function<void(frmInfo*)> answer = [](frmInfo* w) { w->reject(); })
    {
        frmMain::Options o = options();
        o.programFolder = programFolder();
        o.environment = DataEnvironment{below(QStringLiteral("data")), below(QStringLiteral("home")),
                                        runtime(), QString()};
        ModalAction<frmInfo> action([&](frmInfo* w) { answer(w); });
        window = std::make_unique<frmMain>(o);
        window->Form_Load();
        window->show();
        // The info window opens from a queued call after the first showing.
        QCoreApplication::processEvents();
        return action.runs() > 0;
    }

    // Selects the server and waits for its reply: the reply shows the levelshot.
    bool showFirstServer()
    {
        listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
        window->SendQueryOne(1);
        return waitForReplies({1});
    }
};

struct LayoutCase
{
    const char* name;
    bool besideTheProgram;
    bool usersOwn;
    QSize shown;
    enum Source { Beside, UsersOwn, Installed } source;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class LevelshotSource : public InstalledLayout, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(LevelshotSource, ShowsTheMapPictureOfTheFirstFolderThatExists)
{
    const LayoutCase& c = GetParam();
    ASSERT_TRUE(writePicture(installed(), QSize(80, 40)));
    if (c.usersOwn) {
        ASSERT_TRUE(writePicture(usersOwn(), QSize(60, 30)));
    }
    if (c.besideTheProgram) {
        ASSERT_TRUE(writePicture(beside(), QSize(40, 20)));
    }

    startInstalled();
    ASSERT_TRUE(showFirstServer());

    const QString source = c.source == LayoutCase::Beside     ? beside()
                           : c.source == LayoutCase::UsersOwn ? usersOwn()
                                                              : installed();
    EXPECT_EQ(window->levelshotPath(), source + QStringLiteral("/codwaw/") + kMap + QStringLiteral(".jpg"));
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LevelshotSource,
                         ::testing::Values(LayoutCase{"InstalledPicturesUnderShare", false, false,
                                                      QSize(80, 40), LayoutCase::Installed},
                                           LayoutCase{"UsersOwnWinOverTheInstalled", false, true,
                                                      QSize(60, 30), LayoutCase::UsersOwn},
                                           LayoutCase{"BesideTheProgramStaysFirst", true, true, QSize(40, 20),
                                                      LayoutCase::Beside}),
                         [](const auto& info) { return std::string(info.param.name); });

// The installed levelshots folder belongs to the system: mounted read-only here, as the
// tests run as root and root may write anywhere else.
class SystemLevelshots : public InstalledLayout
{
protected:
    void SetUp() override
    {
        if (!PrivateNamespacesEntered())
            GTEST_SKIP() << PrivateNamespacesProblem();
        InstalledLayout::SetUp();
        ASSERT_TRUE(writePicture(installed(), QSize(80, 40)));
        std::string problem;
        if (!readOnly.mount(installed(), installed(), true, &problem))
            GTEST_SKIP() << "no read-only levelshots folder: " << problem;
        host.setDefaultInfo();
    }

    void TearDown() override { window.reset(); }

    ScopedBindMount readOnly;
};

TEST_F(SystemLevelshots, StillShowPosterAndPictureAndKeepNoFile)
{
    QStringList postersWhileShown;
    bool besideTheLevelshots = true;
    const bool shown = startInstalled([&](frmInfo* w) {
        for (const QString& entry : runtimeEntries())
            if (QFile::exists(runtime() + QLatin1Char('/') + entry + QStringLiteral("/infoposter.jpg")))
                postersWhileShown << entry;
        besideTheLevelshots = QFileInfo::exists(installed() + QStringLiteral("/infoposter.jpg"));
        EXPECT_EQ(w->imgInfo()->pixmap().size(), QSize(400, 300));
        w->reject();
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(postersWhileShown.size(), 1) << runtimeEntries().join(' ').toStdString();
    EXPECT_FALSE(besideTheLevelshots);

    ASSERT_TRUE(showFirstServer());
    EXPECT_EQ(imgLevelshot(*window)->pixmap().size(), QSize(80, 40));

    window->close();
    EXPECT_TRUE(runtimeEntries().isEmpty()) << runtimeEntries().join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(installed() + QStringLiteral("/infoposter.jpg")));
}

// A link planted at the poster's path in the levelshots folder, pointing at a file that
// exists or at none: the poster shows, and the link's target stays as it was.
struct LinkCase
{
    const char* name;
    bool targetExists;
};

void PrintTo(const LinkCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlantedLink : public InstalledLayout, public ::testing::WithParamInterface<LinkCase>
{
};

TEST_P(PlantedLink, IsNotFollowed)
{
    const QString target = below(QStringLiteral("home/precious.jpg"));
    ASSERT_TRUE(QDir().mkpath(below(QStringLiteral("home"))));
    if (GetParam().targetExists) {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("precious") == 8);
    }
    const QString posterPath = installed() + QStringLiteral("/infoposter.jpg");
    ASSERT_TRUE(QFile::link(target, posterPath));
    host.setDefaultInfo();

    ASSERT_TRUE(startInstalled());
    window->close();

    EXPECT_FALSE(QFileInfo(posterPath).exists() || QFileInfo(posterPath).isSymLink());
    if (GetParam().targetExists) {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("precious"));
    } else {
        EXPECT_FALSE(QFileInfo::exists(target));
    }
}

INSTANTIATE_TEST_SUITE_P(Links, PlantedLink,
                         ::testing::Values(LinkCase{"ToAFile", true}, LinkCase{"ToNothing", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvek::test
