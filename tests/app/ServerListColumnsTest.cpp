// The server list's columns in the running main window: kept widths equal a full measure.
#include <vector>

#include <QHeaderView>
#include <QTreeWidget>

#include "query/StatusSockets.h"
#include "sample-host/ServerProfile.h"
#include "support/ColumnChecks.h"
#include "support/Controls.h"
#include "support/MainWindowFixture.h"
#include "widgets/ColumnSizer.h"

namespace zorvek::test {
namespace {

using ServerListColumnsTest = MainWindowFixture;

TEST_F(ServerListColumnsTest, FitAfterAGameIsSelectedAndAfterEveryReply)
{
    std::vector<EmulatedGameServer*> list;
    const QList<QByteArray> maps{"mp_crash", "mp_x", "mp_a_very_long_map_name_for_the_column", "mp_strike"};
    for (const QByteArray& map : maps) {
        ServerProfile p;
        p.mapName = map;
        p.gameType = map.size() > 10 ? "searchanddestroy" : "dm";
        list.push_back(addServer(p));
    }
    serveGame(2, list);
    start();

    // Compare the kept widths with a full measure after every handled reply.
    int compared = 0;
    QObject::connect(sockCOD(*window), &StatusSockets::dataArrival, window.get(), [&] {
        const std::vector<int> kept = widths(*listServers(*window));
        ResizeColumnWidth(listServers(*window));
        EXPECT_EQ(kept, widths(*listServers(*window)));
        ++compared;
    });

    tabGames(*window)->setCurrentIndex(1);
    expectSizedByTheRule(*listServers(*window));
    ASSERT_TRUE(waitForReplies({1, 2, 3, 4}));
    expectSizedByTheRule(*listServers(*window));

    // The long map goes away: the column shrinks to the next widest text.
    ServerProfile shorter = list[2]->profile();
    shorter.mapName = "mp_b";
    list[2]->setProfile(shorter);
    window->cmdResponse_Click();
    ASSERT_TRUE(waitForReplies({1, 2, 3, 4}));
    expectSizedByTheRule(*listServers(*window));
    EXPECT_GE(compared, 8);
    const QRect lastHeader(listServers(*window)->header()->sectionViewportPosition(5), 0,
                           listServers(*window)->columnWidth(5), 1);
    EXPECT_EQ(lastHeader.right() + 1, listServers(*window)->viewport()->width());
}

} // namespace
} // namespace zorvek::test
