// Windows command-line splitting on any argument text: splitting, writing the arguments
// back and splitting again gives the same arguments, and any list of arguments written
// out splits back into itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "launch/CommandLine.h"

namespace {

using namespace zorvek;

void checkAnyText(std::string_view text)
{
    const std::vector<std::string> arguments = SplitWindowsCommandLine(text);
    std::size_t total = 0;
    for (const std::string& argument : arguments) {
        total += argument.size();
        // Outside quotes a blank ends an argument; a plain argument has none.
        if (argument.find_first_of(" \t") != std::string::npos)
            FUZZ_CHECK(text.find('"') != std::string_view::npos);
    }
    FUZZ_CHECK(total <= text.size());
    FUZZ_CHECK(SplitWindowsCommandLine(JoinWindowsCommandLine(arguments)) == arguments);
}

void checkArguments(FuzzedDataProvider& input)
{
    std::vector<std::string> arguments(input.ConsumeIntegralInRange<std::size_t>(0, 12));
    for (std::string& argument : arguments)
        argument = input.ConsumeRandomLengthString(40);
    const std::string line = JoinWindowsCommandLine(arguments);
    FUZZ_CHECK(SplitWindowsCommandLine(line) == arguments);
    for (const std::string& argument : arguments)
        FUZZ_CHECK(SplitWindowsCommandLine(QuoteWindowsArgument(argument)) ==
                   std::vector<std::string>{argument});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyText(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    checkArguments(input);
    return 0;
}
