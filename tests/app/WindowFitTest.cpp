// The main window as a user sees it: columns that reach the lists' right edges whatever
// the scroll bars do, a tab strip that only a click or a key switches, the fixed column
// order of the player list, and the typing going into the search box.
#include <numeric>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/frmInfo.h"
#include "sample-host/ServerProfile.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAction.h"
#include "support/Pictures.h"

namespace zorvek::test {
namespace {

// Where the last column ends, against the width of the area that shows the rows.
::testing::AssertionResult lastColumnReachesTheRightEdge(const QTreeWidget& list)
{
    const QHeaderView* header = list.header();
    const int last = list.columnCount() - 1;
    const int end = header->sectionViewportPosition(last) + header->sectionSize(last);
    const int edge = list.viewport()->width();
    if (end == edge && list.horizontalScrollBar()->maximum() == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << list.objectName().toStdString() << ": the last column ends at " << end << ", the viewport is "
           << edge << " wide, horizontal scroll range " << list.horizontalScrollBar()->maximum();
}

ServerProfile withPlayers(int count)
{
    ServerProfile p;
    for (int i = 1; i <= count; ++i)
        p.players.push_back({"Player" + QByteArray::number(i), i, 40 + i});
    return p;
}

class WindowFitTest : public MainWindowFixture
{
protected:
    EmulatedGameServer* startWithOneServer(int players)
    {
        EmulatedGameServer* server = addServer(withPlayers(players));
        serveGame(1, {server});
        start();
        return server;
    }

    // Selects the first row and waits for its players, as a click on it does.
    bool showPlayersOfTheFirstServer(int expected)
    {
        listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
        window->SendQueryOne(1);
        return waitFor([&] { return listPlayers(*window)->topLevelItemCount() == expected; });
    }
};

TEST_F(WindowFitTest, ColumnsReachTheRightEdgeOnceTheWindowShows)
{
    startWithOneServer(2);
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*listPlayers(*window)));
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*listServers(*window)));
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*listServers(*window)));
}

TEST_F(WindowFitTest, PlayerColumnsFollowTheScrollBarComingAndGoing)
{
    EmulatedGameServer* server = startWithOneServer(60);
    QTreeWidget* players = listPlayers(*window);
    ASSERT_TRUE(showPlayersOfTheFirstServer(60));
    ASSERT_TRUE(waitFor([&] { return players->verticalScrollBar()->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*players)) << "with 60 players";

    server->setProfile(withPlayers(3));
    ASSERT_TRUE(showPlayersOfTheFirstServer(3));
    ASSERT_TRUE(waitFor([&] { return !players->verticalScrollBar()->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*players)) << "with 3 players";
}

TEST_F(WindowFitTest, ServerColumnsFollowTheScrollBarOfALongList)
{
    std::vector<EmulatedGameServer*> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(addServer(withPlayers(i % 7)));
    serveGame(1, many);
    serveGame(2, {many[0], many[1], many[2]});
    start();
    QTreeWidget* list = listServers(*window);
    ASSERT_TRUE(waitFor([&] { return list->verticalScrollBar()->isVisible(); }));
    std::vector<int> all(40);
    std::iota(all.begin(), all.end(), 1);
    ASSERT_TRUE(waitForReplies(all));
    QCoreApplication::processEvents();
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*list)) << "40 servers";

    tabGames(*window)->setCurrentIndex(1);
    ASSERT_TRUE(waitFor([&] { return !list->verticalScrollBar()->isVisible(); }));
    ASSERT_TRUE(waitForReplies({1, 2, 3}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(lastColumnReachesTheRightEdge(*list)) << "3 servers";
}

TEST_F(WindowFitTest, TheMouseWheelOverTheTabsSwitchesNoGame)
{
    startWithOneServer(1);
    ASSERT_TRUE(waitForReplies({1}));
    QTabBar* tabs = tabGames(*window);
    ASSERT_EQ(tabs->currentIndex(), 0);
    const int sentBefore = servers[0]->statusQueryCount();
    for (const int delta : {-120, 120, -120}) {
        const QPointF inside(tabs->tabRect(0).center());
        QWheelEvent wheel(inside, tabs->mapToGlobal(inside), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(tabs, &wheel);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(listServers(*window)->topLevelItemCount(), 1);
    EXPECT_EQ(servers[0]->statusQueryCount(), sentBefore) << "no refresh was sent";

    // A click and the keyboard still switch.
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
    EXPECT_EQ(tabs->currentIndex(), 1);
    QTest::keyClick(tabs, Qt::Key_Left);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(WindowFitTest, PlayerColumnsCannotBeDraggedIntoAnotherOrder)
{
    startWithOneServer(2);
    for (QTreeWidget* list : {listPlayers(*window), listServers(*window)}) {
        QHeaderView* header = list->header();
        const int y = header->height() / 2;
        // The first column of a tree view never moves; the others could.
        const QPoint from(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, y);
        const QPoint to(header->sectionViewportPosition(2) + header->sectionSize(2) * 3 / 4, y);
        // A drag as the mouse makes it: pressed on the second header, moved with the button
        // held over the third, released there.
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, from);
        for (int step = 1; step <= 10; ++step) {
            const QPointF at = from + (to - from) * step / 10;
            QMouseEvent move(QEvent::MouseMove, at, header->viewport()->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(header->viewport(), &move);
        }
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, to);
        for (int c = 0; c < list->columnCount(); ++c)
            EXPECT_EQ(header->visualIndex(c), c) << list->objectName().toStdString() << " column " << c;
    }
}

// The window's focus is in editSearch, and what the keyboard types lands there.
void expectTypingGoesIntoTheSearchBox(frmMain& window)
{
    ASSERT_EQ(window.focusWidget(), editSearch(window))
        << (window.focusWidget() ? window.focusWidget()->objectName().toStdString() : "no focus widget");
    // The platform hands the keyboard to the window, and to its focus widget, in its own time.
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, editSearch(window)) << (focus ? focus->objectName().toStdString() : "no focus");
    QTest::keyClicks(focus, QStringLiteral("abc"));
    EXPECT_EQ(editSearch(window)->text(), QStringLiteral("abc"));
}

TEST_F(WindowFitTest, TypingGoesIntoTheSearchBoxWhenTheWindowShows)
{
    startWithOneServer(1);
    expectTypingGoesIntoTheSearchBox(*window);
    // The search box comes first in the tab order.
    QTest::keyClick(editSearch(*window), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), cmdResponse(*window));
}

TEST_F(WindowFitTest, TypingGoesIntoTheSearchBoxAfterTheInfoWindowHasClosed)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("levelshots")));
    host.setContent(QStringLiteral("/poster.jpg"), JpegBytes(40, 30), 200, "image/jpeg");
    host.setContent(QStringLiteral("/zorvek/info.txt"),
                    "40;\r\n30;\r\n" + (host.baseUrl() + "/poster.jpg").toLatin1() +
                        ";\r\nhttp://www.example.cz;\r\ntip;\r\n$$$&&&***;\r\n");
    ModalAction<frmInfo> closeWithEscape([](frmInfo* info) { QTest::keyClick(info, Qt::Key_Escape); });
    startWithOneServer(1);
    ASSERT_TRUE(waitFor([&] { return closeWithEscape.runs() == 1 && !QApplication::activeModalWidget(); }));
    expectTypingGoesIntoTheSearchBox(*window);
}

} // namespace
} // namespace zorvek::test
