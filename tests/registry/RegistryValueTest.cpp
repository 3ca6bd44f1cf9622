// The text form of values, and the error type.
#include <string>

#include <gtest/gtest.h>

#include "registry/RegistryError.h"
#include "registry/RegistryValue.h"

namespace zorvek {
namespace {

struct TextFormCase
{
    const char* name;
    RegistryValue value;
    std::string text;
};

void PrintTo(const TextFormCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextFormTest : public ::testing::TestWithParam<TextFormCase>
{
};

TEST_P(TextFormTest, GivesText)
{
    EXPECT_EQ(TextForm(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TextFormTest,
    ::testing::Values(TextFormCase{"Empty", RegistryValue(), ""},
                      TextFormCase{"Text", std::string("a\0b", 3), std::string("a\0b", 3)},
                      TextFormCase{"Short", std::int16_t{-12}, "-12"},
                      TextFormCase{"Long", std::int32_t{-2147483647 - 1}, "-2147483648"},
                      TextFormCase{"Bytes", std::vector<std::uint8_t>{'h', 'i', 0xE8}, "hi\xe8"},
                      TextFormCase{"Number", 2.5, "2.5"}, TextFormCase{"True", true, "True"},
                      TextFormCase{"False", false, "False"}),
    [](const ::testing::TestParamInfo<TextFormCase>& info) { return std::string(info.param.name); });

TEST(RegistryValue, TextLiteralHoldsText)
{
    const RegistryValue value("abc");
    EXPECT_TRUE(std::holds_alternative<std::string>(value));
}

TEST(RegistryError, CarriesNumberSourceAndDescription)
{
    const RegistryError error(26001, "zorvek.cRegistry", "Failed to create registry Key: 'X");
    EXPECT_EQ(error.number(), 26001);
    EXPECT_EQ(error.source(), "zorvek.cRegistry");
    EXPECT_EQ(error.description(), "Failed to create registry Key: 'X");
    EXPECT_STREQ(error.what(), "Failed to create registry Key: 'X");
}

} // namespace
} // namespace zorvek
