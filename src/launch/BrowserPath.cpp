#include "launch/BrowserPath.h"

#include <algorithm>
#include <cctype>

#include <QStandardPaths>

#include "common/TextCodec.h"
#include "registry/ReadRegistryText.h"
#include "registry/RegistryBackend.h"

namespace zorvek {

std::string BrowserPathFromCommand(std::string_view command)
{
    constexpr std::string_view kExe = ".exe";
    const auto match =
        std::search(command.begin(), command.end(), kExe.begin(), kExe.end(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    if (match == command.end())
        return {};
    std::string_view path =
        command.substr(0, static_cast<std::size_t>(match - command.begin()) + kExe.size());
    if (path.front() == '"')
        path.remove_prefix(1);
    return std::string(path);
}

std::string ReadBrowserCommand(cRegistry& registry)
{
    // No command reads as empty text: the program goes on without a browser.
    return ReadRegistryText(registry, reg::kHkeyClassesRoot, "HTTP\\shell\\open\\command", "");
}

std::string FindBrowserPath([[maybe_unused]] cRegistry& registry)
{
#ifdef Q_OS_WIN
    return BrowserPathFromCommand(ReadBrowserCommand(registry));
#else
    // Linux opens web addresses with the desktop's own opener.
    return ToCp1250(QStandardPaths::findExecutable(QStringLiteral("xdg-open")));
#endif
}

} // namespace zorvek
