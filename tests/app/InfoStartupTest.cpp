// The info file and poster at start-up, the info window at the first showing, and the
// poster file's lifetime.
#include <QDir>
#include <QFile>
#include <QLabel>

#include "app/frmInfo.h"
#include "sample-host/SampleContent.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAction.h"
#include "support/Pictures.h"
#include "support/RecordingPrograms.h"
#include "support/ShellBrowser.h"

namespace zorvek::test {
namespace {

class InfoStartupTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        xdgOpen = programs.add(QStringLiteral("xdg-open"));
        host.setContent(QStringLiteral("/poster.jpg"), JpegBytes(400, 300), 200, "image/jpeg");
    }

    void serveInfo(const QByteArray& width, const QByteArray& height,
                   const QString& posterPath = "/poster.jpg")
    {
        const QByteArray url = (host.baseUrl() + posterPath).toLatin1();
        host.setContent(QStringLiteral("/zorvek/info.txt"), width + ";\r\n" + height + ";\r\n" + url +
                                                                ";\r\nhttp://www.example.cz/akce;\r\n"
                                                                "Klikni na plak\xe1t;\r\n$$$&&&***;\r\n");
    }

    bool makeLevelshots() { return QDir(folder.path()).mkpath(QStringLiteral("levelshots")); }
    QString posterFile() const { return folder.filePath(QStringLiteral("levelshots/infoposter.jpg")); }

    // Starts the window; `answer` acts on the info window if one shows. Returns whether it did.
    bool startAndShow(std::function<void(frmInfo*)> answer)
    {
        ModalAction<frmInfo> action([&](frmInfo* w) { answer(w); });
        window = std::make_unique<frmMain>(options());
        window->Form_Load();
        window->show();
        // The info window opens from a queued call after the first showing.
        QCoreApplication::processEvents();
        return action.runs() > 0;
    }

    fixtures::RecordingPrograms programs;
    QString xdgOpen;
};

TEST_F(InfoStartupTest, TheSixLineFileGivesAPosterWindowOnce)
{
    ASSERT_TRUE(makeLevelshots());
    serveInfo("400", "300");
    QSize outer, picture;
    QString tip;
    const bool shown = startAndShow([&](frmInfo* w) {
        outer = w->outerSize();
        picture = w->imgInfo()->size();
        tip = w->imgInfo()->toolTip();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Zorvek - info"));
        EXPECT_EQ(w->imgInfo()->pixmap().size(), QSize(400, 300));
        EXPECT_TRUE(QFile::exists(posterFile()));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(outer, QSize(400, 330));
    EXPECT_EQ(picture, QSize(400, 300));
    EXPECT_EQ(tip, QString::fromUtf8("Klikni na plakát"));
    // Escape opened no browser.
    EXPECT_TRUE(programs.records(QStringLiteral("xdg-open")).empty());

    // Minimised and restored: not shown again.
    int again = 0;
    ModalAction<frmInfo> second([&](frmInfo* w) {
        ++again;
        w->reject();
    });
    window->showMinimized();
    window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(again, 0);

    window->close();
    EXPECT_FALSE(QFile::exists(posterFile()));
}

#ifndef Q_OS_WIN
TEST_F(InfoStartupTest, AClickOnThePosterOpensTheLinkInTheBrowser)
{
    ASSERT_TRUE(makeLevelshots());
    serveInfo("400", "300");
    ASSERT_TRUE(startAndShow(
        [](frmInfo* w) { QTest::mouseClick(w->imgInfo(), Qt::LeftButton, {}, QPoint(20, 20)); }));
    EXPECT_EQ(QString::fromStdString(window->browserPath()), xdgOpen);
    const auto records = programs.waitForRecords(QStringLiteral("xdg-open"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{"http://www.example.cz/akce"});
    EXPECT_FALSE(window->infoWindow()->isVisible());
}
#else
// Windows opens the link through the shell, in the browser the user chose.
TEST_F(InfoStartupTest, AClickOnThePosterOpensTheLinkThroughTheShell)
{
    if (fixtures::ShellBrowserRecordPath().isEmpty())
        GTEST_SKIP() << "needs the recording browser of the Wine prefix that scripts/test-windows.sh makes";
    fixtures::ClearShellBrowserRecord();
    ASSERT_TRUE(makeLevelshots());
    serveInfo("400", "300");
    ASSERT_TRUE(startAndShow(
        [](frmInfo* w) { QTest::mouseClick(w->imgInfo(), Qt::LeftButton, {}, QPoint(20, 20)); }));
    EXPECT_EQ(fixtures::WaitForShellBrowserRecord(), QByteArray("http://www.example.cz/akce"));
    EXPECT_FALSE(window->infoWindow()->isVisible());
}
#endif

struct NoWindowCase
{
    const char* name;
    enum Kind { MissingMarker, FailingPosterUrl, NoLevelshotsFolder, PosterNotAPicture } kind;
};

class InfoNoWindowTest : public InfoStartupTest, public ::testing::WithParamInterface<NoWindowCase>
{
};

TEST_P(InfoNoWindowTest, ShowsNothingAndLeavesNoFile)
{
    const NoWindowCase& c = GetParam();
    if (c.kind != NoWindowCase::NoLevelshotsFolder) {
        ASSERT_TRUE(makeLevelshots());
    }
    switch (c.kind) {
    case NoWindowCase::MissingMarker:
        host.setContent(QStringLiteral("/zorvek/info.txt"),
                        "400;\r\n300;\r\nhttp://x/p.jpg;\r\nl;\r\nt;\r\nx;\r\n");
        break;
    case NoWindowCase::FailingPosterUrl:
        serveInfo("400", "300", QStringLiteral("/missing.jpg"));
        host.setContent(QStringLiteral("/missing.jpg"), QByteArray(), 404);
        break;
    case NoWindowCase::NoLevelshotsFolder:
        serveInfo("400", "300");
        break;
    case NoWindowCase::PosterNotAPicture:
        host.setContent(QStringLiteral("/poster.jpg"), "this is no picture", 200, "image/jpeg");
        serveInfo("400", "300");
        break;
    }
    EXPECT_FALSE(startAndShow([](frmInfo* w) { w->reject(); }));
    EXPECT_EQ(window->infoWindow(), nullptr);
    EXPECT_FALSE(QFile::exists(posterFile()));
    EXPECT_EQ(window->infoState(), 0); // 99 after start-up, back to 0 at the first showing
}

INSTANTIATE_TEST_SUITE_P(
    Failures, InfoNoWindowTest,
    ::testing::Values(NoWindowCase{"MissingMarker", NoWindowCase::MissingMarker},
                      NoWindowCase{"FailingPosterUrl", NoWindowCase::FailingPosterUrl},
                      NoWindowCase{"NoLevelshotsFolder", NoWindowCase::NoLevelshotsFolder},
                      NoWindowCase{"PosterNotAPicture", NoWindowCase::PosterNotAPicture}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InfoStartupTest, HeightsRoundHalfToEven)
{
    ASSERT_TRUE(makeLevelshots());
    for (const auto& [written, expected] : {std::pair{"300.5", 300}, std::pair{"301.5", 302}}) {
        serveInfo("400", written);
        QSize picture;
        ASSERT_TRUE(startAndShow([&](frmInfo* w) {
            picture = w->imgInfo()->size();
            w->reject();
        }));
        EXPECT_EQ(picture.height(), expected) << written;
        window->close();
    }
}

} // namespace
} // namespace zorvek::test
