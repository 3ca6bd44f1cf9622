// Writing Value: ValueType decides how a value is stored, and which writes are refused.
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "registry/MemoryRegistryBackend.h"
#include "registry/cRegistry.h"

namespace zorvek::test {
namespace {

using namespace reg;

constexpr long kSetValueError = -2147194455;
constexpr long kOperationError = 26001;

struct WriteCase
{
    std::string name;
    std::string section;
    std::int32_t valueType = 0;
    RegistryValue value;
    std::optional<StoredValue> expectedStored;
    long expectedError = 0;
    bool errorHasSource = true;
    std::string expectedDescription;
};

void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string WriteSection(const std::string& caseName)
{
    return std::string(kTestRoot) + "\\Write\\" + caseName;
}

std::string SetValueDescription(const std::string& section, const std::string& text)
{
    return "Failed to set registry value Key: '-2147483647',Section: '" + section +
           "',Key: 'Value' to value: '" + text + "'";
}

WriteCase Stores(const std::string& name, std::int32_t valueType, RegistryValue value,
                 std::uint32_t storedType, std::vector<std::uint8_t> storedBytes)
{
    WriteCase c;
    c.name = name;
    c.section = WriteSection(name);
    c.valueType = valueType;
    c.value = std::move(value);
    c.expectedStored = StoredValue{storedType, std::move(storedBytes)};
    return c;
}

WriteCase StoresNothing(const std::string& name, std::int32_t valueType, RegistryValue value)
{
    WriteCase c;
    c.name = name;
    c.section = WriteSection(name);
    c.valueType = valueType;
    c.value = std::move(value);
    return c;
}

WriteCase Refused(const std::string& name, std::int32_t valueType, RegistryValue value)
{
    WriteCase c = StoresNothing(name, valueType, std::move(value));
    c.expectedError = kSetValueError;
    c.expectedDescription = SetValueDescription(c.section, TextForm(c.value));
    return c;
}

std::vector<std::uint8_t> Sz(const std::string& text)
{
    return TextBytes(text + '\0');
}

std::vector<WriteCase> WriteCases()
{
    constexpr auto sz = static_cast<std::int32_t>(kRegSz);
    constexpr auto expandSz = static_cast<std::int32_t>(kRegExpandSz);
    constexpr auto dword = static_cast<std::int32_t>(kRegDword);
    std::vector<WriteCase> cases{
        Stores("TextStoredAsRegSz", sz, std::string("abc"), kRegSz, Sz("abc")),
        Stores("PercentTempStoredAsRegExpandSz", sz, std::string("%TEMP%"), kRegExpandSz, Sz("%TEMP%")),
        Stores("TrailingPercentStaysRegSz", sz, std::string("100%"), kRegSz, Sz("100%")),
        Stores("DoublePercentStaysRegSz", sz, std::string("%%"), kRegSz, Sz("%%")),
        Stores("OneCharacterBetweenPercentsIsExpandable", sz, std::string("%a%"), kRegExpandSz, Sz("%a%")),
        Stores("ExpandTypeWithoutReferenceStoredAsRegSz", expandSz, std::string("abc"), kRegSz, Sz("abc")),
        Stores("EmptyTextStoresTerminator", sz, std::string(), kRegSz, Sz("")),
        Stores("EmptyValueStoresEmptyText", sz, RegistryValue(), kRegSz, Sz("")),
        Stores("IntegerWrittenAsText", sz, std::int32_t{42}, kRegSz, Sz("42")),
        Stores("TruthWrittenAsText", sz, true, kRegSz, Sz("True")),
        Stores("BinaryFromBytes", static_cast<std::int32_t>(kRegBinary), std::vector<std::uint8_t>{1, 2, 3},
               kRegBinary, Bytes({1, 2, 3})),
        Stores("DwordFrom32BitInteger", dword, std::int32_t{258}, kRegDword, Bytes({0x02, 0x01, 0, 0})),
        Stores("DwordFrom16BitInteger", dword, std::int16_t{-2}, kRegDword, Bytes({0xFE, 0xFF, 0xFF, 0xFF})),
        // Both double-word types store a little-endian REG_DWORD: no byte reversal on write.
        Stores("BigEndianTypeStoresUnswappedDword", static_cast<std::int32_t>(kRegDwordBigEndian),
               std::int32_t{258}, kRegDword, Bytes({0x02, 0x01, 0, 0})),
        StoresNothing("DwordFromTextWritesNothing", dword, std::string("258")),
        StoresNothing("DwordFromNumberWritesNothing", dword, 2.5),
        Refused("MultiSzRefused", static_cast<std::int32_t>(kRegMultiSz), std::string("a")),
        Refused("NoneRefused", static_cast<std::int32_t>(kRegNone), std::string("x")),
        Refused("LinkRefused", static_cast<std::int32_t>(kRegLink), std::int32_t{7}),
        Refused("ResourceListRefused", static_cast<std::int32_t>(kRegResourceList), std::string("x")),
    };

    WriteCase binaryFromText = StoresNothing("BinaryFromTextRaisesWithoutSource", 3, std::string("abc"));
    binaryFromText.expectedError = kOperationError;
    binaryFromText.errorHasSource = false;
    cases.push_back(binaryFromText);

    WriteCase deep = Stores("MissingParentKeysCreated", sz, std::string("deep"), kRegSz, Sz("deep"));
    deep.section += "\\A\\B\\C";
    cases.push_back(deep);
    return cases;
}

class ValueWriteTest : public HarnessTest<std::tuple<HarnessKind, WriteCase>>
{
};

TEST_P(ValueWriteTest, StoresByValueType)
{
    const auto& [kind, c] = GetParam();
    auto backend = prepare(kind);
    if (!m_harness->replaysWindowsRun()) {
        cRegistry registry(backend);
        registry.SetClassKey(kHkeyCurrentUser);
        registry.SetSectionKey(c.section);
        registry.SetValueKey("Value");
        registry.SetValueType(c.valueType);
        if (c.expectedError != 0) {
            ExpectRegistryError([&] { registry.SetValue(c.value); }, c.expectedError,
                                c.errorHasSource ? ErrorSource() : std::string(), c.expectedDescription);
        } else {
            EXPECT_NO_THROW(registry.SetValue(c.value));
        }
        // A write, failed or not, changes no property.
        EXPECT_EQ(registry.ClassKey(), kHkeyCurrentUser);
        EXPECT_EQ(registry.SectionKey(), c.section);
        EXPECT_EQ(registry.ValueKey(), "Value");
        EXPECT_EQ(registry.ValueType(), c.valueType);
    }
    // The key is opened (and created) before the type is looked at, so it exists in every case.
    EXPECT_TRUE(KeyPresent(*backend, kHkeyCurrentUser, c.section));
    EXPECT_EQ(ReadStored(*backend, kHkeyCurrentUser, c.section, "Value"), c.expectedStored);
}

INSTANTIATE_TEST_SUITE_P(Backends, ValueWriteTest,
                         ::testing::Combine(::testing::ValuesIn(WriteHarnesses()),
                                            ::testing::ValuesIn(WriteCases())),
                         CaseName<WriteCase>);

// ValueEx's set form: an empty text with REG_SZ writes the default instead.
struct ValueExCase
{
    std::string name;
    std::int32_t valueType = 0;
    RegistryValue defaultValue;
    RegistryValue newValue;
    StoredValue expectedStored;
};

void PrintTo(const ValueExCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<ValueExCase> ValueExCases()
{
    return {
        {"EmptyTextWritesDefault", 1, std::string("dflt"), std::string(), {kRegSz, Sz("dflt")}},
        {"EmptyValueWritesDefault", 1, std::string("dflt"), RegistryValue(), {kRegSz, Sz("dflt")}},
        {"TextWrittenOverDefault", 1, std::string("dflt"), std::string("new"), {kRegSz, Sz("new")}},
        {"EmptyDefaultAndTextWritesEmpty", 1, RegistryValue(), std::string(), {kRegSz, Sz("")}},
        {"DefaultIgnoredForDword", 4, std::int32_t{5}, std::int32_t{7}, {kRegDword, Bytes({7, 0, 0, 0})}},
    };
}

class ValueExWriteTest : public HarnessTest<std::tuple<HarnessKind, ValueExCase>>
{
};

TEST_P(ValueExWriteTest, WritesNewValueOrDefault)
{
    const auto& [kind, c] = GetParam();
    auto backend = prepare(kind);
    const std::string section = WriteSection("ValueEx" + c.name);
    if (!m_harness->replaysWindowsRun()) {
        cRegistry registry(backend);
        registry.SetValueEx(kHkeyCurrentUser, section, "Value", c.valueType, c.defaultValue, c.newValue);
        EXPECT_EQ(registry.ClassKey(), kHkeyCurrentUser);
        EXPECT_EQ(registry.SectionKey(), section);
        EXPECT_EQ(registry.ValueKey(), "Value");
        EXPECT_EQ(registry.ValueType(), c.valueType);
        EXPECT_EQ(registry.Default(), c.defaultValue);
    }
    EXPECT_EQ(ReadStored(*backend, kHkeyCurrentUser, section, "Value"), c.expectedStored);
}

INSTANTIATE_TEST_SUITE_P(Backends, ValueExWriteTest,
                         ::testing::Combine(::testing::ValuesIn(WriteHarnesses()),
                                            ::testing::ValuesIn(ValueExCases())),
                         CaseName<ValueExCase>);

// What was written reads back through the class as written.
class WriteReadBackTest : public HarnessTest<HarnessKind>
{
};

TEST_P(WriteReadBackTest, WrittenTextReadsBack)
{
    cRegistry registry(prepare(GetParam()));
    const std::string section = WriteSection("ReadBack");
    registry.SetClassKey(kHkeyCurrentUser);
    registry.SetSectionKey(section);
    registry.SetValueKey("Path");
    registry.SetValueType(static_cast<std::int32_t>(kRegSz));
    registry.SetValue(std::string("C:\\Games\\CoD4"));
    registry.SetValueType(0);
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("C:\\Games\\CoD4")));
    EXPECT_EQ(registry.ValueType(), static_cast<std::int32_t>(kRegSz));
}

TEST_P(WriteReadBackTest, WriteToUnreachableComputerDoesNothing)
{
    cRegistry registry(prepare(GetParam()));
    const std::string section = WriteSection("Remote");
    registry.SetMachine("zorvek-no-such-host");
    registry.SetClassKey(kHkeyCurrentUser);
    registry.SetSectionKey(section);
    registry.SetValueKey("Value");
    registry.SetValueType(static_cast<std::int32_t>(kRegSz));
    EXPECT_NO_THROW(registry.SetValue(std::string("x")));
    EXPECT_FALSE(KeyPresent(*m_backend, kHkeyCurrentUser, section));
}

INSTANTIATE_TEST_SUITE_P(Backends, WriteReadBackTest, ::testing::ValuesIn(WritableHarnesses()), HarnessName);

// A registry in memory that reaches every computer it is asked for: the connected root is a
// handle of its own, which Value's read and write close together with the section key.
class ConnectingBackend : public MemoryRegistryBackend
{
public:
    long connectRegistry(const std::string&, RegistryHandle rootKey, RegistryHandle& result) override
    {
        ++connections;
        return MemoryRegistryBackend::connectRegistry(std::string(), rootKey, result);
    }

