#include "launch/WineLauncher.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

#include "common/TextCodec.h"
#include "launch/CommandLine.h"
#include "launch/WinePaths.h"
#include "registry/SystemRegistry.h"

namespace zorvek {

namespace {

// Detached start: the child runs on its own and is never waited for or collected
// here. Standard input comes from the null device so that it never reads our terminal.
bool StartDetached(QProcess& process)
{
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached(nullptr);
}

} // namespace

WineLauncher::WineLauncher(QString winePrefix) : m_winePrefix(std::move(winePrefix)) {}

bool WineLauncher::shellExecute(std::string_view file, std::string_view parameters,
                                std::string_view directory)
{
    return shellExecuteWith({}, file, parameters, directory);
}

bool WineLauncher::shellExecuteWith(const WineRunner& runner, std::string_view file,
                                    std::string_view parameters, std::string_view directory)
{
    if (file.empty())
        return false;
    const QString prefix = runner.prefix.isEmpty() ? m_winePrefix : runner.prefix;
    const QString wine =
        runner.wine.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wine")) : runner.wine;
    if (wine.isEmpty())
        return false;

    QProcess process;
    if (!directory.empty()) {
        // Windows refuses a working directory that does not exist; so do we.
        const QString folder = MapWindowsPath(prefix, FromCp1250(directory));
        if (folder.isEmpty())
            return false;
        process.setWorkingDirectory(folder);
    }

    // wine takes the Windows path of the program and joins the arguments back into
    // the client's command line; splitting them by the Windows rules keeps that line
    // equal to the parameter text.
    QStringList arguments{FromCp1250(file)};
    for (const std::string& argument : SplitWindowsCommandLine(parameters))
        arguments.append(FromCp1250(argument));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), prefix);
    process.setProcessEnvironment(environment);
    process.setProgram(wine);
    process.setArguments(arguments);
    return StartDetached(process);
}

bool WineLauncher::startProgram(std::string_view program, const std::vector<std::string>& arguments)
{
    if (program.empty())
        return false;
    QStringList list;
    for (const std::string& argument : arguments)
        list.append(FromCp1250(argument));
    QProcess process;
    process.setProgram(FromCp1250(program));
    process.setArguments(list);
    return StartDetached(process);
}

std::unique_ptr<ProcessLauncher> MakeSystemProcessLauncher()
{
    // The same prefix as MakeSystemRegistryBackend reads the installed games from.
    return std::make_unique<WineLauncher>(QFile::decodeName(DefaultWinePrefix().c_str()));
}

} // namespace zorvek
