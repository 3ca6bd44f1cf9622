// Reading Value on every backend: the stored type decides what the read yields.
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "registry/ReadRegistryText.h"
#include "registry/cRegistry.h"

namespace zorvek::test {
namespace {

using namespace reg;

constexpr std::int32_t kUntouchedType = 99;

struct ReadCase
{
    std::string name;
    std::int32_t root = kHkeyCurrentUser;
    std::string section;
    std::string valueName;
    Seed seed;
    std::int32_t presetType = kUntouchedType;
    RegistryValue defaultValue;
    std::int32_t expectedType = 0;
    RegistryValue expected;
    // Where HKEY_CLASSES_ROOT shows only the machine's classes (Wine's advapi32).
    std::optional<std::pair<std::int32_t, RegistryValue>> withoutUserClasses;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string ReadSection(const std::string& caseName)
{
    return std::string(kTestRoot) + "\\Read\\" + caseName;
}

// A value named "Value" stored with the given type and bytes below the case's own key.
ReadCase Stored(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data,
                RegistryValue expected)
{
    ReadCase c;
    c.name = name;
    c.section = ReadSection(name);
    c.valueName = "Value";
    c.seed.values.push_back({kHkeyCurrentUser, c.section, "Value", type, std::move(data)});
    c.expectedType = static_cast<std::int32_t>(type);
    c.expected = std::move(expected);
    return c;
}

std::vector<ReadCase> ReadCases()
{
    using Bytes8 = std::vector<std::uint8_t>;
    std::vector<ReadCase> cases{
        Stored("RegSzAbc", kRegSz, TextBytes(std::string("abc", 4)), std::string("abc")),
        Stored("RegSzEmpty", kRegSz, Bytes({0}), std::string()),
        // The last stored byte is dropped even when it is not a terminator.
        Stored("RegSzWithoutTerminatorLosesLastCharacter", kRegSz, TextBytes("abc"), std::string("ab")),
        Stored("RegSzOfNoBytesReadsEmpty", kRegSz, {}, std::string()),
        Stored("RegMultiSzAAndBAsFourCharacters", kRegMultiSz, Bytes({'a', 0, 'b', 0, 0}),
               std::string("a\0b\0", 4)),
        Stored("RegExpandSzExpandsVariable", kRegExpandSz,
               TextBytes(std::string("%ZORVEK_TEST_DIR%\\x") + '\0'),
               std::string(kTestVariableValue) + "\\x"),
        Stored("RegExpandSzKeepsUnknownVariable", kRegExpandSz,
               TextBytes(std::string("%ZORVEK_UNSET_VARIABLE%\\y") + '\0'),
               std::string("%ZORVEK_UNSET_VARIABLE%\\y")),
        Stored("RegExpandSzKeepsLonePercent", kRegExpandSz, TextBytes(std::string("100%") + '\0'),
               std::string("100%")),
        Stored("RegDword258", kRegDword, Bytes({0x02, 0x01, 0, 0}), std::int32_t{258}),
        Stored("RegDwordAllOnesIsMinusOne", kRegDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), std::int32_t{-1}),
        Stored("RegDwordBigEndian258", kRegDwordBigEndian, Bytes({0, 0, 0x01, 0x02}), std::int32_t{258}),
        Stored("RegBinaryOfThreeBytesReadsFour", kRegBinary, Bytes({1, 2, 3}), Bytes8{1, 2, 3, 0}),
        Stored("RegBinaryEmptyReadsOneZero", kRegBinary, {}, Bytes8{0}),
        Stored("RegNoneReadsAsBytes", kRegNone, Bytes({0x0A}), Bytes8{0x0A, 0}),
        Stored("RegQwordReadsAsBytes", kRegQword, Bytes({1, 0, 0, 0, 0, 0, 0, 0}),
               Bytes8{1, 0, 0, 0, 0, 0, 0, 0, 0}),
        Stored("QuotesAndBackslashes", kRegSz, TextBytes(std::string("q\"uo\\te") + '\0'),
               std::string("q\"uo\\te")),
        Stored("ControlCharacters", kRegSz,
               TextBytes(std::string("a\tb\x01"
                                     "7\x02"
                                     "c\n",
                                     9) +
                         '\0'),
               std::string("a\tb\x01"
                           "7\x02"
                           "c\n",
                           9)),
    };

