// Reading a Wine prefix: every value form Wine writes, its escapes, and the views it keeps.
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "WineTestFiles.h"
#include "registry/WineRegistryBackend.h"
#include "registry/WineRegistryFile.h"
#include "registry/cRegistry.h"

namespace zorvek::test {
namespace {

using namespace reg;

const char* const kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";

// Lines as Wine 8 wrote them (checked against files of a prefix that wine itself filled).
struct FormCase
{
    const char* name;
    std::string line;
    std::string valueName;
    std::uint32_t type;
    std::vector<std::uint8_t> data; // as the byte-oriented functions hand it out
    std::string writerLine = line;  // what the test writer makes of name, type and data
};

void PrintTo(const FormCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<FormCase> FormCases()
{
    return {
        {"PlainString", "\"InstallPath\"=\"C:\\\\Games\\\\CoD4\"", "InstallPath", kRegSz,
         TextBytes(std::string("C:\\Games\\CoD4") + '\0')},
        {"DefaultValue", "@=\"deflt\"", "", kRegSz, TextBytes(std::string("deflt") + '\0')},
        {"EscapedQuotes", "\"na\\\"me\\\\x\"=\"q\\\"uo\\\\te\"", "na\"me\\x", kRegSz,
         TextBytes(std::string("q\"uo\\te") + '\0')},
        {"ExpandString", "\"exp\"=str(2):\"%TEMP%\\\\x\"", "exp", kRegExpandSz,
         TextBytes(std::string("%TEMP%\\x") + '\0')},
        {"MultiString", "\"multi\"=str(7):\"a\\0b\\0\"", "multi", kRegMultiSz, Bytes({'a', 0, 'b', 0, 0})},
        {"EmptyMultiString", "\"emptym\"=str(7):\"\"", "emptym", kRegMultiSz, Bytes({0})},
        {"Dword", "\"dw\"=dword:00000102", "dw", kRegDword, Bytes({2, 1, 0, 0})},
        {"BigEndianAsHex", "\"be\"=hex(5):02,01,00,00", "be", kRegDwordBigEndian, Bytes({2, 1, 0, 0})},
        {"Binary", "\"bin\"=hex:01,02,03", "bin", kRegBinary, Bytes({1, 2, 3})},
        {"EmptyBinary", "\"e\"=hex:", "e", kRegBinary, {}},
        {"Qword", "\"q\"=hex(b):05,00,00,00,00,00,00,00", "q", kRegQword, Bytes({5, 0, 0, 0, 0, 0, 0, 0})},
        // A string stored without its terminator is written as hex of its UTF-16 bytes.
        {"UnterminatedStringAsHex", "\"u\"=hex(1):61,00,62,00", "u", kRegSz, TextBytes("ab")},
        {"ControlEscapes", "\"tab\"=\"a\\tb\\1c\\0017\"", "tab", kRegSz,
         TextBytes(std::string("a\tb\x01"
                               "c\x01"
                               "7",
                               7) +
                   '\0')},
        // Characters above 127 are written as \x escapes; the program gets them in Windows-1250.
        {"CzechText", "\"\\x10dti\"=\"P\\x159\\xedli\\x161 \\x17elu\\x165ou\\x10dk\\xfd\"", "\xe8ti", kRegSz,
         TextBytes(std::string("P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd") + '\0')},
        {"FourDigitHexBeforeHexDigit", "\"c\"=\"\\x010de\"", "c", kRegSz,
         TextBytes(std::string("\xe8"
                               "e") +
                   '\0')},
        // The bytes that Windows-1250 leaves unassigned stand for the control characters of
        // their numbers, as in Wine's own conversion: they come back as the same bytes.
        {"UnassignedBytes", "\"\\x88\"=\"a\\x81z\\x98\"", "\x88", kRegSz,
         TextBytes(std::string("a\x81z\x98") + '\0')},
        {"CharacterOutsideCodePage", "\"o\"=\"\\x4e2d\"", "o", kRegSz, TextBytes(std::string("?") + '\0'),
         "\"o\"=\"?\""},
        {"HexOverSeveralLines",
         "\"bigbin\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
         "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\n"
         "  30,31,32,33,34,35,36,37,38,39,3a,3b,3c",
         "bigbin", kRegBinary,
         [] {
             std::vector<std::uint8_t> bytes;
             for (int i = 1; i <= 60; ++i)
                 bytes.push_back(static_cast<std::uint8_t>(i));
             return bytes;
         }()},
    };
}

class WineValueFormTest : public ::testing::TestWithParam<FormCase>
{
};

TEST_P(WineValueFormTest, ReadsValueAsWineWroteIt)
{
    const FormCase& c = GetParam();
    TemporaryFolder prefix;
    WriteTextFile(prefix.path() / "system.reg",
                  std::string(kHeader) + "\n[Software\\\\Forms] 1796860491\n#time=1dd8838ae21bdfa\n" +
                      c.line + "\n\n");
    WineRegistryBackend backend(prefix.path());
    EXPECT_EQ(ReadStored(backend, kHkeyLocalMachine, "Software\\Forms", c.valueName),
              (StoredValue{c.type, c.data}));
    EXPECT_EQ(backend.openHandleCount(), 0u);
}

TEST_P(WineValueFormTest, TestWriterProducesTheSameLine)
{
    // The files the native tests write themselves must look like Wine's.
    const FormCase& c = GetParam();
    EXPECT_EQ(WineValueLine(c.valueName, c.type, c.data), c.writerLine + "\n");
}

INSTANTIATE_TEST_SUITE_P(Forms, WineValueFormTest, ::testing::ValuesIn(FormCases()),
                         [](const ::testing::TestParamInfo<FormCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(WineRegistryFile, KeyPathsUnescapedAndSplit)
{
    const WineRegistryFile file = ParseWineRegistryFile(
        std::string(kHeader) +
        "\n[Software\\\\Zt\\\\A\"q] 1796860468\n#time=1dd8838a0d8c670\n\"v\"=\"1\"\n"
        "\n[Software\\\\Zx\\\\b\\[r\\]k] 1796860661\n#time=1dd883913c7c15e\n#class=\"c\"\n"
        "\n[Software\\\\Classes\\\\Wow6432Node\\\\AppId] 1796860447\n#time=1dd883894064710\n#link\n"
        "\"SymbolicLinkValue\"=hex(6):5c,00\n");
    EXPECT_TRUE(file.win64);
    ASSERT_EQ(file.keys.size(), 3u);
    EXPECT_EQ(file.keys[0].path, (std::vector<std::u16string>{u"Software", u"Zt", u"A\"q"}));
    EXPECT_EQ(file.keys[0].values.size(), 1u);
    EXPECT_EQ(file.keys[1].path, (std::vector<std::u16string>{u"Software", u"Zx", u"b[r]k"}));
    EXPECT_TRUE(file.keys[1].values.empty());
    EXPECT_EQ(file.keys[2].values.size(), 1u);
}

TEST(WineRegistryFile, UnreadableLinesAreSkipped)
{
    const WineRegistryFile file = ParseWineRegistryFile(
        "[Software\\\\Bad] "
        "1\n\"a\"=nonsense\n\"b\"=dword:\n\"c\"=\"unterminated\n\"d\"=hex:zz\n\"ok\"=\"fine\"\n"
        "[Software\\\\Unclosed\n\"lost\"=\"x\"\n");
    ASSERT_EQ(file.keys.size(), 1u);
    ASSERT_EQ(file.keys[0].values.size(), 1u);
    EXPECT_EQ(file.keys[0].values[0].name, u"ok");
}

// A small prefix: the user's classes, the machine's classes, and a 32-bit program's view.
class WinePrefixTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteTextFile(m_prefix.path() / "system.reg",
                      std::string(kHeader) +
                          "\n[Software\\\\Classes\\\\HTTP\\\\shell\\\\open\\\\command] "
                          "1\n@=\"\\\"C:\\\\machine.exe\\\" \\\"%1\\\"\"\n"
                          "\n[Software\\\\Classes\\\\zorvekonly] 1\n@=\"machine\"\n"
                          "\n[Software\\\\Activision\\\\Call of Duty 4] 1\n\"InstallPath\"=\"C:\\\\Native\"\n"
                          "\n[Software\\\\Wow6432Node\\\\Activision\\\\Call of Duty 4] "
                          "1\n\"InstallPath\"=\"C:\\\\Games\\\\CoD4\"\n"
                          "\n[Software\\\\Activision\\\\Call of Duty 2] 1\n\"InstallPath\"=\"C:\\\\CoD2\"\n");
        WriteTextFile(m_prefix.path() / "user.reg",
                      "WINE REGISTRY Version 2\n;; All keys relative to "
                      "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n"
                      "\n[Software\\\\Classes\\\\HTTP\\\\shell\\\\open\\\\command] "
                      "1\n@=\"\\\"C:\\\\user.exe\\\" \\\"%1\\\"\"\n"
                      "\n[Software\\\\Classes\\\\HTTP\\\\shell\\\\edit] 1\n"
                      "\n[Environment] 1\n\"GAMES\"=\"D:\\\\Games\"\n\"WHERE\"=str(2):\"%GAMES%\\\\x\"\n");
    }

    cRegistry reader(std::int32_t root, const std::string& section, const std::string& valueKey)
    {
        cRegistry registry(m_backend);
        registry.SetClassKey(root);
        registry.SetSectionKey(section);
        registry.SetValueKey(valueKey);
        registry.SetValueType(static_cast<std::int32_t>(kRegSz));
        return registry;
    }

    TemporaryFolder m_prefix;
    std::shared_ptr<WineRegistryBackend> m_backend;
};

TEST_F(WinePrefixTest, BrowserCommandFromUserClassesOverMachineClasses)
{
    m_backend = std::make_shared<WineRegistryBackend>(m_prefix.path());
    auto registry = reader(kHkeyClassesRoot, "HTTP\\shell\\open\\command", "");
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("\"C:\\user.exe\" \"%1\"")));
    registry.SetSectionKey("zorvekonly");
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("machine")));
    std::vector<std::string> verbs;
    std::int32_t count = 0;
    registry.SetSectionKey("HTTP\\shell");
    registry.EnumerateSections(verbs, count);
    EXPECT_EQ(verbs, (std::vector<std::string>{"edit", "open"}));
}

