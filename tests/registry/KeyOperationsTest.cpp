// The operations on the section key: existence, creation, deletion and the two enumerations.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "registry/cRegistry.h"

namespace zorvek::test {
namespace {

using namespace reg;

constexpr long kOperationError = 26001;

std::string KeySection(const std::string& name)
{
    return std::string(kTestRoot) + "\\Keys\\" + name;
}

SeedValue Text(std::int32_t root, const std::string& section, const std::string& name,
               const std::string& text)
{
    return {root, section, name, kRegSz, TextBytes(text + '\0')};
}

// The seed of the read-only cases: a few keys and values below HKEY_CURRENT_USER.
Seed KeySeed()
{
    Seed seed;
    const std::string values = KeySection("Values");
    seed.values = {Text(kHkeyCurrentUser, values, "", "default"),
                   Text(kHkeyCurrentUser, values, "Alpha", "a"), Text(kHkeyCurrentUser, values, "Beta", "b"),
                   Text(kHkeyCurrentUser, values, "Gamma", "c"),
                   Text(kHkeyCurrentUser, KeySection("LongValueName"), std::string(300, 'v'), "long")};
    seed.keys = {{kHkeyCurrentUser, KeySection("Sections\\Alpha")},
                 {kHkeyCurrentUser, KeySection("Sections\\beta")},
                 {kHkeyCurrentUser, KeySection("Sections\\Gamma\\Inner")},
                 {kHkeyCurrentUser, KeySection("LongSection\\A")},
                 {kHkeyCurrentUser, KeySection("LongSection\\B" + std::string(254, 'x'))},
                 {kHkeyCurrentUser, KeySection("LongSection\\C")},
                 {kHkeyCurrentUser, KeySection("Parent\\Child")}};
    return seed;
}

cRegistry At(std::shared_ptr<RegistryBackend> backend, std::int32_t root, const std::string& section,
             const std::string& valueKey = std::string())
{
    cRegistry registry(std::move(backend));
    registry.SetClassKey(root);
    registry.SetSectionKey(section);
    registry.SetValueKey(valueKey);
    return registry;
}

// Cases that hold on every backend, the read-only Wine prefix reader included.
class KeyReadTest : public HarnessTest<HarnessKind>
{
};

TEST_P(KeyReadTest, KeyExistsAnswersWhetherTheKeyOpens)
{
    auto backend = prepare(GetParam(), KeySeed());
    EXPECT_TRUE(At(backend, kHkeyCurrentUser, KeySection("Values")).KeyExists());
    EXPECT_TRUE(At(backend, kHkeyCurrentUser, KeySection("VALUES")).KeyExists());
    EXPECT_FALSE(At(backend, kHkeyCurrentUser, KeySection("Missing")).KeyExists());
    EXPECT_FALSE(At(backend, 0, KeySection("Values")).KeyExists());
}

TEST_P(KeyReadTest, EnumerateValuesListsNamesInRegistryOrder)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("Values"));
    std::vector<std::string> names{"stale"};
    std::int32_t count = -1;
    EXPECT_TRUE(registry.EnumerateValues(names, count));
    EXPECT_EQ(names, (std::vector<std::string>{"", "Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(count, 4);
}

TEST_P(KeyReadTest, EnumerateValuesFitsTheLongestName)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("LongValueName"));
    std::vector<std::string> names;
    std::int32_t count = 0;
    EXPECT_TRUE(registry.EnumerateValues(names, count));
    EXPECT_EQ(names, std::vector<std::string>{std::string(300, 'v')});
    EXPECT_EQ(count, 1);
}

TEST_P(KeyReadTest, EnumerateSectionsListsSubkeysSortedKeepingCase)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("Sections"));
    std::vector<std::string> names{"stale"};
    std::int32_t count = -1;
    EXPECT_TRUE(registry.EnumerateSections(names, count));
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    EXPECT_EQ(count, 3);
}

TEST_P(KeyReadTest, SubkeyNameOf255CharactersEndsEnumeration)
{
    // The name buffer holds 255 bytes, so a 255-character name does not fit with its terminator.
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("LongSection"));
    std::vector<std::string> names;
    std::int32_t count = 0;
    EXPECT_TRUE(registry.EnumerateSections(names, count));
    EXPECT_EQ(names, std::vector<std::string>{"A"});
    EXPECT_EQ(count, 1);
}

TEST_P(KeyReadTest, EnumerationsOfMissingKeyAreEmpty)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("Missing"));
    std::vector<std::string> names{"stale"};
    std::int32_t count = 7;
    EXPECT_TRUE(registry.EnumerateSections(names, count));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(count, 0);
    names = {"stale"};
    count = 7;
    EXPECT_TRUE(registry.EnumerateValues(names, count));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(count, 0);
}

