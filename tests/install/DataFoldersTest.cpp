// Where the program looks for its levelshots and makes its private folder: the portable
// layout first, then the user's data folder, then the installed one found from the program's
// place; real folders in a scratch root.
#include "common/DataFolders.h"

#include <ostream>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

// Paths below the scratch root; "file:" makes a file instead of a folder.
constexpr const char* kProgram = "usr/bin";
constexpr const char* kBeside = "usr/bin/levelshots";
constexpr const char* kInstalled = "usr/share/zorvek/levelshots";
constexpr const char* kDataHome = "data/zorvek/levelshots";
constexpr const char* kHomeDefault = "home/.local/share/zorvek/levelshots";

struct LookupCase
{
    const char* name;
    std::vector<const char*> made;
    const char* dataHome; // XDG_DATA_HOME: "@" stands for the scratch root
    const char* home;     // HOME
    const char* expected; // below the root; "" for none
};

void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << c.name;
}

class LevelshotsLookup : public ::testing::TestWithParam<LookupCase>
{
protected:
    // Relative texts would be taken from the working folder: it is the root, where the
    // folders they would name exist.
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(root.path()));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QString below(const char* path) const { return root.filePath(QString::fromLatin1(path)); }

    // "@" at the start of an environment text stands for the scratch root.
    QString environmentText(const char* text) const
    {
        const QString value = QString::fromLatin1(text);
        return value.startsWith(QLatin1Char('@')) ? root.path() + value.mid(1) : value;
    }

    QTemporaryDir root;
    QString previous;
};

TEST_P(LevelshotsLookup, TakesTheFirstFolderThatExists)
{
    const LookupCase& c = GetParam();
    ASSERT_TRUE(QDir().mkpath(below(kProgram)));
    for (const char* entry : c.made) {
        const QString path = QString::fromLatin1(entry);
        if (path.startsWith(QStringLiteral("file:"))) {
            QFile file(root.filePath(path.mid(5)));
            ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
        } else {
            ASSERT_TRUE(QDir().mkpath(root.filePath(path)));
        }
    }
    const DataEnvironment environment{environmentText(c.dataHome), environmentText(c.home), QString(),
                                      QString()};

    const QString found = FindLevelshotsFolder(below(kProgram), environment);

    EXPECT_EQ(found, *c.expected ? below(c.expected) : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LevelshotsLookup,
    ::testing::Values(
        LookupCase{
            "BesideTheProgramComesFirst", {kBeside, kDataHome, kInstalled}, "@/data", "@/home", kBeside},
        LookupCase{
            "UsersFolderWinsOverTheInstalledOne", {kDataHome, kInstalled}, "@/data", "@/home", kDataHome},
        LookupCase{"DataHomeDefaultsToTheHomeFolder", {kHomeDefault, kInstalled}, "", "@/home", kHomeDefault},
        LookupCase{
            "RelativeDataHomeCountsAsUnset", {kHomeDefault, kDataHome}, "data", "@/home", kHomeDefault},
        LookupCase{
            "SetDataHomeHidesTheHomeDefault", {kHomeDefault, kInstalled}, "@/data", "@/home", kInstalled},
        LookupCase{"RelativeHomeIsIgnored", {kHomeDefault, kInstalled}, "", "home", kInstalled},
        LookupCase{"InstalledFolderFoundFromTheProgramsPlace", {kInstalled}, "", "", kInstalled},
        LookupCase{
            "AFileNamedLevelshotsIsNoFolder", {"file:usr/bin/levelshots", kInstalled}, "", "", kInstalled},
        LookupCase{"NoneExists", {"usr/share/zorvek", "data/zorvek"}, "@/data", "@/home", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevelshotsCandidates, AreBesideThenTheUsersThenTheInstalledOne)
{
    const QStringList candidates = LevelshotsCandidates(
        QStringLiteral("/opt/z/bin"), DataEnvironment{QString(), QStringLiteral("/h"), {}, {}});
    EXPECT_EQ(candidates, (QStringList{QStringLiteral("/opt/z/bin/levelshots"),
                                       QStringLiteral("/h/.local/share/zorvek/levelshots"),
                                       QStringLiteral("/opt/z/share/zorvek/levelshots")}));
}

struct RunFolderCase
{
    const char* name;
    const char* runtimeDir; // "@" stands for an existing folder
    bool givesRuntimeDir;
};

void PrintTo(const RunFolderCase& c, std::ostream* os)
{
    *os << c.name;
}

class RunFolderPlace : public ::testing::TestWithParam<RunFolderCase>
{
};

TEST_P(RunFolderPlace, IsTheRuntimeFolderElseTheTemporaryOne)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString text = QString::fromLatin1(GetParam().runtimeDir);
    const QString given = text.startsWith(QLatin1Char('@')) ? runtime.path() + text.mid(1) : text;

    const QString base = RunFolderBase(DataEnvironment{QString(), QString(), given, QString()});

    EXPECT_EQ(base, GetParam().givesRuntimeDir ? runtime.path() : QDir::tempPath());
}

INSTANTIATE_TEST_SUITE_P(Environments, RunFolderPlace,
                         ::testing::Values(RunFolderCase{"RuntimeFolder", "@", true},
                                           RunFolderCase{"Unset", "", false},
                                           RunFolderCase{"RelativePath", "run/user", false},
                                           RunFolderCase{"MissingFolder", "@/gone", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvek
