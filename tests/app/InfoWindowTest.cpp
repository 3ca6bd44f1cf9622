// The poster step of start-up and the info window: its size, picture, tooltip and cursor,
// and what Escape and a click on the poster do.
#include "app/frmInfo.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/PosterFile.h"
#include "support/TestHttpServer.h"

namespace zorvek {
namespace {

QByteArray Jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QPainter(&image).fillRect(0, 0, width / 2, height / 2, Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// A plain GET on the test's thread, the body also for an error status; waits on the reply.
QByteArray Get(const QString& url)
{
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished())
        finished.wait(5000);
    return reply->readAll();
}

// The six-line info file, each line ended by CR LF; the tooltip in Windows-1250.
std::string SixLineFile(const std::string& width = "400", const std::string& height = "300",
                        const std::string& posterUrl = "http://127.0.0.1:1/zorvek/poster.jpg")
{
    return width + ";\r\n" + height + ";\r\n" + posterUrl +
           ";\r\nhttp://zorvek.example.cz/akce?id=1;\r\nP\xF8ij\xEF na turnaj!;\r\n$$$&&&***;\r\n";
}

class InfoStartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("levelshots")));
        ASSERT_TRUE(runBase.isValid());
    }

    // A download that hands out the given bytes and records the URLs asked for.
    std::function<QByteArray(const QString&)> serving(const QByteArray& bytes)
    {
        return [this, bytes](const QString& url) {
            requested << url;
            return bytes;
        };
    }

    QString levelshots() const { return folder.filePath(QStringLiteral("levelshots")); }
    QString posterPath() const { return PosterFile::PathIn(levelshots()); }
    bool posterFileExists() const { return QFile::exists(posterPath()); }

    QTemporaryDir folder;
    // Where the poster would go if the levelshots folder could not be written.
    QTemporaryDir runBase;
    PosterFile posterFile{levelshots(), runBase.path()};
    QStringList requested;
};

TEST_F(InfoStartUp, GenuineFileWithPosterGivesThePosterAndItsFile)
{
    const QByteArray jpeg = Jpeg(400, 300);

    const auto loaded = LoadInfoPoster(SixLineFile(), posterFile, serving(jpeg));

    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(requested, QStringList{QStringLiteral("http://127.0.0.1:1/zorvek/poster.jpg")});
    EXPECT_EQ(loaded->poster.size(), QSize(400, 300));
    EXPECT_EQ(loaded->info.InfoLink, "http://zorvek.example.cz/akce?id=1");
    QFile file(posterPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), jpeg);
}

TEST_F(InfoStartUp, TextWithoutMarkerDownloadsNoPoster)
{
    const auto loaded = LoadInfoPoster("400;\r\n300;\r\nurl;\r\nlink;\r\ntip;\r\nend;\r\n", posterFile,
                                       serving(Jpeg(400, 300)));

    EXPECT_FALSE(loaded.has_value());
    EXPECT_TRUE(requested.isEmpty());
    EXPECT_FALSE(posterFileExists());
}

TEST_F(InfoStartUp, FieldsWithoutTheirSemicolonGiveNothing)
{
    const auto loaded = LoadInfoPoster(SixLineFile() + "\r\n", posterFile, serving(Jpeg(400, 300)));

    EXPECT_FALSE(loaded.has_value());
    EXPECT_TRUE(requested.isEmpty());
    EXPECT_FALSE(posterFileExists());
}

struct PosterFailure
{
    const char* label;
    QByteArray bytes;
    bool levelshotsFolder;
};

void PrintTo(const PosterFailure& c, std::ostream* os)
{
    *os << c.label;
}

class InfoPosterFailure : public InfoStartUp, public ::testing::WithParamInterface<PosterFailure>
{
};

TEST_P(InfoPosterFailure, GivesNoWindowAndNoFile)
{
    if (!GetParam().levelshotsFolder) {
        ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("levelshots")));
    }

    const auto loaded = LoadInfoPoster(SixLineFile(), posterFile, serving(GetParam().bytes));

    EXPECT_FALSE(loaded.has_value());
    EXPECT_EQ(requested.size(), 1);
    EXPECT_FALSE(posterFileExists());
    EXPECT_EQ(QDir(folder.path() + QStringLiteral("/levelshots")).exists(), GetParam().levelshotsFolder);
}