TEST_P(KeyReadTest, ReadFromUnreachableComputerGivesDefault)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("Values"), "Alpha");
    registry.SetMachine("zorvek-no-such-host");
    registry.SetDefault(std::string("dflt"));
    registry.SetValueType(static_cast<std::int32_t>(kRegDword));
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("dflt")));
    EXPECT_EQ(registry.ValueType(), static_cast<std::int32_t>(kRegDword));
}

TEST_P(KeyReadTest, DeleteKeyFailureUnderClassesRootDescribesRootAsNumber)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyClassesRoot, "ZorvekTest.NoSuchClass");
    ExpectRegistryError([&] { registry.DeleteKey(); }, kOperationError, ErrorSource(),
                        "Failed to delete registry Key: '-2147483648',Section: 'ZorvekTest.NoSuchClass");
}

TEST_P(KeyReadTest, DeleteKeyWithSubkeysFails)
{
    auto backend = prepare(GetParam(), KeySeed());
    auto registry = At(backend, kHkeyCurrentUser, KeySection("Parent"));
    ExpectRegistryError([&] { registry.DeleteKey(); }, kOperationError, ErrorSource(),
                        "Failed to delete registry Key: '-2147483647',Section: '" + KeySection("Parent"));
    EXPECT_TRUE(KeyPresent(*backend, kHkeyCurrentUser, KeySection("Parent\\Child")));
}

TEST_P(KeyReadTest, DeleteValueOfMissingKeyFailsToOpen)
{
    auto registry = At(prepare(GetParam(), KeySeed()), kHkeyCurrentUser, KeySection("Missing"), "Alpha");
    ExpectRegistryError([&] { registry.DeleteValue(); }, kOperationError, ErrorSource(),
                        "Failed to open key '-2147483647',Section: '" + KeySection("Missing") +
                            "' for delete access");
}

TEST_P(KeyReadTest, CreateKeyFailureRaisesWithSection)
{
    auto registry = At(prepare(GetParam(), KeySeed()), 0, KeySection("NoRoot"));
    ExpectRegistryError([&] { registry.CreateKey(); }, kOperationError, ErrorSource(),
                        "Failed to create registry Key: '" + KeySection("NoRoot"));
}

INSTANTIATE_TEST_SUITE_P(Backends, KeyReadTest, ::testing::ValuesIn(ReadHarnesses()), HarnessName);

// Cases that change the registry.
class KeyWriteTest : public HarnessTest<HarnessKind>
{
};

TEST_P(KeyWriteTest, CreateKeyCreatesMissingParents)
{
    auto backend = prepare(GetParam());
    const std::string section = KeySection("Created\\One\\Two");
    EXPECT_FALSE(KeyPresent(*backend, kHkeyCurrentUser, KeySection("Created")));
    EXPECT_TRUE(At(backend, kHkeyCurrentUser, section).CreateKey());
    EXPECT_TRUE(KeyPresent(*backend, kHkeyCurrentUser, section));
    // Creating an existing key succeeds as well.
    EXPECT_TRUE(At(backend, kHkeyCurrentUser, section).CreateKey());
}

TEST_P(KeyWriteTest, DeleteKeyRemovesKeyWithoutSubkeys)
{
    auto backend = prepare(GetParam(), {{{kHkeyCurrentUser, KeySection("Doomed\\Leaf")}}, {}});
    EXPECT_TRUE(At(backend, kHkeyCurrentUser, KeySection("Doomed\\Leaf")).DeleteKey());
    EXPECT_FALSE(KeyPresent(*backend, kHkeyCurrentUser, KeySection("Doomed\\Leaf")));
    EXPECT_TRUE(KeyPresent(*backend, kHkeyCurrentUser, KeySection("Doomed")));
}

TEST_P(KeyWriteTest, DeleteValueRemovesOnlyThatValue)
{
    const std::string section = KeySection("DeleteValue");
    auto backend = prepare(
        GetParam(),
        {{}, {Text(kHkeyCurrentUser, section, "Keep", "k"), Text(kHkeyCurrentUser, section, "Drop", "d")}});
    EXPECT_TRUE(At(backend, kHkeyCurrentUser, section, "drop").DeleteValue());
    EXPECT_FALSE(ReadStored(*backend, kHkeyCurrentUser, section, "Drop"));
    EXPECT_TRUE(ReadStored(*backend, kHkeyCurrentUser, section, "Keep"));
}

