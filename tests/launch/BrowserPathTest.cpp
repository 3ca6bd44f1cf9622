#include "launch/BrowserPath.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvek {
namespace {

struct CutCase
{
    const char* name;
    std::string command;
    std::string browserPath;
};

class BrowserPathFromCommandTest : public testing::TestWithParam<CutCase>
{
};

TEST_P(BrowserPathFromCommandTest, KeepsTheCommandUpToItsFirstExe)
{
    EXPECT_EQ(BrowserPathFromCommand(GetParam().command), GetParam().browserPath);
}

INSTANTIATE_TEST_SUITE_P(
    Cut, BrowserPathFromCommandTest,
    testing::Values(CutCase{"QuotedPathWithArguments",
                            "\"C:\\Program Files\\Web Browser\\browser.exe\" -url \"%1\"",
                            "C:\\Program Files\\Web Browser\\browser.exe"},
                    CutCase{"CapitalExeMatches", "C:\\PROGRA~1\\WEBBRO~1\\BROWSER.EXE -nohome",
                            "C:\\PROGRA~1\\WEBBRO~1\\BROWSER.EXE"},
                    CutCase{"MixedCaseExe", "C:\\b\\Browser.ExE %1", "C:\\b\\Browser.ExE"},
                    CutCase{"WithoutExeGivesEmpty", "C:\\Browsers\\browser.com -url %1", ""},
                    CutCase{"EmptyCommandGivesEmpty", "", ""},
                    CutCase{"OnlyTheFirstExeCounts", "C:\\x.exe.d\\b.exe %1", "C:\\x.exe"},
                    CutCase{"OnlyOneLeadingQuoteIsDropped", "\"\"C:\\b.exe\" %1", "\"C:\\b.exe"},
                    CutCase{"UnquotedPathWithoutArguments", "C:\\b.exe", "C:\\b.exe"},
                    CutCase{"QuoteAloneBeforeExe", "\".exe", ".exe"}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvek
