#include "launch/ProcessLauncher.h"

namespace zorvek {

bool ProcessLauncher::openWebAddress(std::string_view browser, const std::string& address)
{
    if (browser.empty())
        return false;
    return startProgram(browser, {address});
}

} // namespace zorvek
