#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include <QByteArray>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "common/DataFolders.h"
#include "serverlist/ServerTable.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTreeWidget;
class QFrame;

namespace zorvek {

class ColumnSizer;
class HttpGet;
class PosterFile;
class ProcessLauncher;
class RegistryBackend;
class ServerJoiner;
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
    frmPlayers* playersWindow() const { return m_frmPlayers.get(); }
    frmInfo* infoWindow() const { return m_frmInfo.get(); }

    // The controls, named as the program's documents name them.
    QTabBar* tabGames = nullptr;
    QFrame* tabPage = nullptr;
    QTreeWidget* listServers = nullptr;
    QTreeWidget* listPlayers = nullptr;
    QLineEdit* editSearch = nullptr;
    QLineEdit* editServerIP = nullptr;
    QPushButton* cmdResponse = nullptr;
    QLabel* imgLevelshot = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    StatusSockets* sockCOD = nullptr;
    HttpGet* Inet1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The one shared registry object, created on first use.
    cRegistry& registry();
    ServerJoiner& joiner();
    void showServerAddress(int Server);
    void loadInfo();
    // Steps shared by SendQuery and SendQueryOne: send the query, reset the values.
    void queryOne(std::uint8_t Server);
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
    QString m_LevelshotFolder;
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
    std::unique_ptr<frmPlayers> m_frmPlayers;
    std::unique_ptr<frmInfo> m_frmInfo;
    std::unique_ptr<InfoPoster> m_infoPoster;
    std::unique_ptr<PosterFile> m_posterFile;
    std::uint8_t m_InfoState = 99;
    bool m_resized = false;

public:
    struct HostCache;

private:
    std::unique_ptr<HostCache> m_hostCache;
};

} // namespace zorvek