TEST_F(WinePrefixTest, ThirtyTwoBitViewOfMachineSoftwareComesFirst)
{
    // The games are 32-bit programs: their installers write below Software\Wow6432Node.
    m_backend = std::make_shared<WineRegistryBackend>(m_prefix.path());
    auto registry = reader(kHkeyLocalMachine, "SOFTWARE\\Activision\\Call of Duty 4", "InstallPath");
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("C:\\Games\\CoD4")));
    // Keys only the 64-bit view holds are still found.
    registry.SetSectionKey("SOFTWARE\\Activision\\Call of Duty 2");
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("C:\\CoD2")));
    registry.SetSectionKey("SOFTWARE\\Activision\\Call of Duty");
    EXPECT_EQ(registry.Value(), RegistryValue());
}

TEST_F(WinePrefixTest, EnvironmentOfPrefixExpands)
{
    m_backend = std::make_shared<WineRegistryBackend>(m_prefix.path());
    EXPECT_EQ(ReadStored(*m_backend, kHkeyCurrentUser, "Environment", "WHERE")->type, kRegExpandSz);
    auto registry = reader(kHkeyCurrentUser, "Environment", "WHERE");
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("D:\\Games\\x")));
    std::string buffer(64, '\0');
    m_backend->expandEnvironmentStrings("%SystemRoot%|%WHERE%", buffer.data(), 64);
    EXPECT_EQ(buffer.substr(0, buffer.find('\0')), "C:\\windows|D:\\Games\\x");
}

