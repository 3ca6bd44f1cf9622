#include "launch/Win32Launcher.h"

#include <cstdint>
#include <string>

#include <windows.h>

#include <shellapi.h>

#include "launch/CommandLine.h"

namespace zorvek {

bool Win32Launcher::shellExecute(std::string_view file, std::string_view parameters,
                                 std::string_view directory)
{
    const std::string fileText(file);
    const std::string parameterText(parameters);
    const std::string directoryText(directory);
    const HINSTANCE result =
        ShellExecuteA(nullptr, "Open", fileText.c_str(), parameterText.c_str(),
                      directoryText.empty() ? nullptr : directoryText.c_str(), SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

bool Win32Launcher::shellExecuteWith(const WineRunner&, std::string_view file, std::string_view parameters,
                                     std::string_view directory)
{
    return shellExecute(file, parameters, directory);
}

bool Win32Launcher::startProgram(std::string_view program, const std::vector<std::string>& arguments)
{
    if (program.empty())
        return false;
    const std::string programText(program);
    // The program is named on its own as well, so a path with blanks can never be read
    // as a shorter program followed by arguments.
    std::string commandLine = "\"" + programText + "\"";
    if (!arguments.empty())
        commandLine += " " + JoinWindowsCommandLine(arguments);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(programText.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // The process runs on its own; we never wait for it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32Launcher::openWebAddress(std::string_view, const std::string& address)
{
    // Only a web address comes here, so the shell can take it for nothing but a page.
    const HINSTANCE result = ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

std::unique_ptr<ProcessLauncher> MakeSystemProcessLauncher()
{
    return std::make_unique<Win32Launcher>();
}

} // namespace zorvek
