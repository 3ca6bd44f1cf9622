#include "launch/ServerJoiner.h"

#include <exception>
#include <optional>

#include "common/GameTable.h"
#include "launch/JoinCommand.h"
#include "launch/ProcessLauncher.h"
#include "launch/WebAddress.h"
#include "registry/cRegistry.h"

namespace zorvek {

namespace {

// Only a text value names a folder; a missing value reads as the empty default, and a
// value of another type (a number, bytes) counts as missing too.
std::string TextOf(const RegistryValue& value)
{
    const std::string* text = std::get_if<std::string>(&value);
    return text ? *text : std::string();
}

} // namespace

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
    selectInstallPath(game.RegistryKey);
    const std::string installPath = readText();
    const std::string executablePath = ExecutablePath(readText(), game.ExecutableEntry);
    if (installPath.empty())
        return {JoinOutcome::NotInstalled, NotInstalledMessage(game.GameCaption)};

    const bool started =
        m_launcher.shellExecute(executablePath, ConnectParameters(request.host, request.port), installPath);
    return {started ? JoinOutcome::ClientStarted : JoinOutcome::ClientNotStarted, {}};
}

bool ServerJoiner::OpenLink(std::string_view link)
{
    const std::optional<std::string> address = WebAddress(link);
    if (!address || m_browserPath.empty())
        return false;
    return m_launcher.startProgram(m_browserPath, {*address});
}

void ServerJoiner::selectInstallPath(std::string_view registryKey)
{
    // The registry instance is shared and keeps whatever its last user set, so every
    // selector is set before the read.
    m_registry.SetClassKey(reg::kHkeyLocalMachine);
    m_registry.SetValueType(static_cast<std::int32_t>(reg::kRegSz));
    m_registry.SetSectionKey(std::string(registryKey));
    m_registry.SetValueKey("InstallPath");
}

std::string ServerJoiner::readText()
{
    try {
        return TextOf(m_registry.Value());
    } catch (const std::exception&) {
        // A read that fails reads as a missing value: the user hears that the game
        // is not installed, and the program goes on.
        return {};
    }
}

} // namespace zorvek