    ReadCase unnamed =
        Stored("UnnamedValue", kRegSz, TextBytes(std::string("def") + '\0'), std::string("def"));
    unnamed.valueName.clear();
    unnamed.seed.values[0].name.clear();
    cases.push_back(unnamed);

    ReadCase quotedName =
        Stored("QuotedValueName", kRegSz, TextBytes(std::string("x") + '\0'), std::string("x"));
    quotedName.valueName = quotedName.seed.values[0].name = "na\"me\\x";
    cases.push_back(quotedName);

    // The game launch reads InstallPath below HKEY_LOCAL_MACHINE, names in any case.
    ReadCase installPath =
        Stored("InstallPathAnyCase", kRegSz, TextBytes(std::string("C:\\Games\\CoD4") + '\0'),
               std::string("C:\\Games\\CoD4"));
    installPath.root = installPath.seed.values[0].root = kHkeyLocalMachine;
    installPath.seed.values[0].section = installPath.section + "\\Call of Duty 4";
    installPath.seed.values[0].name = "InstallPath";
    installPath.section = ReadSection("INSTALLPATHANYCASE") + "\\call of duty 4";
    installPath.valueName = "INSTALLPATH";
    cases.push_back(installPath);

    ReadCase missingValue;
    missingValue.name = "MissingValueGivesDefault";
    missingValue.section = ReadSection(missingValue.name);
    missingValue.valueName = "Nothing";
    missingValue.seed.keys.push_back({kHkeyCurrentUser, missingValue.section});
    missingValue.presetType = static_cast<std::int32_t>(kRegDword);
    missingValue.defaultValue = std::string("dflt");
    missingValue.expectedType = static_cast<std::int32_t>(kRegDword);
    missingValue.expected = std::string("dflt");
    cases.push_back(missingValue);

    ReadCase missingKey = missingValue;
    missingKey.name = "MissingKeyGivesEmptyDefault";
    missingKey.section = ReadSection(missingKey.name);
    missingKey.seed = {};
    missingKey.defaultValue = RegistryValue();
    missingKey.expected = RegistryValue();
    cases.push_back(missingKey);

    ReadCase noRoot = missingValue;
    noRoot.name = "NoRootGivesDefault";
    noRoot.root = 0;
    noRoot.seed = {};
    cases.push_back(noRoot);

