// What a slot's socket does when the read of an arrival fails: an ICMP "port unreachable"
// that Windows reports for an earlier query is no reply, and the socket reads on for the
// real one behind it; any other failure ends the pass.
#include "query/StatusSockets.h"

#include <ostream>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

struct FailedReadCase
{
    const char* name;
    QAbstractSocket::SocketError error;
    int failures;
    bool readsOn;
};

void PrintTo(const FailedReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class FailedReadTest : public ::testing::TestWithParam<FailedReadCase>
{
};

TEST_P(FailedReadTest, DecidesWhetherTheSocketReadsOn)
{
    EXPECT_EQ(ReadsOnAfterFailedRead(GetParam().error, GetParam().failures), GetParam().readsOn);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, FailedReadTest,
    ::testing::Values(
        FailedReadCase{"ARefusedQueryIsNoReplyAndTheSocketReadsOn", QAbstractSocket::ConnectionRefusedError,
                       1, true},
        FailedReadCase{"RefusalsUpToTheLimitAreReadPast", QAbstractSocket::ConnectionRefusedError,
                       StatusSockets::kRefusedReadLimit, true},
        FailedReadCase{"AFloodOfRefusalsEndsThePass", QAbstractSocket::ConnectionRefusedError,
                       StatusSockets::kRefusedReadLimit + 1, false},
        FailedReadCase{"AnotherNetworkErrorEndsThePass", QAbstractSocket::NetworkError, 1, false},
        FailedReadCase{"ADatagramTooLargeEndsThePass", QAbstractSocket::DatagramTooLargeError, 1, false},
        FailedReadCase{"AnUnknownErrorEndsThePass", QAbstractSocket::UnknownSocketError, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvek
