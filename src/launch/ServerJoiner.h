#pragma once

#include <string>
#include <string_view>

#include <QString>

#include "launch/GameLocator.h"

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
    ClientNotStarted, // installed, but the start failed (wine, steam or folder missing); nothing to report
    LinkOpened,       // a link entry went to the browser
    LinkNotOpened,    // a link entry, but no web address, no browser or it did not start; nothing to report
    NotInstalled,     // no place has the game installed: show `message`
};

struct JoinResult
{
    JoinOutcome outcome;
    QString message; // for NotInstalled: the text of the "Info" message box
};

// Joins a server: starts the installed game client connected to it, or opens a link
// entry in the browser. Finds the installation through the program's shared registry
// and, below the search home, the places of Lutris, Bottles and Steam (GameLocator).
class ServerJoiner
{
public:
    ServerJoiner(cRegistry& registry, ProcessLauncher& launcher, std::string browserPath = {},
                 QString searchHome = {});

    const std::string& BrowserPath() const { return m_browserPath; }
    void SetBrowserPath(std::string browserPath) { m_browserPath = std::move(browserPath); }

    // A link entry opens its link in the browser without touching the registry; a game
    // server starts the client of game `gameIndex` with " +connect host:port" where the
    // game is installed: in its install folder through the Wine prefix that names it, or
    // through Steam; or it gives NotInstalled with the message to show.
    JoinResult JoinServer(const JoinRequest& request);

    // Starts the browser with the web address of `link` as its one argument (link
    // entries, the info poster). False, and nothing started, when there is no browser or
    // the link is not a web address (see WebAddress).
    bool OpenLink(std::string_view link);

private:
    bool startClient(const GameInstallation& installation, const GameInfo& game, std::string_view parameters);

    GameLocator m_locator;
    ProcessLauncher& m_launcher;
    std::string m_browserPath;
};

} // namespace zorvek
