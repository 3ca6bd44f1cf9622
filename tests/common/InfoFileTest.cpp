// Reading the info file of the list host (the poster file: tests/install).
#include "common/InfoFile.h"

#include <gtest/gtest.h>

namespace zorvek {
namespace {

struct InfoCase
{
    const char* label;
    std::string text;
    bool genuine;
    double width = 0;
    int height = 0;
    std::string posterUrl{};
    std::string link{};
    std::string toolTip{};
};

void PrintTo(const InfoCase& c, std::ostream* os)
{
    *os << c.label;
}

class InfoFileReading : public ::testing::TestWithParam<InfoCase>
{
};

TEST_P(InfoFileReading, GivesTheFieldsOfTheLastGroup)
{
    const InfoCase& c = GetParam();
    const std::optional<InfoFile> info = ParseInfoFile(c.text);

    ASSERT_EQ(info.has_value(), c.genuine);
    if (!info)
        return;
    EXPECT_DOUBLE_EQ(info->InfoWidth, c.width);
    EXPECT_EQ(info->InfoHeight, c.height);
    EXPECT_EQ(info->PosterUrl, c.posterUrl);
    EXPECT_EQ(info->InfoLink, c.link);
    EXPECT_EQ(info->InfoToolTip, c.toolTip);
}

std::string Group(const std::string& width, const std::string& height, const std::string& sixth = "$$$&&&***")
{
    return width + ";\r\n" + height + ";\r\nhttp://host/p.jpg;\r\nhttp://link;\r\ntip;\r\n" + sixth + ";\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Info, InfoFileReading,
    ::testing::Values(
        InfoCase{
            "SixLineFile",
            "400;\r\n300;\r\nhttp://127.0.0.1:8780/zorvek/poster.jpg;\r\nhttp://zorvek.example.cz/akce;\r\n"
            "Klikni na plak\xE1t;\r\n$$$&&&***;\r\n",
            true, 400, 300, "http://127.0.0.1:8780/zorvek/poster.jpg", "http://zorvek.example.cz/akce",
            "Klikni na plak\xE1t"},
        InfoCase{"MissingMarkerIsNoInfoFile", Group("400", "300", "$$$&&&**"), false},
        InfoCase{"EmptyTextIsNoInfoFile", "", false},
        InfoCase{"ErrorPageIsNoInfoFile",
                 "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n<title>404 Not Found</title>", false},
        InfoCase{"MarkerMayStandInAnyField", "1;\r\n2;\r\nu;\r\nl;\r\nsee $$$&&&*** here;\r\nx;\r\n", true, 1,
                 2, "u", "l", "see $$$&&&*** here"},
        InfoCase{"SpacesOfFieldsAreKept", "400;\r\n300;\r\n url ;\r\n\tlink;\r\n tip ;\r\n$$$&&&***;\r\n",
                 true, 400, 300, " url ", "\tlink", " tip "},
        InfoCase{"HeightHalfRoundsDownToEven", Group("400", "300.5"), true, 400, 300, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"HeightHalfRoundsUpToEven", Group("400", "301.5"), true, 400, 302, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"HeightRoundsToNearest", Group("400", "300.51"), true, 400, 301, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"NegativeHalfRoundsToEven", Group("400", "-2.5"), true, 400, -2, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"WidthKeepsItsFraction", Group("400.75", "300"), true, 400.75, 300, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"NumbersAreReadFromTheStartOfTheField", Group(" 4e2px", "300 px"), true, 400, 300,
                 "http://host/p.jpg", "http://link", "tip"},
        InfoCase{"FieldWithoutANumberGivesZero", Group("wide", "high"), true, 0, 0, "http://host/p.jpg",
                 "http://link", "tip"},
        // Beyond the range of a double a number reads as 0, as everywhere.
        InfoCase{"WidthBeyondADoubleGivesZero", Group("1e999", "300"), true, 0, 300, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"WidthTooSmallForADoubleGivesZero", Group("1e-999", "300"), true, 0, 300,
                 "http://host/p.jpg", "http://link", "tip"},
        InfoCase{"HeightBeyondADoubleGivesZero", Group("400", "-1e999"), true, 400, 0, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"HeightBeyondSixteenBitsIsNoInfoFile", Group("400", "40000"), false},
        InfoCase{"HeightThatRoundsBeyondSixteenBitsIsNoInfoFile", Group("400", "32767.5"), false},
        InfoCase{"LargestHeight", Group("400", "-32768"), true, 400, -32768, "http://host/p.jpg",
                 "http://link", "tip"},
        InfoCase{"LastOfSeveralGroupsWins",
                 "100;\r\n50;\r\nfirst;\r\nfirst-link;\r\nfirst-tip;\r\n$$$&&&***;\r\n"
                 "640.5;\r\n480;\r\nsecond;\r\nsecond-link;\r\nsecond-tip;\r\nunused;\r\n",
                 true, 640.5, 480, "second", "second-link", "second-tip"},
        InfoCase{"LastFieldWithoutLineBreak", "400;\r\n300;\r\nu;\r\nl;\r\nt;\r\n$$$&&&***;", true, 400, 300,
                 "u", "l", "t"},
        InfoCase{"ExtraLineBreakAtTheEndIsIgnored", Group("400", "300") + "\r\n", false},
        InfoCase{"CutFileIsIgnored", "400;\r\n300;\r\nhttp://host/p.jpg;\r\n$$$&&&***", false},
        InfoCase{"FieldWithoutItsSemicolonIsIgnored", "400\r\n300;\r\nu;\r\nl;\r\nt;\r\n$$$&&&***;\r\n",
                 false},
        InfoCase{"IncompleteSecondGroupIsIgnored", Group("400", "300") + "500;\r\n", false}),
    [](const ::testing::TestParamInfo<InfoCase>& info) { return std::string(info.param.label); });

} // namespace
} // namespace zorvek
