#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

namespace zorvek {

// The Wine prefix a Windows program runs in and the wine that runs it, on a system
// without Windows. An empty prefix: the launcher's own; an empty wine: the one on PATH.
struct WineRunner
{
    QString prefix;
    QString wine;
};

// Starts the game client and the browser as independent processes and never waits
// for them. All texts are the program's 8-bit texts (Windows-1250).
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    // Opens `file` as the shell's "Open" operation does, shown normally: `parameters`
    // is one command-line text, `directory` the working directory (empty: ours).
    // False when nothing could be started; a started process is not watched.
    virtual bool shellExecute(std::string_view file, std::string_view parameters,
                              std::string_view directory) = 0;

    // As shellExecute, run by `runner` instead of the launcher's own prefix and wine.
    // Where Windows programs run natively there is no runner, and it is ignored.
    virtual bool shellExecuteWith(const WineRunner& runner, std::string_view file,
                                  std::string_view parameters, std::string_view directory) = 0;

    // Starts `program` itself with `arguments`, each reaching it as one argument.
    // No shell is involved. False when nothing could be started.
    virtual bool startProgram(std::string_view program, const std::vector<std::string>& arguments) = 0;

    // Opens a web address (see WebAddress) in the user's browser: here by starting
    // `browser` with the address as its one argument, false when there is none; on Windows
    // through the shell, which opens the browser the user chose, whatever `browser` says.
    virtual bool openWebAddress(std::string_view browser, const std::string& address);
};

// The launcher of this platform: Win32 on Windows, Wine elsewhere (with the Wine
// prefix the system registry is read from).
std::unique_ptr<ProcessLauncher> MakeSystemProcessLauncher();

} // namespace zorvek
