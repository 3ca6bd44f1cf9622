// The advapi32 rules that the registry class relies on, checked on each backend itself.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "RegistryFixture.h"

namespace zorvek::test {
namespace {

using namespace reg;

std::string ContractSection(const std::string& name)
{
    return std::string(kTestRoot) + "\\Contract\\" + name;
}

Seed ContractSeed()
{
    const std::string section = ContractSection("Values");
    Seed seed;
    seed.values = {{kHkeyCurrentUser, section, "Text", kRegSz, TextBytes(std::string("abcdef") + '\0')},
                   {kHkeyCurrentUser, section, "TextLonger", kRegDword, Bytes({1, 0, 0, 0})}};
    seed.keys = {{kHkeyCurrentUser, ContractSection("Values\\MixedCase")}};
    return seed;
}

class BackendReadContractTest : public HarnessTest<HarnessKind>
{
protected:
    RegistryHandle open(const std::string& section,
                        std::uint32_t access = kKeyQueryValue | kKeyEnumerateSubKeys)
    {
        RegistryHandle key = 0;
        EXPECT_EQ(m_backend->openKey(RootHandle(kHkeyCurrentUser), section, 0, access, key), kErrorSuccess);
        return key;
    }
};

TEST_P(BackendReadContractTest, QueryWithNoRoomReportsMoreDataTypeAndSize)
{
    prepare(GetParam(), ContractSeed());
    const RegistryHandle key = open(ContractSection("Values"));
    std::uint8_t scratch[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(m_backend->queryValue(key, "Text", &type, scratch, &size), kErrorMoreData);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 7u);
    char text[7] = {};
    size = sizeof text;
    EXPECT_EQ(m_backend->queryValue(key, "TEXT", nullptr, reinterpret_cast<std::uint8_t*>(text), &size),
              kErrorSuccess);
    EXPECT_EQ(std::string(text, 6), "abcdef");
    EXPECT_EQ(m_backend->queryValue(key, "Missing", &type, scratch, &size), kErrorFileNotFound);
    EXPECT_EQ(m_backend->closeKey(key), kErrorSuccess);
}

TEST_P(BackendReadContractTest, EnumerationsEndWithNoMoreItems)
{
    prepare(GetParam(), ContractSeed());
    const RegistryHandle key = open(ContractSection("Values"));
    char name[256] = {};
    EXPECT_EQ(m_backend->enumKey(key, 0, name, sizeof name), kErrorSuccess);
    EXPECT_STREQ(name, "MixedCase");
    EXPECT_EQ(m_backend->enumKey(key, 1, name, sizeof name), kErrorNoMoreItems);
    KeyInfo info;
    EXPECT_EQ(m_backend->queryInfoKey(key, info), kErrorSuccess);
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLength, 10u);
    EXPECT_EQ(info.subKeys, 1u);
    std::uint32_t length = 5;
    EXPECT_EQ(m_backend->enumValue(key, 0, name, length, nullptr, nullptr, nullptr), kErrorSuccess);
    EXPECT_EQ(length, 4u);
    length = 5;
    // "TextLonger" does not fit into five characters. Wine lists values sorted by name, Windows
    // in the order they were created; the two names here are in both orders alike.
    EXPECT_EQ(m_backend->enumValue(key, 1, name, length, nullptr, nullptr, nullptr), kErrorMoreData);
    length = sizeof name;
    EXPECT_EQ(m_backend->enumValue(key, 2, name, length, nullptr, nullptr, nullptr), kErrorNoMoreItems);
    EXPECT_EQ(m_backend->closeKey(key), kErrorSuccess);
}

TEST_P(BackendReadContractTest, OnlyTheLocalComputerConnects)
{
    prepare(GetParam(), ContractSeed());
    RegistryHandle remote = 0;
    EXPECT_NE(m_backend->connectRegistry("\\\\zorvek-no-such-host", RootHandle(kHkeyLocalMachine), remote),
              kErrorSuccess);
    RegistryHandle local = 0;
    ASSERT_EQ(m_backend->connectRegistry("", RootHandle(kHkeyCurrentUser), local), kErrorSuccess);
    RegistryHandle key = 0;
    EXPECT_EQ(m_backend->openKey(local, ContractSection("Values"), 0, kKeyQueryValue, key), kErrorSuccess);
    EXPECT_EQ(m_backend->closeKey(key), kErrorSuccess);
    EXPECT_EQ(m_backend->closeKey(local), kErrorSuccess);
}

struct ExpandCase
{
    const char* name;
    std::string source;
    std::string expanded;
};

TEST_P(BackendReadContractTest, ExpandsKnownVariablesOnly)
{
    prepare(GetParam(), ContractSeed());
    const std::string value = kTestVariableValue;
    const ExpandCase cases[] = {
        {"known", "%ZORVEK_TEST_DIR%\\a", value + "\\a"},
        {"any case", "x%zorvek_test_dir%", "x" + value},
        {"unknown kept", "%ZORVEK_UNSET_VARIABLE%", "%ZORVEK_UNSET_VARIABLE%"},
        {"unknown then known", "%ZORVEK_UNSET_VARIABLE%%ZORVEK_TEST_DIR%", "%ZORVEK_UNSET_VARIABLE%" + value},
        {"two percents", "%%", "%%"},
        {"lone percent", "100%", "100%"},
        {"no references", "plain", "plain"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        const std::uint32_t needed = m_backend->expandEnvironmentStrings(c.source, nullptr, 0);
        ASSERT_GE(needed, c.expanded.size() + 1) << c.name;
        std::string buffer(needed, '\0');
        EXPECT_NE(m_backend->expandEnvironmentStrings(c.source, buffer.data(), needed), 0u) << c.name;
        EXPECT_EQ(buffer.substr(0, buffer.find('\0')), c.expanded) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, BackendReadContractTest, ::testing::ValuesIn(ReadHarnesses()),
                         HarnessName);

class BackendWriteContractTest : public HarnessTest<HarnessKind>
{
};

TEST_P(BackendWriteContractTest, NamesKeepTheirCaseAndMatchInAnyCase)
{
    auto backend = prepare(GetParam());
    RegistryHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(backend->createKey(RootHandle(kHkeyCurrentUser), ContractSection("CaseKey"), 0, kKeyAllSpecific,
                                 key, &disposition),
              kErrorSuccess);
    EXPECT_EQ(disposition, kRegCreatedNewKey);
    const std::uint8_t data[] = {'x', 0};
    EXPECT_EQ(backend->setValue(key, "MixedName", kRegSz, data, sizeof data), kErrorSuccess);
    EXPECT_EQ(backend->setValue(key, "MIXEDNAME", kRegSz, data, sizeof data), kErrorSuccess);
    char name[32] = {};
    std::uint32_t length = sizeof name;
    EXPECT_EQ(backend->enumValue(key, 0, name, length, nullptr, nullptr, nullptr), kErrorSuccess);
    EXPECT_STREQ(name, "MixedName");
    length = sizeof name;
    EXPECT_EQ(backend->enumValue(key, 1, name, length, nullptr, nullptr, nullptr), kErrorNoMoreItems);
    EXPECT_EQ(backend->closeKey(key), kErrorSuccess);
    ASSERT_EQ(backend->createKey(RootHandle(kHkeyCurrentUser), ContractSection("CASEKEY"), 0, kKeyAllSpecific,
                                 key, &disposition),
              kErrorSuccess);
    EXPECT_EQ(disposition, kRegOpenedExistingKey);
    EXPECT_EQ(backend->closeKey(key), kErrorSuccess);
}

TEST_P(BackendWriteContractTest, KeyWithSubkeysIsNotDeleted)
{
    auto backend = prepare(GetParam(), {{{kHkeyCurrentUser, ContractSection("Tree\\Leaf")}}, {}});
    EXPECT_EQ(backend->deleteKey(RootHandle(kHkeyCurrentUser), ContractSection("Tree")), kErrorAccessDenied);
    EXPECT_EQ(backend->deleteKey(RootHandle(kHkeyCurrentUser), ContractSection("Tree\\Nothing")),
              kErrorFileNotFound);
    EXPECT_EQ(backend->deleteKey(RootHandle(kHkeyCurrentUser), ContractSection("Tree\\Leaf")), kErrorSuccess);
    EXPECT_EQ(backend->deleteKey(RootHandle(kHkeyCurrentUser), ContractSection("Tree")), kErrorSuccess);
}

TEST_P(BackendWriteContractTest, ClassesRootWritesGoToMachineClasses)
{
    // A new key under HKEY_CLASSES_ROOT is stored in HKLM\Software\Classes.
    auto backend = prepare(GetParam());
    RegistryHandle key = 0;
    const std::string cls = std::string(kTestClassPrefix) + "ContractNew";
    ASSERT_EQ(backend->createKey(RootHandle(kHkeyClassesRoot), cls, 0, kKeyAllSpecific, key, nullptr),
              kErrorSuccess);
    const std::uint8_t data[] = {'m', 0};
    EXPECT_EQ(backend->setValue(key, "", kRegSz, data, sizeof data), kErrorSuccess);
    EXPECT_EQ(backend->closeKey(key), kErrorSuccess);
    EXPECT_TRUE(ReadStored(*backend, kHkeyLocalMachine, "Software\\Classes\\" + cls, ""));
    EXPECT_FALSE(KeyPresent(*backend, kHkeyCurrentUser, "Software\\Classes\\" + cls));
}

INSTANTIATE_TEST_SUITE_P(Backends, BackendWriteContractTest, ::testing::ValuesIn(WritableHarnesses()),
                         HarnessName);

} // namespace
} // namespace zorvek::test
