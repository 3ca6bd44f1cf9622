// Which queries still wait for their server's name when its lookup ends.
#include "query/WaitingQueries.h"

#include <gtest/gtest.h>

namespace zorvek {
namespace {

std::vector<int> slots(const std::vector<WaitingQueries::Query>& queries)
{
    std::vector<int> result;
    for (const auto& q : queries)
        result.push_back(q.slot);
    return result;
}

TEST(WaitingQueriesTest, AnAnswerTakesEveryQueryOfItsNameInSlotOrderOnce)
{
    WaitingQueries waiting;
    waiting.add(7, "b.example.cz", 28960);
    waiting.add(2, "a.example.cz", 28961);
    waiting.add(4, "b.example.cz", 28962);
    const std::vector<WaitingQueries::Query> taken = waiting.take("b.example.cz");
    EXPECT_EQ(slots(taken), (std::vector<int>{4, 7}));
    EXPECT_EQ(taken[0].port, 28962);
    EXPECT_TRUE(waiting.take("b.example.cz").empty()) << "taken once";
    EXPECT_EQ(slots(waiting.take("a.example.cz")), std::vector<int>{2});
    EXPECT_TRUE(waiting.empty());
}

TEST(WaitingQueriesTest, ASlotWaitsOnlyWithItsLatestQuery)
{
    WaitingQueries waiting;
    waiting.add(3, "old.example.cz", 1000);
    waiting.add(3, "new.example.cz", 2000);
    EXPECT_TRUE(waiting.take("old.example.cz").empty());
    const auto taken = waiting.take("new.example.cz");
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].port, 2000);
}

TEST(WaitingQueriesTest, CancelledAndClearedQueriesWaitNoLonger)
{
    WaitingQueries waiting;
    waiting.add(1, "a.example.cz", 1);
    waiting.add(2, "a.example.cz", 2);
    waiting.cancel(1);
    EXPECT_EQ(slots(waiting.take("a.example.cz")), std::vector<int>{2});
    waiting.add(5, "c.example.cz", 5);
    waiting.clear();
    EXPECT_TRUE(waiting.take("c.example.cz").empty());
}

} // namespace
} // namespace zorvek
