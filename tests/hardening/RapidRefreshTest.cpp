// Many refreshes in a row against a full list: every server's reply to the last still shows.
#include <functional>
#include <numeric>
#include <vector>

#include <QPushButton>
#include <QTimer>

#include "sample-host/ServerProfile.h"
#include "support/MainWindowFixture.h"

namespace zorvek::test {
namespace {

using RapidRefreshTest = MainWindowFixture;

TEST_F(RapidRefreshTest, EveryServerAnswersTheLastOfAHundredRefreshes)
{
    std::vector<EmulatedGameServer*> list;
    for (int i = 0; i < 255; ++i)
        list.push_back(addServer());
    serveGame(1, list);
    start();
    std::vector<int> all(255);
    std::iota(all.begin(), all.end(), 1);
    ASSERT_TRUE(waitForReplies(all));

    // Each click its own event, as fast as the event loop takes them, as a user's would be.
    int clicks = 0;
    std::function<void()> click = [&] {
        QTest::mouseClick(cmdResponse(*window), Qt::LeftButton);
        if (++clicks < 100)
            QTimer::singleShot(0, window.get(), click);
    };
    QTimer::singleShot(0, window.get(), click);
    ASSERT_TRUE(waitFor([&] { return clicks == 100; }, 60000));
    EXPECT_TRUE(waitForReplies(all)) << "replied: " << [&] {
        int n = 0;
        for (int slot : all)
            n += window->serverTable()[slot].Replied;
        return n;
    }();
}

} // namespace
} // namespace zorvek::test
