#include "launch/ServerJoiner.h"

#include <optional>

#include "common/GameTable.h"
#include "launch/JoinCommand.h"
#include "launch/ProcessLauncher.h"
#include "launch/WebAddress.h"

namespace zorvek {

ServerJoiner::ServerJoiner(cRegistry& registry, ProcessLauncher& launcher, std::string browserPath,
                           QString searchHome)
    : m_locator(registry, std::move(searchHome)), m_launcher(launcher), m_browserPath(std::move(browserPath))
{
}

JoinResult ServerJoiner::JoinServer(const JoinRequest& request)
{
    if (!request.isGame)
        return {OpenLink(request.link) ? JoinOutcome::LinkOpened : JoinOutcome::LinkNotOpened, {}};

    if (request.gameIndex < 1 || request.gameIndex > kGameCount)
        return {JoinOutcome::ClientNotStarted, {}};
    const GameInfo& game = Game(request.gameIndex);

    const std::optional<GameInstallation> installation = m_locator.locate(game);
    if (!installation)
        return {JoinOutcome::NotInstalled, NotInstalledMessage(game.GameCaption)};
    const bool started = startClient(*installation, game, ConnectParameters(request.host, request.port));
    return {started ? JoinOutcome::ClientStarted : JoinOutcome::ClientNotStarted, {}};
}

bool ServerJoiner::OpenLink(std::string_view link)
{
    const std::optional<std::string> address = WebAddress(link);
    if (!address)
        return false;
    return m_launcher.openWebAddress(m_browserPath, *address);
}

bool ServerJoiner::startClient(const GameInstallation& installation, const GameInfo& game,
                               std::string_view parameters)
{
    // Steam runs its edition of the game with its own Proton, in a prefix of its own.
    if (installation.place == InstallPlace::Steam)
        return m_launcher.startProgram("steam", SteamLaunchArguments(installation.steamAppId, parameters));
    return m_launcher.shellExecuteWith(installation.runner,
                                       ExecutablePath(installation.installPath, game.ExecutableEntry),
                                       parameters, installation.installPath);
}

} // namespace zorvek
