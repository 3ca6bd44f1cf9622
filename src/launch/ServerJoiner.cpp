#include "launch/ServerJoiner.h"

#include "common/GameTable.h"
#include "launch/JoinCommand.h"
#include "launch/ProcessLauncher.h"
#include "registry/ReadRegistryText.h"
#include "registry/RegistryBackend.h"

namespace zorvek {

ServerJoiner::ServerJoiner(cRegistry& registry, ProcessLauncher& launcher, std::string browserPath)
    : m_registry(registry), m_launcher(launcher), m_browserPath(std::move(browserPath))
{
}

JoinResult ServerJoiner::JoinServer(const JoinRequest& request)
{
    if (!request.isGame)
        return {OpenLink(request.link) ? JoinOutcome::LinkOpened : JoinOutcome::LinkNotOpened, {}};

    if (request.gameIndex < 1 || request.gameIndex > kGameCount)
        return {JoinOutcome::ClientNotStarted, {}};
    const GameInfo& game = Game(request.gameIndex);

    // The value is read twice, once for the folder and once for the executable.
    const std::string installPath = readInstallPath(game.RegistryKey);
    const std::string executablePath =
        ExecutablePath(readInstallPath(game.RegistryKey), game.ExecutableEntry);
    if (installPath.empty())
        return {JoinOutcome::NotInstalled, NotInstalledMessage(game.GameCaption)};

    const bool started =
        m_launcher.shellExecute(executablePath, ConnectParameters(request.host, request.port), installPath);
    return {started ? JoinOutcome::ClientStarted : JoinOutcome::ClientNotStarted, {}};
}

bool ServerJoiner::OpenLink(std::string_view link)
{
    if (m_browserPath.empty())
        return false;
    return m_launcher.startProgram(m_browserPath, {std::string(link)});
}

std::string ServerJoiner::readInstallPath(std::string_view registryKey)
{
    // Only a text value names a folder: a missing value, a value of another type (a number,
    // bytes) and a read that fails all read as empty, and the user hears that the game is
    // not installed.
    return ReadRegistryText(m_registry, reg::kHkeyLocalMachine, std::string(registryKey), "InstallPath");
}

} // namespace zorvek
