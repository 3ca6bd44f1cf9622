// Info file reading on any text a list host may send: nothing without the marker, fields
// without their ";", a height within 16 bits, and groups written the way the list host
// writes them read back as the last group.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "common/InfoFile.h"

namespace {

using namespace zorvek;

void checkAnyText(std::string_view text)
{
    const std::optional<InfoFile> info = ParseInfoFile(text);
    if (text.find(kInfoMarker) == std::string_view::npos)
        FUZZ_CHECK(!info);
    if (!info)
        return;
    for (const std::string* field : {&info->PosterUrl, &info->InfoLink, &info->InfoToolTip}) {
        FUZZ_CHECK(field->find(';') == std::string::npos);
        FUZZ_CHECK(text.find(*field) != std::string_view::npos);
    }
    FUZZ_CHECK(std::isfinite(info->InfoWidth));
}

std::string fieldFrom(FuzzedDataProvider& input, std::size_t length)
{
    std::string field = input.ConsumeRandomLengthString(length);
    std::erase(field, ';');
    return field;
}

// Groups of six fields, each ended by ";" and two characters of any kind.
void checkWellFormed(FuzzedDataProvider& input)
{
    std::string text;
    const auto endField = [&](const std::string& field) {
        std::string lineBreak = input.ConsumeBytesAsString(2);
        lineBreak.resize(2, '\n');
        text += field + ';' + lineBreak;
    };
    const int groups = input.ConsumeIntegralInRange(1, 4);
    int width = 0;
    int height = 0;
    std::string poster, link, tip;
    for (int g = 0; g < groups; ++g) {
        width = input.ConsumeIntegralInRange(0, 100000);
        height = input.ConsumeIntegralInRange(-32768, 32767);
        poster = fieldFrom(input, 60);
        link = fieldFrom(input, 60);
        tip = fieldFrom(input, 60);
        endField(std::to_string(width));
        endField(std::to_string(height));
        endField(poster);
        endField(link);
        endField(tip);
        endField(g == groups - 1 ? std::string(kInfoMarker) : fieldFrom(input, 20));
    }
    // The last line break may be cut short: the text ends right after the last ";".
    if (input.ConsumeBool())
        text.resize(text.size() - 2);

    const std::optional<InfoFile> info = ParseInfoFile(text);
    FUZZ_CHECK(info.has_value());
    FUZZ_CHECK(info->InfoWidth == width);
    FUZZ_CHECK(info->InfoHeight == height);
    FUZZ_CHECK(info->PosterUrl == poster);
    FUZZ_CHECK(info->InfoLink == link);
    FUZZ_CHECK(info->InfoToolTip == tip);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyText(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    checkWellFormed(input);
    return 0;
}