TEST_P(KeyWriteTest, DeleteValueOfMissingValueFails)
{
    const std::string section = KeySection("DeleteMissingValue");
    auto registry =
        At(prepare(GetParam(), {{{kHkeyCurrentUser, section}}, {}}), kHkeyCurrentUser, section, "Nope");
    ExpectRegistryError([&] { registry.DeleteValue(); }, kOperationError, ErrorSource(),
                        "Failed to delete registry Key: '-2147483647',Section: '" + section + "',Key: 'Nope");
}

INSTANTIATE_TEST_SUITE_P(Backends, KeyWriteTest, ::testing::ValuesIn(WritableHarnesses()), HarnessName);

// The Wine prefix reader never writes: every change raises the class's documented error.
class ReadOnlyTest : public HarnessTest<HarnessKind>
{
};

std::vector<HarnessKind> ReadOnlyHarnesses()
{
    std::vector<HarnessKind> kinds;
    for (const auto& kind : ReadHarnesses()) {
        if (!kind.make()->writable())
            kinds.push_back(kind);
    }
    return kinds;
}

TEST_P(ReadOnlyTest, WritesAndDeletionsRaise)
{
    auto backend = prepare(GetParam(), KeySeed());
    const std::string section = KeySection("Values");
    auto registry = At(backend, kHkeyCurrentUser, section, "Alpha");
    registry.SetValueType(static_cast<std::int32_t>(kRegSz));
    ExpectRegistryError([&] { registry.SetValue(std::string("new")); }, kOperationError, ErrorSource(),
                        "Failed to set registry value Key: '-2147483647',Section: '" + section +
                            "',Key: 'Alpha' to value: 'new'");
    ExpectRegistryError([&] { registry.CreateKey(); }, kOperationError, ErrorSource(),
                        "Failed to create registry Key: '" + section);
    ExpectRegistryError([&] { registry.DeleteValue(); }, kOperationError, ErrorSource(),
                        "Failed to open key '-2147483647',Section: '" + section + "' for delete access");
    registry.SetSectionKey(KeySection("Parent\\Child"));
    ExpectRegistryError([&] { registry.DeleteKey(); }, kOperationError, ErrorSource(),
                        "Failed to delete registry Key: '-2147483647',Section: '" +
                            KeySection("Parent\\Child"));
    EXPECT_EQ(ReadStored(*backend, kHkeyCurrentUser, section, "Alpha"),
              (StoredValue{kRegSz, TextBytes(std::string("a") + '\0')}));
    EXPECT_TRUE(KeyPresent(*backend, kHkeyCurrentUser, KeySection("Parent\\Child")));
}

INSTANTIATE_TEST_SUITE_P(Backends, ReadOnlyTest, ::testing::ValuesIn(ReadOnlyHarnesses()), HarnessName);

// Machine keeps a computer name with a leading "\\"; two characters or fewer mean the local computer.
struct MachineCase
{
    const char* name;
    const char* given;
    const char* stored;
};

void PrintTo(const MachineCase& c, std::ostream* os)
{
    *os << c.name;
}

class MachineTest : public ::testing::TestWithParam<MachineCase>
{
};

TEST_P(MachineTest, NormalisesName)
{
    cRegistry registry(nullptr);
    registry.SetMachine("\\\\previous");
    registry.SetMachine(GetParam().given);
    EXPECT_EQ(registry.Machine(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Names, MachineTest,
    ::testing::Values(MachineCase{"PlainNameGetsBackslashes", "srv", "\\\\srv"},
                      MachineCase{"BackslashedNameUnchanged", "\\\\srv", "\\\\srv"},
                      MachineCase{"ThreeCharactersWithBackslashesUnchanged", "\\\\x", "\\\\x"},
                      MachineCase{"TwoCharactersMeanLocal", "ab", ""},
                      MachineCase{"TwoBackslashesMeanLocal", "\\\\", ""},
                      MachineCase{"EmptyMeansLocal", "", ""}),
    [](const ::testing::TestParamInfo<MachineCase>& info) { return std::string(info.param.name); });

TEST(RegistryProperties, StartEmpty)
{
    cRegistry registry(nullptr);
    EXPECT_EQ(registry.ClassKey(), 0);
    EXPECT_EQ(registry.SectionKey(), "");
    EXPECT_EQ(registry.ValueKey(), "");
    EXPECT_EQ(registry.ValueType(), 0);
    EXPECT_EQ(registry.Default(), RegistryValue());
    EXPECT_EQ(registry.Machine(), "");
}

TEST(RegistryProperties, ErrorSourceIsProgramName)
{
    EXPECT_EQ(ExecutableBaseName(), "registry_tests");
}

} // namespace
} // namespace zorvek::test