TEST_F(WinePrefixTest, ChangedFilesAreReadAgain)
{
    m_backend = std::make_shared<WineRegistryBackend>(m_prefix.path());
    auto registry = reader(kHkeyLocalMachine, "Software\\Later", "v");
    EXPECT_EQ(registry.Value(), RegistryValue());
    WriteTextFile(m_prefix.path() / "system.reg",
                  std::string(kHeader) + "\n[Software\\\\Later] 2\n\"v\"=\"now\"\n");
    EXPECT_EQ(registry.Value(), RegistryValue(std::string("now")));
}

// The files are read when the registry is first asked, not when the object is made: a file
// rewritten in between with the same size and time is what the first question sees.
TEST_F(WinePrefixTest, FilesAreReadAtTheFirstQuestion)
{
    const std::filesystem::path system = m_prefix.path() / "system.reg";
    const auto written = std::filesystem::last_write_time(system);
    const auto size = std::filesystem::file_size(system);
    m_backend = std::make_shared<WineRegistryBackend>(m_prefix.path());

    std::string later = std::string(kHeader) + "\n[Software\\\\Later] 1\n\"v\"=\"first\"\n";
    ASSERT_LT(later.size(), size);
    later.resize(size, '\n');
    WriteTextFile(system, later);
    std::filesystem::last_write_time(system, written);
    ASSERT_EQ(std::filesystem::file_size(system), size);

    EXPECT_EQ(reader(kHkeyLocalMachine, "Software\\Later", "v").Value(), RegistryValue(std::string("first")));
}

#ifndef _WIN32
// A pipe where system.reg belongs is not read (the read would wait for a writer forever);
// the user's file still answers.
TEST_F(WinePrefixTest, PipeInPlaceOfARegistryFileReadsAsEmpty)
{
    const std::filesystem::path system = m_prefix.path() / "system.reg";
    std::filesystem::remove(system);
    ASSERT_EQ(mkfifo(system.c_str(), 0600), 0);
    m_backend = std::make_shared<WineRegistryBackend>(m_prefix.path());
    EXPECT_EQ(reader(kHkeyLocalMachine, "SOFTWARE\\Activision\\Call of Duty 2", "InstallPath").Value(),
              RegistryValue());
    EXPECT_EQ(reader(kHkeyCurrentUser, "Environment", "GAMES").Value(),
              RegistryValue(std::string("D:\\Games")));
}
#endif

TEST(WineRegistryBackend, MissingPrefixHoldsNothing)
{
    auto backend = std::make_shared<WineRegistryBackend>("/nonexistent/zorvek-prefix");
    cRegistry registry(backend);
    registry.SetClassKey(kHkeyClassesRoot);
    registry.SetSectionKey("HTTP\\shell\\open\\command");
    registry.SetValueType(static_cast<std::int32_t>(kRegSz));
    EXPECT_EQ(registry.Value(), RegistryValue());
    EXPECT_FALSE(registry.KeyExists());
    EXPECT_EQ(backend->openHandleCount(), 0u);
}

} // namespace
} // namespace zorvek::test
