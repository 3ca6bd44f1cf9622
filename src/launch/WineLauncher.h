#pragma once

#include "launch/ProcessLauncher.h"

#include <QString>

namespace zorvek {

// Starts Windows game clients through `wine` in one Wine prefix, and Linux programs
// (the browser opener) directly. Nothing goes through a shell.
class WineLauncher : public ProcessLauncher
{
public:
    // `winePrefix`: the prefix whose registry names the installed games; it is passed
    // to wine as WINEPREFIX and its drives give the working directory.
    explicit WineLauncher(QString winePrefix);

    // Starts `wine` (found on PATH) with `file` as it is and the arguments that the
    // Windows rules split from `parameters`, in the Linux folder of `directory`.
    // False when wine is missing, `directory` cannot be mapped or the start fails.
    bool shellExecute(std::string_view file, std::string_view parameters,
                      std::string_view directory) override;

    // The same with the prefix and the wine of `runner` where it names them: the prefix
    // is WINEPREFIX and maps `directory`.
    bool shellExecuteWith(const WineRunner& runner, std::string_view file, std::string_view parameters,
                          std::string_view directory) override;

    // Starts `program` (a path, or a name looked up on PATH) with `arguments`.
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override;

    const QString& winePrefix() const { return m_winePrefix; }

private:
    QString m_winePrefix;
};

} // namespace zorvek
