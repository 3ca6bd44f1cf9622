#include "launch/JoinCommand.h"

#include "common/Texts.h"
#include "launch/CommandLine.h"

namespace zorvek {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

std::string ExecutablePath(std::string_view installPath, std::string_view executableEntry)
{
    std::string path(installPath);
    const bool entryHasSeparator = !executableEntry.empty() && IsSeparator(executableEntry.front());
    const bool pathHasSeparator = !installPath.empty() && IsSeparator(installPath.back());
    if (!entryHasSeparator && !pathHasSeparator)
        path.push_back('\\');
    path += executableEntry;
    return path;
}

std::string ConnectParameters(std::string_view host, std::string_view port)
{
    std::string parameters = " +connect ";
    parameters += host;
    parameters += ':';
    parameters += port;
    return parameters;
}

std::vector<std::string> SteamLaunchArguments(std::uint32_t appId, std::string_view parameters)
{
    std::vector<std::string> arguments{"-applaunch", std::to_string(appId)};
    for (std::string& word : SplitWindowsCommandLine(parameters))
        arguments.push_back(std::move(word));
    return arguments;
}

QString NotInstalledMessage(std::string_view gameCaption)
{
    return QString::fromUtf8(texts::kNotInstalledPrefix) +
           QString::fromUtf8(gameCaption.data(), static_cast<qsizetype>(gameCaption.size())) +
           QString::fromUtf8(texts::kNotInstalledSuffix);
}

} // namespace zorvek
