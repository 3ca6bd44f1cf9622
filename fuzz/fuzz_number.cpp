// Lenient number reading of scores, pings and widths: any text reads as a finite number,
// and every finite number written in its shortest form reads back as itself.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "common/NumberText.h"

namespace {

using namespace zorvek;

void checkAnyText(std::string_view text)
{
    const double value = ReadNumber(text);
    FUZZ_CHECK(std::isfinite(value));
    const std::string written = ShortestDecimalText(value);
    FUZZ_CHECK(!written.empty() && written.find_first_of(" \t\n") == std::string::npos);
    FUZZ_CHECK(ReadNumber(written) == value);
    // A text without a digit holds no number.
    if (text.find_first_of("0123456789") == std::string_view::npos)
        FUZZ_CHECK(value == 0);
}

// The bytes taken as a double: its shortest text reads back exactly.
void checkRoundTrip(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double))
        return;
    double value;
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value))
        return;
    const std::string written = ShortestDecimalText(value);
    FUZZ_CHECK(ReadNumber(written) == value);
    FUZZ_CHECK(written.size() < 400);
    // Blanks between the characters change nothing.
    std::string spaced;
    for (const char c : written)
        spaced += std::string(" \t\n").substr(static_cast<std::size_t>(data[0] % 3), 1) + c;
    FUZZ_CHECK(ReadNumber(spaced) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyText(std::string_view(reinterpret_cast<const char*>(data), size));
    checkRoundTrip(data, size);
    return 0;
}