INSTANTIATE_TEST_SUITE_P(Poster, InfoPosterFailure,
                         ::testing::Values(PosterFailure{"NothingDownloaded", QByteArray(), true},
                                           PosterFailure{"NoLevelshotsFolder", Jpeg(400, 300), false},
                                           PosterFailure{"BytesThatAreNoPicture",
                                                         QByteArray("<html>Not Found</html>"), true},
                                           PosterFailure{"TruncatedJpeg", Jpeg(400, 300).left(20), true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(InfoStartUp, FailingPosterAlsoRemovesAnEarlierRunsFile)
{
    QFile stale(posterPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(Jpeg(10, 10));
    stale.close();

    EXPECT_FALSE(LoadInfoPoster(SixLineFile(), posterFile, serving(QByteArray())).has_value());

    EXPECT_FALSE(posterFileExists());
}

TEST_F(InfoStartUp, PosterComesOverHttpFromTheUrlOfTheFile)
{
    TestHttpServer server;
    ASSERT_TRUE(server.listen());
    const QByteArray jpeg = Jpeg(320, 200);
    server.serve(QStringLiteral("/zorvek/poster.jpg"), jpeg, 200, "image/jpeg");
    server.serveErrorPage(QStringLiteral("/zorvek/missing.jpg"), 404);
    const auto get = [](const QString& url) { return Get(url); };

    const auto missing = LoadInfoPoster(
        SixLineFile("320", "200", server.url(QStringLiteral("/zorvek/missing.jpg")).toStdString()),
        posterFile, get);
    EXPECT_FALSE(missing.has_value());
    EXPECT_EQ(server.requestCount(QStringLiteral("/zorvek/missing.jpg")), 1);
    EXPECT_FALSE(posterFileExists());

    const auto loaded = LoadInfoPoster(
        SixLineFile("320", "200", server.url(QStringLiteral("/zorvek/poster.jpg")).toStdString()), posterFile,
        get);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->poster.size(), QSize(320, 200));
    EXPECT_TRUE(posterFileExists());
}

InfoPoster Poster(const std::string& width, const std::string& height, QSize picture)
{
    const std::optional<InfoFile> info = ParseInfoFile(SixLineFile(width, height));
    EXPECT_TRUE(info.has_value());
    QPixmap pixmap;
    EXPECT_TRUE(pixmap.loadFromData(Jpeg(picture.width(), picture.height())));
    return InfoPoster{info.value_or(InfoFile{}), pixmap};
}

class InfoWindow : public ::testing::Test
{
protected:
    InfoWindow()
    {
        // Within the offscreen screen (800 x 600), which a dialog is kept inside of.
        mainWindow.setFixedSize(620, 500);
        mainWindow.move(60, 40);
        QPixmap icon(32, 32);
        icon.fill(Qt::red);
        mainWindow.setWindowIcon(QIcon(icon));
        mainWindow.show();
    }

    std::unique_ptr<frmInfo> window(const InfoPoster& poster)
    {
        return std::make_unique<frmInfo>(
            poster,
            [this](const std::string& link) {
                opened.push_back(link);
                openedWhileVisible = shown && shown->isVisible();
            },
            &mainWindow);
    }

    // Runs the window modally; `act` runs inside the modal loop. A window that does not
    // close within the bound is closed by force and reported.
    int runModal(frmInfo& info, const std::function<void()>& act)
    {
        shown = &info;
        bool actedWhileModal = false;
        QTimer::singleShot(0, &info, [&] {
            actedWhileModal = QApplication::activeModalWidget() == &info && info.isVisible();
            act();
        });
        bool forced = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &info, [&] {
            forced = true;
            info.reject();
        });
        guard.start(10000);
        const int result = info.exec();
        EXPECT_TRUE(actedWhileModal);
        EXPECT_FALSE(forced) << "the window did not close";
        return result;
    }

    QWidget mainWindow;
    std::vector<std::string> opened;
    bool openedWhileVisible = false;
    frmInfo* shown = nullptr;
};

TEST_F(InfoWindow, SixLineFileGivesA400By330WindowWithA400By300Picture)
{
    auto info = window(Poster("400", "300", QSize(400, 300)));

    EXPECT_EQ(info->outerSize(), QSize(400, 330));
    EXPECT_EQ(info->size(), QSize(400, 300));
    EXPECT_EQ(info->minimumSize(), info->maximumSize());
    EXPECT_EQ(info->imgInfo()->geometry(), QRect(0, 0, 400, 300));
    EXPECT_EQ(info->imgInfo()->pixmap().size(), QSize(400, 300));
    EXPECT_EQ(info->imgInfo()->toolTip(), QString::fromUtf8("Přijď na turnaj!"));
    EXPECT_EQ(info->imgInfo()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Zorvek - info"));
    EXPECT_EQ(info->windowIcon().cacheKey(), mainWindow.windowIcon().cacheKey());
}

TEST_F(InfoWindow, PosterKeepsItsNaturalSize)
{
    auto info = window(Poster("400", "300", QSize(200, 100)));

    EXPECT_EQ(info->imgInfo()->pixmap().size(), QSize(200, 100));
    EXPECT_FALSE(info->imgInfo()->hasScaledContents());
    EXPECT_EQ(info->imgInfo()->size(), QSize(400, 300));
}

TEST_F(InfoWindow, FractionalWidthIsRoundedToWholePixels)
{
    auto info = window(Poster("400.75", "301.5", QSize(400, 300)));

    EXPECT_EQ(info->size(), QSize(401, 302));
    EXPECT_EQ(info->outerSize(), QSize(401, 332));
}

TEST_F(InfoWindow, SizesWithoutANumberGiveATinyWindow)
{
    auto info = window(Poster("none", "-20", QSize(40, 30)));

    EXPECT_EQ(info->size(), QSize(1, 1));
    EXPECT_EQ(info->imgInfo()->size(), QSize(0, 0));
}

TEST_F(InfoWindow, OpensModallyCentredOverTheMainWindow)
{
    auto info = window(Poster("400", "300", QSize(400, 300)));
    QPoint centre;

    runModal(*info, [&] {
        centre = info->frameGeometry().center();
        QTest::keyClick(info.get(), Qt::Key_Escape);
    });

    const QPoint mainCentre = mainWindow.frameGeometry().center();
    EXPECT_LE((centre - mainCentre).manhattanLength(), 4) << centre.x() << "," << centre.y();
}

TEST_F(InfoWindow, EscapeClosesWithoutStartingTheBrowser)
{
    auto info = window(Poster("400", "300", QSize(400, 300)));

    const int result = runModal(*info, [&] { QTest::keyClick(info.get(), Qt::Key_Escape); });

    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(info->isVisible());
    EXPECT_TRUE(opened.empty());
}

TEST_F(InfoWindow, OtherKeysAndButtonsLeaveItOpen)
{
    auto info = window(Poster("400", "300", QSize(400, 300)));
    bool stillOpen = false;

    runModal(*info, [&] {
        QTest::keyClick(info.get(), Qt::Key_Return);
        QTest::keyClick(info.get(), Qt::Key_Space);
        QTest::mouseClick(info->imgInfo(), Qt::RightButton, {}, QPoint(100, 100));
        stillOpen = info->isVisible();
        QTest::keyClick(info.get(), Qt::Key_Escape);
    });

    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(opened.empty());
}

TEST_F(InfoWindow, ClickOnThePosterClosesThenOpensTheLink)
{
    auto info = window(Poster("400", "300", QSize(400, 300)));

    const int result =
        runModal(*info, [&] { QTest::mouseClick(info->imgInfo(), Qt::LeftButton, {}, QPoint(200, 150)); });

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(opened, std::vector<std::string>{"http://zorvek.example.cz/akce?id=1"});
    EXPECT_FALSE(openedWhileVisible);
}

TEST_F(InfoWindow, LinkBytesReachTheBrowserUnchanged)
{
    InfoPoster poster = Poster("400", "300", QSize(400, 300));
    poster.info.InfoLink = "http://zorvek.example.cz/p\x9Aihr\xE1"
                           "d?a=1&b=\x98 x";
    auto info = window(poster);

    runModal(*info, [&] { QTest::mouseClick(info->imgInfo(), Qt::LeftButton, {}, QPoint(1, 1)); });

    EXPECT_EQ(opened, std::vector<std::string>{poster.info.InfoLink});
}

TEST_F(InfoWindow, PressOutsideThePosterIsNoClick)
{
    auto info = window(Poster("400", "300", QSize(400, 300)));
    bool stillOpen = false;

    runModal(*info, [&] {
        // Released over the poster, but pressed elsewhere: no click.
        QTest::mouseRelease(info->imgInfo(), Qt::LeftButton, {}, QPoint(50, 50));
        stillOpen = info->isVisible();
        QTest::keyClick(info.get(), Qt::Key_Escape);
    });

    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(opened.empty());
}

} // namespace
} // namespace zorvek
