// Colour-code removal on any player name: the result never holds a "^", is never longer
// than the name, keeps the other characters in order, and a name of plain characters
// with codes put between them comes back as the plain characters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "query/StatusReply.h"

namespace {

using zorvek::RemoveTags;

bool isSubsequence(std::string_view part, std::string_view whole)
{
    std::size_t at = 0;
    for (const char c : part) {
        at = whole.find(c, at);
        if (at == std::string_view::npos)
            return false;
        ++at;
    }
    return true;
}

void checkAnyText(std::string_view text)
{
    const std::string result = RemoveTags(text);
    FUZZ_CHECK(result.size() <= text.size());
    FUZZ_CHECK(result.find('^') == std::string::npos);
    FUZZ_CHECK(isSubsequence(result, text));
    FUZZ_CHECK(RemoveTags(result) == result);
    if (text.find('^') == std::string_view::npos)
        FUZZ_CHECK(result == text);
    // Each caret takes at most one more character with it.
    const auto carets = static_cast<std::size_t>(std::count(text.begin(), text.end(), '^'));
    FUZZ_CHECK(text.size() - result.size() <= 2 * carets);
}

// Plain characters with colour codes ("^" and any one character) put between them.
void checkCodedText(FuzzedDataProvider& input)
{
    std::string plain;
    std::string coded;
    while (input.remaining_bytes() > 0) {
        const char c = input.ConsumeIntegral<char>();
        if (input.ConsumeBool()) {
            coded += '^';
            coded += input.ConsumeIntegral<char>(); // a digit, a letter, a space, another caret
        }
        if (c != '^') {
            plain += c;
            coded += c;
        }
    }
    if (input.ConsumeBool())
        coded += '^'; // a caret at the very end goes alone
    FUZZ_CHECK(RemoveTags(coded) == plain);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyText(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    checkCodedText(input);
    return 0;
}
