#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QByteArray>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "common/DataFolders.h"
#include "query/WaitingQueries.h"
#include "serverlist/ServerTable.h"

class QTimer;

namespace Ui {
class frmMain;
}

namespace zorvek {

class ColumnSizer;
class HostLookup;
class HttpGet;
class PosterFile;
class ProcessLauncher;
class RegistryBackend;
class ServerJoiner;
class StartupWindow;
class StatusSockets;
class cRegistry;
class frmInfo;
class frmPlayers;
struct InfoPoster;

// The main window: owns the state of the run (game table selection, server table,
// downloaded lists, the status sockets) and its controls, and wires their events to
// the program's handlers. Everything runs on the one GUI thread.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    // What a deployment or a test decides; the program itself has no settings.
    struct Options
    {
        QString listHost;      // host name or address, optionally ":port"
        QString webAddress;    // the maker's web address in the caption
        QString programFolder; // the program's folder: the levelshots folders are found from it
        // The desktop's data and runtime folders; empty texts: no user folder of levelshots,
        // and the system's temporary folder for a private folder of the run.
        DataEnvironment environment;
        int httpTimeoutMs = 10000;
        int versionMajor = 0;
        int versionMinor = 0;
        int versionPatch = 0;
        // Where installed games are looked up and how programs are started;
        // empty: the system's (a Wine prefix and wine on Linux).
        std::shared_ptr<RegistryBackend> registryBackend;
        std::shared_ptr<ProcessLauncher> launcher;
        // The home folder whose Lutris, Bottles and Steam installations a join searches
        // after the registry (empty: none); unset: the system's (SystemSearchHome).
        std::optional<QString> searchHome;
    };
    // The build's list host, web address and version, the executable's folder and the
    // process's environment.
    static Options DefaultOptions();

    explicit frmMain(Options options, QWidget* parent = nullptr);
    ~frmMain() override;

    // "Zorvek by Halmund  (build: 1.19)  <web address>" for version 1.1.9.
    static QString WindowCaption(int major, int minor, int patch, const QString& webAddress);

    // Start-up, before the window is first shown.
    void Form_Load();

    void tabGames_Click();
    void cmdResponse_Click();
    void SendQuery();
    void SendQueryOne(std::uint8_t Server);
    void sockCOD_DataArrival(int Index, const QByteArray& datagram);
    void ShowServerStatus(std::uint8_t Server);
    void ShowLevelshot(std::uint8_t Server);
    void GetPlayersList(std::uint8_t Server, bool ShowP);
    void GetListServers(const QString& url, std::uint8_t game);

    // Joining a server and the server list's own commands.
    void JoinServer(std::uint8_t Server);
    void listServers_DblClick();
    void listServers_KeyDown(int keyCode);
    void listServers_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift);

    // Player search over the stored replies of the current game's servers.
    void FindPlayer(const QString& Find);

    // The first time the window gets its size: the info window, once per run.
    void Form_Resize();
    // The main window closes: the secondary windows close, the poster file goes.
    void Form_Unload();

    // The 1-based index of the selected row of listServers, 0 when none is selected.
    int selectedServer() const;
    // The full URL of a file on the list host.
    QString listHostUrl(std::string_view path) const;

    const ServerTable& serverTable() const { return *m_table; }
    const std::string& listText(int index) const { return m_ListTexts[static_cast<std::size_t>(index)]; }
    const QString& gameCaption() const { return m_GameCaption; }
    int totalPlayers() const { return m_TotalPlayers; }
    int socketCount() const;
    const QPixmap& defaultLevelshot() const { return m_DefaultLevelshot; }
    const QString& levelshotPath() const { return m_LevelshotPath; }
    const std::string& browserPath() const { return m_BrowserPath; }
    int infoState() const { return m_InfoState; }
    // The secondary windows, null until first used.
    frmPlayers* playersWindow() const { return m_frmPlayers; }
    frmInfo* infoWindow() const { return m_frmInfo; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();

    // The controls, named as the program's documents name them (frmMain.ui); tests reach
    // them by these object names.
    std::unique_ptr<Ui::frmMain> ui;
    StatusSockets* sockCOD = nullptr;
    HttpGet* Inet1 = nullptr;

    // The one shared registry object, created on first use.
    cRegistry& registry();
    ServerJoiner& joiner();
    void showServerAddress(int Server);
    void loadInfo();
    // Start-up's downloads: started side by side, the start-up window while they run.
    void startDownloads();
    void showStartupWindow();
    void showStartupProgress();
    void endDownloads();
    // Steps shared by SendQuery and SendQueryOne: send the query, reset the values.
    void queryOne(std::uint8_t Server);
    // A name lookup ended: the queries that waited for it go out.
    void hostLookedUp(const QByteArray& host);
    // Writes the latest caption of sockCOD_DataArrival to its tab, unless it already reads so.
    void showTabCaption();
    void showMessage(int icon, const QString& title, const QString& text);

    Options m_options;
    std::unique_ptr<ServerTable> m_table;
    std::unique_ptr<ColumnSizer> m_serverColumns;
    std::array<std::string, 6> m_ListTexts;
    int m_ListFetchStatus = 0;
    QByteArray m_StatusQuery;
    QString m_GameCaption;
    std::string_view m_LevelshotFolder; // the current game's, from the game table
    QString m_LevelshotPath;
    QPixmap m_DefaultLevelshot;
    QString m_programFolder;
    QString m_levelshotsFolder;
    bool m_HasLevelshotsFolder = false;
    std::int16_t m_TotalPlayers = 0;
    QString m_pendingCaption;
    int m_pendingCaptionTab = 0;
    bool m_captionQueued = false;
    std::string m_BrowserPath;
    std::unique_ptr<cRegistry> m_registry;
    std::shared_ptr<ProcessLauncher> m_launcher;
    std::unique_ptr<ServerJoiner> m_joiner;
    // The secondary windows are children of this one, created on first use and kept.
    frmPlayers* m_frmPlayers = nullptr;
    frmInfo* m_frmInfo = nullptr;
    std::unique_ptr<InfoPoster> m_infoPoster;
    std::unique_ptr<PosterFile> m_posterFile;
    // Start-up: the window appears when the downloads take longer than this.
    static constexpr int kStartupWindowDelayMs = 300;
    static constexpr int kStartupWindowRetryMs = 100;
    QTimer* m_startupTimer = nullptr;
    StartupWindow* m_startupWindow = nullptr;
    QMetaObject::Connection m_posterFollowsInfo;
    QMetaObject::Connection m_startupProgress;
    std::uint8_t m_InfoState = 99;
    bool m_resized = false;

    HostLookup* m_hostLookup = nullptr;
    WaitingQueries m_waitingQueries;
};

} // namespace zorvek
