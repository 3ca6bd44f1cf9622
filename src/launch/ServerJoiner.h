#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace zorvek {

class cRegistry;
class ProcessLauncher;

// What the join of one server slot needs from the server table and the game tabs.
struct JoinRequest
{
    int gameIndex = 1;  // the selected tab, 1..5
    std::string host;   // ServerHost
    std::string port;   // ServerPort
    std::string link;   // ServerLink
    bool isGame = true; // ServerIsGame
};

enum class JoinOutcome {
    ClientStarted,    // the game client was started
    ClientNotStarted, // installed, but the start failed (wine or folder missing); nothing to report
    LinkOpened,       // a link entry went to the browser
    LinkNotOpened,    // a link entry, but no browser (or it did not start); nothing to report
    NotInstalled,     // the registry has no install path: show `message`
};

struct JoinResult
{
    JoinOutcome outcome;
    QString message; // for NotInstalled: the text of the "Info" message box
};

// Joins a server: starts the installed game client connected to it, or opens a link
// entry in the browser. Reads the install folder through the program's shared registry.
class ServerJoiner
{
public:
    ServerJoiner(cRegistry& registry, ProcessLauncher& launcher, std::string browserPath = {});

    const std::string& BrowserPath() const { return m_browserPath; }
    void SetBrowserPath(std::string browserPath) { m_browserPath = std::move(browserPath); }

    // A link entry opens its link in the browser without touching the registry; a game
    // server starts the client of game `gameIndex` with " +connect host:port" in its
    // install folder, or gives NotInstalled with the message to show.
    JoinResult JoinServer(const JoinRequest& request);

    // Starts the browser with `link` as its one argument (link entries, the info
    // poster). False, and nothing started, when there is no browser.
    bool OpenLink(std::string_view link);

private:
    std::string readInstallPath(std::string_view registryKey);

    cRegistry& m_registry;
    ProcessLauncher& m_launcher;
    std::string m_browserPath;
};

} // namespace zorvek
