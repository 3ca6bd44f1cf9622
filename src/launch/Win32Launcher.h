#pragma once

#include "launch/ProcessLauncher.h"

namespace zorvek {

// Starts processes with the Windows shell and CreateProcess, in the ANSI code page.
class Win32Launcher : public ProcessLauncher
{
public:
    // ShellExecuteA with the "Open" operation, shown normally.
    bool shellExecute(std::string_view file, std::string_view parameters,
                      std::string_view directory) override;
    // Windows runs the game natively: the runner is not used.
    bool shellExecuteWith(const WineRunner& runner, std::string_view file, std::string_view parameters,
                          std::string_view directory) override;

    // CreateProcessA of `program` in a normal window, with a command line that the
    // program splits back into exactly `arguments`.
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override;

    // ShellExecuteA of the address itself: since Windows 8 the browser the user chose is
    // known to the shell alone (UrlAssociations), not to the HTTP class's open command.
    bool openWebAddress(std::string_view browser, const std::string& address) override;
};

} // namespace zorvek