    // The browser lookup reads a command below HKEY_CLASSES_ROOT, which shows the machine's
    // classes and, over them, the user's.
    const auto classes = [](const std::string& name, bool user, bool machine) {
        ReadCase c;
        c.name = name;
        c.root = kHkeyClassesRoot;
        c.section = kTestClassPrefix + name + "\\shell\\open\\command";
        if (machine)
            c.seed.values.push_back({kHkeyLocalMachine, "Software\\Classes\\" + c.section, "", kRegSz,
                                     TextBytes(std::string("\"C:\\machine.exe\" \"%1\"") + '\0')});
        if (user)
            c.seed.values.push_back({kHkeyCurrentUser, "Software\\Classes\\" + c.section, "", kRegSz,
                                     TextBytes(std::string("\"C:\\user.exe\" \"%1\"") + '\0')});
        c.expectedType = static_cast<std::int32_t>(kRegSz);
        c.expected = std::string(user ? "\"C:\\user.exe\" \"%1\"" : "\"C:\\machine.exe\" \"%1\"");
        // Wine's advapi32 differs from Windows here: its HKEY_CLASSES_ROOT is the machine's
        // classes alone. The Wine prefix reader follows Windows.
        if (machine)
            c.withoutUserClasses = {static_cast<std::int32_t>(kRegSz),
                                    std::string("\"C:\\machine.exe\" \"%1\"")};
        else
            c.withoutUserClasses = {kUntouchedType, RegistryValue()};
        return c;
    };
    cases.push_back(classes("ClassesRootFromMachine", false, true));
    cases.push_back(classes("ClassesRootFromUser", true, false));
    cases.push_back(classes("ClassesRootUserOverMachine", true, true));
    return cases;
}

class ValueReadTest : public HarnessTest<std::tuple<HarnessKind, ReadCase>>
{
protected:
    std::pair<std::int32_t, RegistryValue> Expected(const ReadCase& c) const
    {
        if (c.withoutUserClasses && !m_harness->mergesUserClasses())
            return *c.withoutUserClasses;
        return {c.expectedType, c.expected};
    }
};

TEST_P(ValueReadTest, YieldsStoredValueByType)
{
    const auto& [kind, c] = GetParam();
    cRegistry registry(prepare(kind, c.seed));
    registry.SetClassKey(c.root);
    registry.SetSectionKey(c.section);
    registry.SetValueKey(c.valueName);
    registry.SetValueType(c.presetType);
    registry.SetDefault(c.defaultValue);
    const auto [expectedType, expected] = Expected(c);

    EXPECT_EQ(registry.Value(), expected);
    EXPECT_EQ(registry.ValueType(), expectedType);
    // A second read gives the same: the game launch reads twice.
    EXPECT_EQ(registry.Value(), expected);
}

TEST_P(ValueReadTest, ValueExSetsFivePropertiesAndReads)
{
    const auto& [kind, c] = GetParam();
    cRegistry registry(prepare(kind, c.seed));
    registry.SetValueType(c.presetType);
    const auto [expectedType, expected] = Expected(c);

    EXPECT_EQ(registry.ValueEx(c.root, c.section, c.valueName, c.presetType, c.defaultValue), expected);
    EXPECT_EQ(registry.ClassKey(), c.root);
    EXPECT_EQ(registry.SectionKey(), c.section);
    EXPECT_EQ(registry.ValueKey(), c.valueName);
    EXPECT_EQ(registry.ValueType(), expectedType);
    EXPECT_EQ(registry.Default(), c.defaultValue);
}

TEST_P(ValueReadTest, TextReaderGivesTheTextOrEmptyWhateverTheInstanceHeld)
{
    const auto& [kind, c] = GetParam();
    cRegistry registry(prepare(kind, c.seed));
    // What an earlier user may have left on a shared instance.
    registry.SetValueType(static_cast<std::int32_t>(kRegBinary));
    registry.SetDefault(std::string("left by an earlier user"));
    const auto [expectedType, expected] = Expected(c);
    const std::string* text = std::get_if<std::string>(&expected);
    // A read that finds nothing leaves the type it was given.
    const bool missing = expectedType == c.presetType;

    EXPECT_EQ(ReadRegistryText(registry, c.root, c.section, c.valueName),
              text && !missing ? *text : std::string());
    EXPECT_EQ(registry.ClassKey(), c.root);
    EXPECT_EQ(registry.SectionKey(), c.section);
    EXPECT_EQ(registry.ValueKey(), c.valueName);
    // The read asks for text; a value that is found reports the type it is stored with.
    EXPECT_EQ(registry.ValueType(), missing ? static_cast<std::int32_t>(kRegSz) : expectedType);
    EXPECT_EQ(registry.Default(), RegistryValue());
}

INSTANTIATE_TEST_SUITE_P(Backends, ValueReadTest,
                         ::testing::Combine(::testing::ValuesIn(ReadHarnesses()),
                                            ::testing::ValuesIn(ReadCases())),
                         CaseName<ReadCase>);

} // namespace
} // namespace zorvek::test
