#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launch/ProcessLauncher.h"

namespace zorvek::fixtures {

// Passes every start on to the real launcher and counts it, so that a test can tell
// that nothing at all was started.
class CountingLauncher : public ProcessLauncher
{
public:
    explicit CountingLauncher(ProcessLauncher& real) : m_real(real) {}

    bool shellExecute(std::string_view file, std::string_view parameters, std::string_view directory) override
    {
        ++starts;
        return m_real.shellExecute(file, parameters, directory);
    }
    bool shellExecuteWith(const WineRunner& runner, std::string_view file, std::string_view parameters,
                          std::string_view directory) override
    {
        ++starts;
        return m_real.shellExecuteWith(runner, file, parameters, directory);
    }
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override
    {
        ++starts;
        return m_real.startProgram(program, arguments);
    }
    // Windows opens web addresses through the shell, one start; elsewhere the browser is
    // started as a program, which startProgram counts (and without a browser nothing starts).
    bool openWebAddress(std::string_view browser, const std::string& address) override
    {
#ifdef _WIN32
        ++starts;
        return m_real.openWebAddress(browser, address);
#else
        return ProcessLauncher::openWebAddress(browser, address);
#endif
    }

    int starts = 0;

private:
    ProcessLauncher& m_real;
};

} // namespace zorvek::fixtures
