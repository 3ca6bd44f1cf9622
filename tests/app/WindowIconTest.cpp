// The program's own icon: the main window carries it at every size the desktop asks for,
// and the info window and the found-players window carry the same.
#include <QDir>
#include <QIcon>
#include <QLineEdit>

#include "app/AppIcon.h"
#include "app/frmInfo.h"
#include "search/frmPlayers.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAction.h"

namespace zorvek::test {
namespace {

class WindowIconTest : public MainWindowFixture
{
};

// The same picture at a size: the icons may be copies, the pixels must agree.
QImage at(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST_F(WindowIconTest, EveryWindowCarriesTheProgramsIcon)
{
    ServerProfile profile;
    profile.game = 1;
    profile.players = {{"Hrac", 10, 20}};
    serveGame(1, {addServer(profile)});
    // The poster of the info window is kept in the levelshots folder.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("levelshots")));
    host.setDefaultInfo();

    QIcon infoIcon;
    ModalAction<frmInfo> info([&](frmInfo* w) {
        infoIcon = w->windowIcon();
        w->reject();
    });
    start();
    QCoreApplication::processEvents();
    ASSERT_EQ(info.runs(), 1);

    const QIcon icon = window->windowIcon();
    QList<int> sizes;
    for (const QSize& size : icon.availableSizes())
        sizes << size.width();
    EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 64, 128, 256}));
    EXPECT_FALSE(at(icon, 32).isNull());
    EXPECT_EQ(at(infoIcon, 32), at(icon, 32));

    ASSERT_TRUE(waitForReplies({1}));
    QIcon playersIcon;
    ModalAction<frmPlayers> players([&](frmPlayers* w) {
        playersIcon = w->windowIcon();
        w->reject();
    });
    editSearch(*window)->setText(QStringLiteral("Hrac"));
    QTest::keyClick(editSearch(*window), Qt::Key_Return);
    ASSERT_EQ(players.runs(), 1);
    EXPECT_EQ(at(playersIcon, 16), at(icon, 16));
    EXPECT_EQ(at(playersIcon, 256), at(icon, 256));
}

// The pictures are read when a size is asked for: between two pictures the larger is scaled
// down, beyond the largest that one is given, and each is the picture of its own size.
TEST(AppIconTest, EverySizeComesFromItsPicture)
{
    const QIcon icon = AppIcon();
    EXPECT_EQ(icon.actualSize(QSize(24, 24)), QSize(24, 24));
    EXPECT_EQ(icon.pixmap(QSize(24, 24)).size(), QSize(24, 24));
    EXPECT_EQ(icon.actualSize(QSize(1000, 1000)), QSize(256, 256));
    EXPECT_EQ(icon.pixmap(QSize(1000, 1000)).size(), QSize(256, 256));
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QPixmap picture(QStringLiteral(":/zorvek/icons/zorvek-%1.png").arg(size));
        ASSERT_FALSE(picture.isNull()) << size;
        EXPECT_EQ(at(icon, size), picture.toImage().convertToFormat(QImage::Format_ARGB32)) << size;
    }
    EXPECT_FALSE(icon.pixmap(QSize(32, 32), QIcon::Disabled).isNull());
}

} // namespace
} // namespace zorvek::test
