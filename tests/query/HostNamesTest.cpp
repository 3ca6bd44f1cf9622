// Which host and port texts of a server record can be sent to at all.
#include "query/HostNames.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

struct HostCase
{
    const char* label;
    std::string host;
    bool hostName;
    bool literal;
};

class HostTextTest : public testing::TestWithParam<HostCase>
{
};

TEST_P(HostTextTest, OnlyNamesGoToTheResolverAndOnlyAddressesAreTakenAsTheyStand)
{
    EXPECT_EQ(isHostName(GetParam().host), GetParam().hostName);
    EXPECT_EQ(literalAddress(GetParam().host).has_value(), GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, HostTextTest,
    testing::Values(HostCase{"PlainName", "cod.example.cz", true, false},
                    HostCase{"SingleLabel", "localhost", true, false},
                    HostCase{"UnderscoreAndHyphen", "my_server-1.example.cz", true, false},
                    HostCase{"TrailingDotOfAnAbsoluteName", "cod.example.cz.", true, false},
                    HostCase{"DottedAddressIsAlsoAValidName", "127.0.0.1", true, true},
                    HostCase{"IPv6Address", "::1", false, true}, HostCase{"Empty", "", false, false},
                    HostCase{"LeadingDot", ".example.cz", false, false},
                    HostCase{"LeadingHyphen", "-h", false, false},
                    HostCase{"EmptyLabel", "cod..example.cz", false, false},
                    HostCase{"Blank", "cod example.cz", false, false},
                    HostCase{"EightBitByte", "k\xe1men.cz", false, false},
                    HostCase{"LabelOf63", std::string(63, 'a') + ".cz", true, false},
                    HostCase{"LabelOf64", std::string(64, 'a') + ".cz", false, false},
                    HostCase{"NameOf253",
                             std::string(63, 'a') + "." + std::string(63, 'b') + "." + std::string(63, 'c') +
                                 "." + std::string(61, 'd'),
                             true, false},
                    HostCase{"NameOf254",
                             std::string(63, 'a') + "." + std::string(63, 'b') + "." + std::string(63, 'c') +
                                 "." + std::string(62, 'd'),
                             false, false}),
    [](const auto& info) { return std::string(info.param.label); });

struct PortCase
{
    const char* label;
    std::string text;
    std::optional<quint16> port;
};

class PortTextTest : public testing::TestWithParam<PortCase>
{
};

TEST_P(PortTextTest, CountsOnlyAWholeNumberFrom1To65535)
{
    EXPECT_EQ(portNumber(GetParam().text), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PortTextTest,
    testing::Values(PortCase{"Usual", "28960", 28960}, PortCase{"Lowest", "1", 1},
                    PortCase{"Highest", "65535", 65535}, PortCase{"BlanksAround", " 28960 ", 28960},
                    PortCase{"Zero", "0", std::nullopt}, PortCase{"BeyondSixteenBits", "65536", std::nullopt},
                    PortCase{"Negative", "-1", std::nullopt}, PortCase{"Empty", "", std::nullopt},
                    PortCase{"TrailingLetters", "28960x", std::nullopt},
                    PortCase{"Fraction", "28960.5", std::nullopt},
                    PortCase{"Huge", "99999999999999999999", std::nullopt}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LiteralAddressTest, KeepsTheAddressAsWritten)
{
    EXPECT_EQ(literalAddress("192.168.10.7"), QHostAddress(QStringLiteral("192.168.10.7")));
    EXPECT_EQ(literalAddress("127.0.0.1")->protocol(), QAbstractSocket::IPv4Protocol);
}

} // namespace
} // namespace zorvek
