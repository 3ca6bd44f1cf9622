// Registering a document type: the keys written under both class roots, and the extra verbs.
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "registry/cRegistry.h"

namespace zorvek::test {
namespace {

using namespace reg;

struct Entry
{
    std::string section; // below HKEY_CLASSES_ROOT
    std::string text;
    std::uint32_t type = kRegSz;
};

struct AssociationCase
{
    std::string name;
    std::string exePath;
    std::string openText;
    bool print = false;
    std::string printText;
    bool supportNew = false;
    std::string newText;
    bool install = false;
    std::string installText;
    std::int32_t iconIndex = 0;
    std::vector<Entry> expected;     // besides the extension and the class description
    std::vector<std::string> absent; // keys that must not be written
};

void PrintTo(const AssociationCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string ClassName(const std::string& caseName)
{
    return kTestClassPrefix + caseName;
}

std::string Extension(const std::string& caseName)
{
    return "zt-" + caseName;
}

// Checks one unnamed value under HKEY_CLASSES_ROOT and under HKLM\SOFTWARE\Classes.
void ExpectBothRoots(RegistryBackend& backend, const Entry& entry)
{
    const StoredValue expected{entry.type, TextBytes(entry.text + '\0')};
    EXPECT_EQ(ReadStored(backend, kHkeyClassesRoot, entry.section, ""), expected) << entry.section;
    EXPECT_EQ(ReadStored(backend, kHkeyLocalMachine, "SOFTWARE\\Classes\\" + entry.section, ""), expected)
        << entry.section;
}

void ExpectNeitherRoot(RegistryBackend& backend, const std::string& section)
{
    EXPECT_FALSE(KeyPresent(backend, kHkeyClassesRoot, section)) << section;
    EXPECT_FALSE(KeyPresent(backend, kHkeyLocalMachine, "SOFTWARE\\Classes\\" + section)) << section;
}

AssociationCase Make(const std::string& name, const std::string& exePath)
{
    AssociationCase c;
    c.name = name;
    c.exePath = exePath;
    return c;
}

std::vector<AssociationCase> AssociationCases()
{
    std::vector<AssociationCase> cases;
    {
        AssociationCase c = Make("DocumentedExample", "C:\\App\\app.exe");
        const std::string cls = ClassName(c.name);
        c.expected = {{cls + "\\shell\\open", "&Open"},
                      {cls + "\\shell\\open\\command", "\"C:\\App\\app.exe\" \"%1\""},
                      {cls + "\\DefaultIcon", "\"C:\\App\\app.exe\",0"}};
        c.absent = {cls + "\\shell\\print", cls + "\\shell\\add", cls + "\\shell\\new"};
        cases.push_back(c);
    }
    {
        AssociationCase c = Make("NoIconForMinusOne", "C:\\App\\app.exe");
        c.iconIndex = -1;
        const std::string cls = ClassName(c.name);
        c.expected = {{cls + "\\shell\\open\\command", "\"C:\\App\\app.exe\" \"%1\""}};
        c.absent = {cls + "\\DefaultIcon"};
        cases.push_back(c);
    }
    {
        AssociationCase c = Make("AllVerbsWithDefaultTexts", "C:\\App\\app.exe");
        c.print = c.supportNew = c.install = true;
        c.iconIndex = 12;
        const std::string cls = ClassName(c.name);
        c.expected = {{cls + "\\shell\\print", "&Print"},
                      {cls + "\\shell\\print\\command", "\"C:\\App\\app.exe\" /p \"%1\""},
                      {cls + "\\shell\\add", "&Install " + Extension(c.name)},
                      {cls + "\\shell\\add\\command", "\"C:\\App\\app.exe\" /a \"%1\""},
                      {cls + "\\shell\\new", "&New"},
                      {cls + "\\shell\\new\\command", "\"C:\\App\\app.exe\" /n \"%1\""},
                      {cls + "\\DefaultIcon", "\"C:\\App\\app.exe\",12"}};
        cases.push_back(c);
    }
    {
        AssociationCase c = Make("AllVerbsWithOwnTexts", "C:\\App\\app.exe");
        c.openText = "Open it";
        c.print = c.supportNew = c.install = true;
        c.printText = "Print it";
        c.newText = "Make new";
        c.installText = "Add it";
        const std::string cls = ClassName(c.name);
        c.expected = {{cls + "\\shell\\open", "Open it"},
                      {cls + "\\shell\\print", "Print it"},
                      {cls + "\\shell\\add", "Add it"},
                      {cls + "\\shell\\new", "Make new"}};
        cases.push_back(c);
    }
    {
        AssociationCase c = Make("QuotedPathKeptAfterTrimming", "  \"C:\\A B\\a.exe\"  ");
        const std::string cls = ClassName(c.name);
        c.expected = {{cls + "\\shell\\open\\command", "\"C:\\A B\\a.exe\" \"%1\""},
                      {cls + "\\DefaultIcon", "\"C:\\A B\\a.exe\",0"}};
        cases.push_back(c);
    }
    {
        AssociationCase c = Make("LeadingQuoteGetsTrailingOne", "\"C:\\a.exe");
        c.expected = {{ClassName(c.name) + "\\shell\\open\\command", "\"C:\\a.exe\" \"%1\""}};
        cases.push_back(c);
    }
    {
        AssociationCase c = Make("EmptyPathBecomesOneQuote", "");
        c.expected = {{ClassName(c.name) + "\\shell\\open\\command", "\" \"%1\""},
                      {ClassName(c.name) + "\\DefaultIcon", "\",0"}};
        cases.push_back(c);
    }
    {
        // An environment reference in the path makes the commands and the icon expandable.
        AssociationCase c = Make("ProgramFilesPathStoredExpandable", "%ProgramFiles%\\App\\app.exe");
        c.print = true;
        const std::string cls = ClassName(c.name);
        c.expected = {
            {cls + "\\shell\\open", "&Open"},
            {cls + "\\shell\\open\\command", "\"%ProgramFiles%\\App\\app.exe\" \"%1\"", kRegExpandSz},
            {cls + "\\shell\\print\\command", "\"%ProgramFiles%\\App\\app.exe\" /p \"%1\"", kRegExpandSz},
            {cls + "\\DefaultIcon", "\"%ProgramFiles%\\App\\app.exe\",0", kRegExpandSz}};
        cases.push_back(c);
    }
    return cases;
}

class AssociationTest : public HarnessTest<std::tuple<HarnessKind, AssociationCase>>
{
};

TEST_P(AssociationTest, WritesKeysUnderBothClassRoots)
{
    const auto& [kind, c] = GetParam();
    auto backend = prepare(kind);
    const std::string cls = ClassName(c.name);
    if (!m_harness->replaysWindowsRun()) {
        cRegistry registry(backend);
        registry.CreateEXEAssociation(c.exePath, cls, "Zorvek test document", Extension(c.name), c.openText,
                                      c.print, c.printText, c.supportNew, c.newText, c.install, c.installText,
                                      c.iconIndex);
        EXPECT_EQ(registry.ClassKey(), kHkeyLocalMachine);
        // The last key written: the icon, or else the command of the last verb in the table's order.
        const std::string last = c.iconIndex >= 0 ? "\\DefaultIcon"
                                 : c.supportNew   ? "\\shell\\new\\command"
                                 : c.install      ? "\\shell\\add\\command"
                                 : c.print        ? "\\shell\\print\\command"
                                                  : "\\shell\\open\\command";
        EXPECT_EQ(registry.SectionKey(), cls + last);
        EXPECT_EQ(registry.ValueKey(), "");
        EXPECT_EQ(registry.ValueType(), static_cast<std::int32_t>(kRegSz));
    }
    ExpectBothRoots(*backend, {"." + Extension(c.name), cls});
    ExpectBothRoots(*backend, {cls, "Zorvek test document"});
    for (const auto& entry : c.expected)
        ExpectBothRoots(*backend, entry);
    for (const auto& section : c.absent)
        ExpectNeitherRoot(*backend, section);
}

INSTANTIATE_TEST_SUITE_P(Backends, AssociationTest,
                         ::testing::Combine(::testing::ValuesIn(WriteHarnesses()),
                                            ::testing::ValuesIn(AssociationCases())),
                         CaseName<AssociationCase>);

// CreateAdditionalEXEAssociations after a class was registered.
class AdditionalAssociationTest : public HarnessTest<HarnessKind>
{
protected:
    // Registers the class (unless a Windows run did) and returns the class ready for more verbs.
    cRegistry registered(const std::string& caseName)
    {
        cRegistry registry(prepare(GetParam()));
        if (!m_harness->replaysWindowsRun()) {
            registry.CreateEXEAssociation("C:\\App\\app.exe", ClassName(caseName), "Zorvek test document",
                                          Extension(caseName), "", false, "", false, "", false, "", 0);
        }
        return registry;
    }
};

TEST_P(AdditionalAssociationTest, TripleWritesVerbAndCommandUnderBothRoots)
{
    const std::string cls = ClassName("AdditionalEdit");
    auto registry = registered("AdditionalEdit");
    if (!m_harness->replaysWindowsRun()) {
        registry.SetClassKey(kHkeyClassesRoot);
        registry.CreateAdditionalEXEAssociations(cls, {std::string("edit"), std::string("&Edit"),
                                                       std::string("notepad.exe \"%1\""), std::string("view"),
                                                       std::string("&View"), std::string("viewer.exe")});
    }
    ExpectBothRoots(*m_backend, {cls + "\\shell\\edit", "&Edit"});
    ExpectBothRoots(*m_backend, {cls + "\\shell\\edit\\command", "notepad.exe \"%1\""});
    ExpectBothRoots(*m_backend, {cls + "\\shell\\view", "&View"});
    ExpectBothRoots(*m_backend, {cls + "\\shell\\view\\command", "viewer.exe"});
}

TEST_P(AdditionalAssociationTest, FailedWriteSkipsOnlyItsStep)
{
    // A verb name longer than a key name may be makes its two writes fail; the next verb is written.
    const std::string cls = ClassName("AdditionalSkip");
    const std::string badVerb(300, 'b');
    auto registry = registered("AdditionalSkip");
    if (!m_harness->replaysWindowsRun()) {
        registry.SetClassKey(kHkeyClassesRoot);
        EXPECT_NO_THROW(registry.CreateAdditionalEXEAssociations(
            cls, {badVerb, std::string("&Bad"), std::string("bad.exe"), std::string("edit"),
                  std::string("&Edit"), std::string("edit.exe")}));
        EXPECT_EQ(registry.SectionKey(), cls + "\\shell\\edit\\command");
    }
    ExpectNeitherRoot(*m_backend, cls + "\\shell\\" + badVerb);
    ExpectBothRoots(*m_backend, {cls + "\\shell\\edit\\command", "edit.exe"});
}

TEST_P(AdditionalAssociationTest, ClassLookedForUnderMachineRootAfterRegistration)
{
    // CreateEXEAssociation leaves ClassKey at HKEY_LOCAL_MACHINE, where the class is not a key of its own.
    const std::string cls = ClassName("AdditionalUndefined");
    auto registry = registered("AdditionalUndefined");
    if (!m_harness->replaysWindowsRun()) {
        ExpectRegistryError(
            [&] {
                registry.CreateAdditionalEXEAssociations(
                    cls, {std::string("edit"), std::string("&Edit"), std::string("edit.exe")});
            },
            -2147194451, ErrorSource(),
            "Error - attempt to create additional associations before class defined.");
    }
    ExpectNeitherRoot(*m_backend, cls + "\\shell\\edit");
}

TEST_P(AdditionalAssociationTest, ItemsNotInTriplesRaise)
{
    const std::string cls = ClassName("AdditionalTwoItems");
    auto registry = registered("AdditionalTwoItems");
    if (!m_harness->replaysWindowsRun()) {
        registry.SetClassKey(kHkeyClassesRoot);
        ExpectRegistryError(
            [&] {
                registry.CreateAdditionalEXEAssociations(cls, {std::string("edit"), std::string("&Edit")});
            },
            -2147194452, ErrorSource(),
            "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    }
    ExpectNeitherRoot(*m_backend, cls + "\\shell\\edit");
}

TEST_P(AdditionalAssociationTest, NoItemsWriteNothing)
{
    const std::string cls = ClassName("AdditionalNone");
    auto registry = registered("AdditionalNone");
    if (!m_harness->replaysWindowsRun()) {
        registry.SetClassKey(kHkeyClassesRoot);
        EXPECT_NO_THROW(registry.CreateAdditionalEXEAssociations(cls, {}));
    }
    std::vector<std::string> verbs;
    std::int32_t count = 0;
    cRegistry reader(m_backend);
    reader.SetClassKey(kHkeyClassesRoot);
    reader.SetSectionKey(cls + "\\shell");
    reader.EnumerateSections(verbs, count);
    EXPECT_EQ(verbs, std::vector<std::string>{"open"});
}

INSTANTIATE_TEST_SUITE_P(Backends, AdditionalAssociationTest, ::testing::ValuesIn(WriteHarnesses()),
                         HarnessName);

} // namespace
} // namespace zorvek::test
