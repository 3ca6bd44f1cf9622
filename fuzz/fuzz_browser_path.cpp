// The browser path cut on any command the registry may hold: the result is empty or
// ends at the command's first ".exe", and a path with any arguments after it comes
// back as the path alone, quoted or not.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "launch/BrowserPath.h"

namespace {

using zorvek::BrowserPathFromCommand;

std::string lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

void checkAnyCommand(std::string_view command)
{
    const std::string path = BrowserPathFromCommand(command);
    const std::size_t exe = lower(command).find(".exe");
    if (exe == std::string::npos) {
        FUZZ_CHECK(path.empty());
        return;
    }
    FUZZ_CHECK(path.size() >= 4 && lower(path).compare(path.size() - 4, 4, ".exe") == 0);
    FUZZ_CHECK(lower(path).find(".exe") == path.size() - 4);
    // The command up to its first ".exe", less a leading quote.
    const std::string_view cut = command.substr(0, exe + 4);
    FUZZ_CHECK(path == (cut.front() == '"' ? cut.substr(1) : cut));
}

void checkPathWithArguments(FuzzedDataProvider& input)
{
    std::string stem = input.ConsumeRandomLengthString(60);
    // The stem must not hold an ".exe" of its own, nor start with the quote of the cut.
    for (std::size_t at; (at = lower(stem).find(".exe")) != std::string::npos;)
        stem.erase(at, 1);
    const bool quoted = input.ConsumeBool();
    if (!quoted)
        stem.erase(0, stem.find_first_not_of('"'));
    const std::string extension = input.ConsumeBool() ? ".exe" : ".EXE";
    const std::string arguments = input.ConsumeRemainingBytesAsString();
    const std::string command =
        quoted ? "\"" + stem + extension + "\"" + arguments : stem + extension + arguments;
    FUZZ_CHECK(BrowserPathFromCommand(command) == stem + extension);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyCommand(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    checkPathWithArguments(input);
    return 0;
}
