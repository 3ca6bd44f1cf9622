#include "WineTestFiles.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <random>

#include "common/Cp1250.h"
#include "registry/RegistryNames.h"
#include "registry/WineRegistryBackend.h"

namespace zorvek::test {

using namespace reg;

namespace {

std::u16string WideData(const std::vector<std::uint8_t>& data)
{
    return Cp1250ToUtf16(std::string(data.begin(), data.end()));
}

bool IsHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// dump_strW of Wine's server: backslash and the two end characters escaped, control
// characters as C escapes or octal, characters above 127 as \x.
std::string EscapeWide(const std::u16string& text, char endA, char endB)
{
    static const char kEscapes[33] = ".......abtnvfr.............e....";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool hasNext = i + 1 < text.size();
        char buffer[16];
        if (c > 127) {
            if (hasNext && text[i + 1] < 128 && IsHexDigit(text[i + 1]))
                std::snprintf(buffer, sizeof buffer, "\\x%04x", unsigned(c));
            else
                std::snprintf(buffer, sizeof buffer, "\\x%x", unsigned(c));
            out += buffer;
        } else if (c < 32) {
            if (kEscapes[c] != '.') {
                out += '\\';
                out += kEscapes[c];
            } else if (hasNext && text[i + 1] >= u'0' && text[i + 1] <= u'7') {
                std::snprintf(buffer, sizeof buffer, "\\%03o", unsigned(c));
                out += buffer;
            } else {
                std::snprintf(buffer, sizeof buffer, "\\%o", unsigned(c));
                out += buffer;
            }
        } else {
            if (c == u'\\' || c == char16_t(endA) || c == char16_t(endB))
                out += '\\';
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

std::string WineEscape(const std::string& text, char endA, char endB)
{
    return EscapeWide(Cp1250ToUtf16(text), endA, endB);
}

std::string WineValueLine(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    std::string line = "@=";
    if (!name.empty()) {
        line = "\"";
        line.append(WineEscape(name, '"', '"'));
        line.append("\"=");
    }
    const bool stringType = type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
    // Wine keeps strings in UTF-16; a properly terminated one is written as text.
    if (stringType && !data.empty() && data.back() == 0) {
        if (type != kRegSz) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "str(%x):", unsigned(type));
            line += buffer;
        }
        std::u16string wide = WideData(data);
        wide.pop_back();
        return line + "\"" + EscapeWide(wide, '"', '"') + "\"\n";
    }
    if (type == kRegDword && data.size() == 4) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "dword:%08x\n",
                      unsigned(data[0] | data[1] << 8 | data[2] << 16 | unsigned(data[3]) << 24));
        return line + buffer;
    }
    std::vector<std::uint8_t> bytes = data;
    if (stringType) {
        bytes.clear();
        for (const char16_t c : WideData(data)) {
            bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    }
    char buffer[16];
    if (type == kRegBinary)
        line += "hex:";
    else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(type));
        line += buffer;
    }
    std::size_t count = line.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", unsigned(bytes[i]));
        line += buffer;
        count += 2;
        if (i + 1 < bytes.size()) {
            line += ',';
            if (++count > 76) {
                line += "\\\n  ";
                count = 2;
            }
        }
    }
    return line + "\n";
}

std::string WineRegistryText(bool machine, const std::vector<WineFileKey>& keys)
{
    std::string text = "WINE REGISTRY Version 2\n";
    text += machine ? ";; All keys relative to REGISTRY\\\\Machine\n"
                    : ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n";
    text += "\n#arch=win64\n";
    for (const auto& key : keys) {
        text += "\n[" + WineEscape(key.path, '[', ']') + "] 1796860491\n#time=1dd8838ae21bdfa\n";
        for (const auto& value : key.values)
            text += WineValueLine(value.name, value.type, value.data);
    }
    return text;
}

TemporaryFolder::TemporaryFolder()
{
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        m_path = base / ("zorvek-registry-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(m_path));
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void WriteTextFile(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

void WriteWinePrefix(const std::filesystem::path& folder, const Seed& seed)
{
    std::map<std::string, WineFileKey> machine;
    std::map<std::string, WineFileKey> user;
    const auto keyOf = [&](std::int32_t root, const std::string& section) -> WineFileKey& {
        auto& keys = root == kHkeyLocalMachine ? machine : user;
        WineFileKey& key = keys[FoldName(section)];
        key.path = section;
        return key;
    };
    for (const auto& k : seed.keys)
        keyOf(k.root, k.section);
    for (const auto& v : seed.values)
        keyOf(v.root, v.section).values.push_back(v);
    keyOf(kHkeyCurrentUser, "Environment")
        .values.push_back({kHkeyCurrentUser, "Environment", kTestVariable, kRegSz,
                           TextBytes(std::string(kTestVariableValue) + '\0')});
    keyOf(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion")
        .values.push_back({kHkeyLocalMachine, "", "ProgramFilesDir", kRegSz,
                           TextBytes(std::string("C:\\Program Files") + '\0')});
    const auto list = [](const std::map<std::string, WineFileKey>& keys) {
        std::vector<WineFileKey> result;
        for (const auto& [folded, key] : keys)
            result.push_back(key);
        return result;
    };
    WriteTextFile(folder / "system.reg", WineRegistryText(true, list(machine)));
    WriteTextFile(folder / "user.reg", WineRegistryText(false, list(user)));
}

namespace {

class WineFilesHarness : public BackendHarness
{
public:
    std::shared_ptr<RegistryBackend> prepare(const Seed& seed) override
    {
        WriteWinePrefix(m_folder.path(), seed);
        m_backend = std::make_shared<WineRegistryBackend>(m_folder.path());
        return m_backend;
    }
    bool writable() const override { return false; }
    std::optional<std::size_t> openHandles() const override
    {
        return m_backend ? std::optional<std::size_t>(m_backend->openHandleCount()) : std::nullopt;
    }

private:
    TemporaryFolder m_folder;
    std::shared_ptr<WineRegistryBackend> m_backend;
};

// A prefix that the Windows test program filled under Wine: it holds the same seeds already.
// Nothing changes it any more, so its files are read once for all cases.
class ReplayedPrefixHarness : public BackendHarness
{
public:
    std::shared_ptr<RegistryBackend> prepare(const Seed&) override
    {
        static const auto shared = std::make_shared<WineRegistryBackend>(ReplayedWinePrefix());
        m_backend = shared;
        return m_backend;
    }
    bool writable() const override { return false; }
    bool replaysWindowsRun() const override { return true; }
    std::optional<std::size_t> openHandles() const override
    {
        return m_backend ? std::optional<std::size_t>(m_backend->openHandleCount()) : std::nullopt;
    }

private:
    std::shared_ptr<WineRegistryBackend> m_backend;
};

} // namespace

HarnessKind WineFilesHarnessKind()
{
    return {"WineFiles", [] { return std::make_unique<WineFilesHarness>(); }};
}

HarnessKind ReplayedPrefixHarnessKind()
{
    return {"WinePrefix", [] { return std::make_unique<ReplayedPrefixHarness>(); }};
}

} // namespace zorvek::test
