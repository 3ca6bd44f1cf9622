// The levelshot file of a server's map, and the map names that must not name a file at all.
#include "query/Levelshot.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

struct LevelshotCase
{
    const char* label;
    std::string gameFolder;
    std::string mapName;
    QString path; // relative to the levelshots folder; empty: no file is looked up
};

class LevelshotPathTest : public testing::TestWithParam<LevelshotCase>
{
};

TEST_P(LevelshotPathTest, ComposesTheFileInsideTheGameFolderOnly)
{
    const LevelshotCase& c = GetParam();
    const QString path = LevelshotPath(QStringLiteral("/opt/zorvek/levelshots"), c.gameFolder, c.mapName);
    if (c.path.isEmpty())
        EXPECT_TRUE(path.isEmpty()) << path.toStdString();
    else
        EXPECT_EQ(path, QStringLiteral("/opt/zorvek/levelshots/") + c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, LevelshotPathTest,
    testing::Values(
        LevelshotCase{"Usual", "cod4\\", "mp_crash", QStringLiteral("cod4/mp_crash.jpg")},
        LevelshotCase{"SharedFolder", "cod1-coduo\\", "mp_carentan",
                      QStringLiteral("cod1-coduo/mp_carentan.jpg")},
        LevelshotCase{"CaseAsSent", "cod2\\", "MP_Toujane", QStringLiteral("cod2/MP_Toujane.jpg")},
        LevelshotCase{"EmptyMapName", "cod4\\", "", QStringLiteral("cod4/.jpg")},
        LevelshotCase{"ColourCodesKept", "cod4\\", "mp_^1crash", QStringLiteral("cod4/mp_^1crash.jpg")},
        LevelshotCase{"CzechLettersDecoded", "codwaw\\", "mp_\xe8\x65rn\xe1",
                      QStringLiteral("codwaw/mp_černá.jpg")},
        LevelshotCase{"ParentFolder", "cod4\\", "..", QString()},
        LevelshotCase{"SameFolder", "cod4\\", ".", QString()},
        LevelshotCase{"SlashLeadsOut", "cod4\\", "../../etc/passwd", QString()},
        LevelshotCase{"BackslashLeadsOut", "cod4\\", "..\\cod2\\mp_toujane", QString()},
        LevelshotCase{"AbsolutePath", "cod4\\", "/etc/passwd", QString()},
        LevelshotCase{"NulByte", "cod4\\", std::string("mp_crash\0.png", 13), QString()}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace zorvek
