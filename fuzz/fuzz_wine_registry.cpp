// Wine registry file reading on any file in a prefix: keys have non-empty path parts,
// string data ends in its terminator, numbers take four bytes, and keys and values
// written the way Wine writes them read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "registry/WineRegistryFile.h"

namespace {

using namespace zorvek;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

void checkAnyText(std::string_view text)
{
    const WineRegistryFile file = ParseWineRegistryFile(text);
    for (const WineRegistryKey& key : file.keys) {
        for (const std::u16string& part : key.path) {
            FUZZ_CHECK(!part.empty());
            FUZZ_CHECK(part.find(u'\\') == std::u16string::npos);
        }
        for (const WineRegistryValue& value : key.values) {
            // Nothing read is larger than the file it came from.
            FUZZ_CHECK(value.data.size() <= 2 * text.size() + 2);
            FUZZ_CHECK(value.name.size() <= text.size());
        }
    }
    FUZZ_CHECK(file.keys.size() <= text.size());
}

bool isHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A name or text as Wine writes it: backslash and end characters escaped, control
// characters as C or octal escapes, everything above 127 as \x.
std::string escape(const std::u16string& text, char end)
{
    static const char kEscapes[33] = ".......abtnvfr.............e....";
    std::string out;
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool nextHex = i + 1 < text.size() && isHexDigit(text[i + 1]);
        const bool nextOctal = i + 1 < text.size() && text[i + 1] >= u'0' && text[i + 1] <= u'7';
        if (c > 127) {
            std::snprintf(buffer, sizeof buffer, nextHex ? "\\x%04x" : "\\x%x", unsigned(c));
            out += buffer;
        } else if (c < 32) {
            if (kEscapes[c] != '.') {
                out += '\\';
                out += kEscapes[c];
            } else {
                std::snprintf(buffer, sizeof buffer, nextOctal ? "\\%03o" : "\\%o", unsigned(c));
                out += buffer;
            }
        } else {
            if (c == u'\\' || c == char16_t(end))
                out += '\\';
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::u16string wideFrom(FuzzedDataProvider& input, std::size_t maxLength, bool noBackslash)
{
    std::u16string text;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        // Mostly ASCII, sometimes any UTF-16 unit.
        char16_t c = input.ConsumeBool() ? input.ConsumeIntegral<char16_t>()
                                         : static_cast<char16_t>(input.ConsumeIntegralInRange(0, 127));
        if (noBackslash && c == u'\\')
            c = u'/';
        text.push_back(c);
    }
    return text;
}

std::vector<std::uint8_t> utf16Bytes(const std::u16string& text)
{
    std::vector<std::uint8_t> bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

// Hex data over lines of at most 25 bytes, each but the last ending in a backslash.
std::string hexLines(const std::vector<std::uint8_t>& data)
{
    std::string out;
    char buffer[8];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", data[i]);
        out += buffer;
        if (i + 1 < data.size())
            out += (i + 1) % 25 == 0 ? ",\\\n  " : ",";
    }
    return out;
}

void checkWrittenByWine(FuzzedDataProvider& input)
{
    WineRegistryFile wanted;
    wanted.win64 = input.ConsumeBool();
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n";
    if (wanted.win64)
        text += "\n#arch=win64\n";
    const int keys = input.ConsumeIntegralInRange(0, 8);
    for (int k = 0; k < keys; ++k) {
        WineRegistryKey key;
        std::string line = "\n[";
        const int parts = input.ConsumeIntegralInRange(1, 4);
        for (int p = 0; p < parts; ++p) {
            std::u16string part = wideFrom(input, 12, true);
            if (part.empty())
                part = u"K";
            line += (p ? "\\\\" : "") + escape(part, ']');
            key.path.push_back(std::move(part));
        }
        text += line + "] 1700000000\n#time=1d9e0a1b2c3d4e5\n";
        const int values = input.ConsumeIntegralInRange(0, 6);
        for (int v = 0; v < values; ++v) {
            WineRegistryValue value;
            value.name = input.ConsumeBool() ? std::u16string() : wideFrom(input, 12, false);
            std::string valueLine = value.name.empty() ? "@=" : "\"" + escape(value.name, '"') + "\"=";
            char buffer[32];
            switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0: {
                const std::u16string data = wideFrom(input, 30, false);
                value.type = kRegSz;
                value.data = utf16Bytes(data);
                valueLine += "\"" + escape(data, '"') + "\"";
                break;
            }
            case 1: {
                const std::u16string data = wideFrom(input, 30, false);
                value.type = kRegExpandSz;
                value.data = utf16Bytes(data);
                valueLine += "str(2):\"" + escape(data, '"') + "\"";
                break;
            }
            case 2: {
                const std::uint32_t number = input.ConsumeIntegral<std::uint32_t>();
                value.type = kRegDword;
                value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                              static_cast<std::uint8_t>(number >> 16),
                              static_cast<std::uint8_t>(number >> 24)};
                std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
                valueLine += buffer;
                break;
            }
            case 3:
                value.type = kRegBinary;
                value.data = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 80));
                valueLine += "hex:" + hexLines(value.data);
                break;
            default:
                value.type = input.ConsumeIntegralInRange<std::uint32_t>(5, 11);
                value.data = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 80));
                std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
                valueLine += buffer + hexLines(value.data);
                break;
            }
            text += valueLine + "\n";
            key.values.push_back(std::move(value));
        }
        wanted.keys.push_back(std::move(key));
    }
    if (input.ConsumeBool()) {
        // Wine's own files end their lines with LF; a copied file may have CR LF.
        std::string crlf;
        for (const char c : text)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        text = crlf;
    }

    const WineRegistryFile file = ParseWineRegistryFile(text);
    FUZZ_CHECK(file.win64 == wanted.win64);
    FUZZ_CHECK(file.keys.size() == wanted.keys.size());
    for (std::size_t k = 0; k < wanted.keys.size(); ++k) {
        FUZZ_CHECK(file.keys[k].path == wanted.keys[k].path);
        FUZZ_CHECK(file.keys[k].values.size() == wanted.keys[k].values.size());
        for (std::size_t v = 0; v < wanted.keys[k].values.size(); ++v) {
            const WineRegistryValue& got = file.keys[k].values[v];
            const WineRegistryValue& want = wanted.keys[k].values[v];
            FUZZ_CHECK(got.name == want.name);
            FUZZ_CHECK(got.type == want.type);
            FUZZ_CHECK(got.data == want.data);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyText(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    checkWrittenByWine(input);
    return 0;
}