    int connections = 0;
};

TEST(ConnectedComputerTest, ReadAndWriteCloseTheKeyAndTheConnectedRoot)
{
    const auto backend = std::make_shared<ConnectingBackend>();
    cRegistry registry(backend);
    registry.SetMachine("srv");
    registry.SetClassKey(kHkeyCurrentUser);
    registry.SetSectionKey(WriteSection("Connected"));
    registry.SetValueKey("Value");
    registry.SetValueType(static_cast<std::int32_t>(kRegSz));

    registry.SetValue(std::string("x"));
    EXPECT_EQ(backend->openHandleCount(), 0u);
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("x")));
    EXPECT_EQ(backend->openHandleCount(), 0u);

    // A key that cannot be opened, and a write refused after the key was opened.
    registry.SetSectionKey(WriteSection("ConnectedButMissing"));
    registry.SetDefault(std::string("dflt"));
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("dflt")));
    EXPECT_EQ(backend->openHandleCount(), 0u);
    registry.SetValueType(static_cast<std::int32_t>(kRegMultiSz));
    EXPECT_THROW(registry.SetValue(std::string("x")), RegistryError);
    EXPECT_EQ(backend->openHandleCount(), 0u);
    EXPECT_EQ(backend->connections, 4);
}

} // namespace
} // namespace zorvek::test
