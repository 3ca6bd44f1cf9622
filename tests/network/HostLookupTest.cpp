// Name lookups through the real resolver of the C library, asking the test's own DNS
// server: answers and failures kept for their time, one lookup per name at a time.
#include "query/HostLookup.h"

#include <QSignalSpy>

#include "NamedServersFixture.h"

namespace zorvek::test {
namespace {

class HostLookupTest : public NamedServersFixture
{
protected:
    HostLookup::Result findWhenLookedUp(const std::string& host)
    {
        QSignalSpy spy(&lookup, &HostLookup::lookedUp);
        HostLookup::Result result = lookup.find(host);
        if (result.status == HostLookup::Status::Pending) {
            EXPECT_TRUE(spy.wait(10000)) << host;
            result = lookup.find(host);
        }
        return result;
    }

    qint64 now = 1000;
    HostLookup lookup{nullptr, [this] { return now; }};
};

TEST_F(HostLookupTest, AnAnswerIsKeptForAMinute)
{
    dns.answer(QStringLiteral("cod.zorvek.test"));
    const HostLookup::Result first = findWhenLookedUp("cod.zorvek.test");
    ASSERT_EQ(first.status, HostLookup::Status::Known);
    EXPECT_EQ(first.address, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(dns.questions(QStringLiteral("cod.zorvek.test")), 1);

    now += HostLookup::kAnswerKeptMs - 1;
    EXPECT_EQ(lookup.find("cod.zorvek.test").status, HostLookup::Status::Known);
    EXPECT_EQ(lookup.lookupsStarted(), 1);

    now += 1;
    EXPECT_EQ(findWhenLookedUp("cod.zorvek.test").status, HostLookup::Status::Known);
    EXPECT_EQ(lookup.lookupsStarted(), 2);
    EXPECT_EQ(dns.questions(QStringLiteral("cod.zorvek.test")), 2);
}

TEST_F(HostLookupTest, AFailureIsKeptForTenSeconds)
{
    ASSERT_EQ(findWhenLookedUp("missing.zorvek.test").status, HostLookup::Status::Failed);
    const int asked = dns.questions(QStringLiteral("missing.zorvek.test"));
    EXPECT_GE(asked, 1);

    now += HostLookup::kFailureKeptMs - 1;
    EXPECT_EQ(lookup.find("missing.zorvek.test").status, HostLookup::Status::Failed);
    EXPECT_EQ(dns.questions(QStringLiteral("missing.zorvek.test")), asked);

    now += 1;
    EXPECT_EQ(lookup.find("missing.zorvek.test").status, HostLookup::Status::Pending);
}

TEST_F(HostLookupTest, ANameIsLookedUpOnceAtATime)
{
    dns.hold(QStringLiteral("busy.zorvek.test"));
    QSignalSpy spy(&lookup, &HostLookup::lookedUp);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lookup.find("busy.zorvek.test").status, HostLookup::Status::Pending);
    EXPECT_EQ(lookup.lookupsStarted(), 1);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return dns.questions(QStringLiteral("busy.zorvek.test")) > 0; }, 10000));
    dns.release(QStringLiteral("busy.zorvek.test"));
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(lookup.find("busy.zorvek.test").status, HostLookup::Status::Known);
    EXPECT_EQ(dns.questions(QStringLiteral("busy.zorvek.test")), 1);
}

TEST_F(HostLookupTest, AddressesAndTextsThatAreNoNamesAskNobody)
{
    EXPECT_EQ(lookup.find("127.0.0.1").status, HostLookup::Status::Known);
    EXPECT_EQ(lookup.find("127.0.0.1").address, QHostAddress(QHostAddress::LocalHost));
    for (const char* text : {"", "not a name", "-h", "a..b"})
        EXPECT_EQ(lookup.find(text).status, HostLookup::Status::Failed) << text;
    EXPECT_EQ(lookup.lookupsStarted(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dns.answersSent(), 0);
}

} // namespace
} // namespace zorvek::test
