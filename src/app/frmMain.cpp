#include "app/frmMain.h"
#include "ui_frmMain.h"

#include <algorithm>
#include <array>
#include <optional>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>

#include "app/AppIcon.h"
#include "app/StartupWindow.h"
#include "app/frmInfo.h"
#include "common/GameTable.h"
#include "common/InfoFile.h"
#include "common/NumberText.h"
#include "common/PosterFile.h"
#include "common/TextCodec.h"
#include "common/Texts.h"
#include "launch/BrowserPath.h"
#include "launch/GameLocator.h"
#include "launch/ProcessLauncher.h"
#include "launch/ServerJoiner.h"
#include "query/HostLookup.h"
#include "query/HostNames.h"
#include "query/Levelshot.h"
#include "query/ServerSlotUpdate.h"
#include "query/StatusReply.h"
#include "query/StatusSockets.h"
#include "registry/SystemRegistry.h"
#include "registry/cRegistry.h"
#include "search/PlayerSearch.h"
#include "search/frmPlayers.h"
#include "serverlist/HttpGet.h"
#include "serverlist/ServerListParser.h"
#include "widgets/ColumnFitter.h"
#include "widgets/ColumnSizer.h"
#include "widgets/Fonts.h"
#include "widgets/ServerRowDelegate.h"

// The window's pictures live in a resource file of a static library: it has to be
// registered by hand, outside any namespace.
static void initWindowResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace zorvek {

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

frmMain::Options frmMain::DefaultOptions()
{
    Options options;
    options.listHost = QStringLiteral(ZORVEK_LIST_HOST);
    options.webAddress = QStringLiteral(ZORVEK_WEB_ADDRESS);
    options.programFolder = QCoreApplication::applicationDirPath();
    options.environment = ProcessDataEnvironment();
    options.versionMajor = ZORVEK_VERSION_MAJOR;
    options.versionMinor = ZORVEK_VERSION_MINOR;
    options.versionPatch = ZORVEK_VERSION_PATCH;
    return options;
}

frmMain::frmMain(Options options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmMain>()), m_options(std::move(options)),
      m_table(std::make_unique<ServerTable>())
{
    buildControls();
    sockCOD = new StatusSockets(this);
    sockCOD->setObjectName(QStringLiteral("sockCOD"));
    connect(sockCOD, &StatusSockets::dataArrival, this, &frmMain::sockCOD_DataArrival);
    m_hostLookup = new HostLookup(this);
    connect(m_hostLookup, &HostLookup::lookedUp, this, &frmMain::hostLookedUp);
    Inet1 = new HttpGet(m_options.httpTimeoutMs, this);
    Inet1->setObjectName(QStringLiteral("Inet1"));
    m_launcher = m_options.launcher ? m_options.launcher
                                    : std::shared_ptr<ProcessLauncher>(MakeSystemProcessLauncher());
}

// The poster file goes with m_posterFile.
frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    initWindowResources();
    ui->setupUi(this);
    setWindowIcon(AppIcon());
    setFont(Tahoma(8.25));
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui->Label1, ui->editSearch, ui->Label2, ui->editServerIP, ui->listServers, ui->listPlayers})
        control->setFont(Verdana(8.25));
    ui->cmdResponse->setFont(Verdana(9, true));
    ui->tabGames->setFont(Verdana(8.25, true));

    ui->tabGames->setExpanding(false);
    ui->tabGames->setDrawBase(false);
    for (const GameInfo& game : GameTable())
        ui->tabGames->addTab(
            QString::fromLatin1(game.GameCaption.data(), static_cast<qsizetype>(game.GameCaption.size())));
    // The strip is as high as its font needs; the page below it takes the rest of the 521 pixels.
    const QRect strip = ui->tabGames->geometry();
    const int barHeight = ui->tabGames->sizeHint().height();
    ui->tabGames->setGeometry(strip.x(), strip.y(), strip.width(), barHeight);
    ui->tabPage->setGeometry(strip.x(), strip.y() + barHeight - 2, strip.width(), 521 - barHeight + 2);

    ui->listServers->setItemDelegate(new ServerRowDelegate(ui->listServers));
    // The columns keep the order of the program's documents.
    ui->listServers->header()->setSectionsMovable(false);
    ui->listPlayers->header()->setSectionsMovable(false);
    m_serverColumns = std::make_unique<ColumnSizer>(ui->listServers);
    new ColumnFitter(ui->listServers, [this] { m_serverColumns->apply(); });
    new ColumnFitter(ui->listPlayers, [this] { ResizeColumnWidth(ui->listPlayers); });
    ui->listServers->installEventFilter(this);
    ui->listServers->viewport()->installEventFilter(this);

    connect(ui->editSearch, &QLineEdit::returnPressed, this, [this] { FindPlayer(ui->editSearch->text()); });
    connect(ui->cmdResponse, &QPushButton::clicked, this, &frmMain::cmdResponse_Click);
    connect(ui->tabGames, &QTabBar::currentChanged, this, [this] { tabGames_Click(); });
    connect(ui->listServers, &QTreeWidget::itemDoubleClicked, this, [this] { listServers_DblClick(); });
    ui->editSearch->setFocus();
}

QString frmMain::WindowCaption(int major, int minor, int patch, const QString& webAddress)
{
    return u8(texts::kCaptionPrefix) + QString::number(major) + QLatin1Char('.') + QString::number(minor) +
           QString::number(patch) + QStringLiteral(")  ") + webAddress;
}

QString frmMain::listHostUrl(std::string_view path) const
{
    return QStringLiteral("http://") + m_options.listHost +
           QString::fromLatin1(path.data(), static_cast<qsizetype>(path.size()));
}

int frmMain::socketCount() const
{
    return sockCOD->count();
}

void frmMain::Form_Load()
{
    m_StatusQuery = QByteArray::fromStdString(StatusQuery());
    setWindowTitle(WindowCaption(m_options.versionMajor, m_options.versionMinor, m_options.versionPatch,
                                 m_options.webAddress));
    m_DefaultLevelshot = ui->imgLevelshot->pixmap();
    m_programFolder = m_options.programFolder;
    m_levelshotsFolder = FindLevelshotsFolder(m_programFolder, m_options.environment);
    m_HasLevelshotsFolder = !m_levelshotsFolder.isEmpty();
    m_BrowserPath = FindBrowserPath(registry());

    // The downloads of steps 7 and 9 run side by side from here on; each step below takes
    // its results in the documented order, waiting for them where they are not in yet.
    startDownloads();

    m_ListFetchStatus = 0;
    for (int game = 1; game <= kGameCount; ++game) {
        GetListServers(listHostUrl(Game(game).ListPath), static_cast<std::uint8_t>(game));
        if (m_ListFetchStatus != 0) {
            m_ListTexts[static_cast<std::size_t>(game)].clear();
            m_ListFetchStatus = 0;
        }
    }

    sockCOD->createSockets();

    loadInfo();
    endDownloads();

    tabGames_Click();
    SendQuery();

    // The selected server stays highlighted while another control has the focus.
    QPalette palette = ui->listServers->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight,
                     palette.brush(QPalette::Active, QPalette::Highlight));
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                     palette.brush(QPalette::Active, QPalette::HighlightedText));
    ui->listServers->setPalette(palette);

    ResizeColumnWidth(ui->listPlayers);
}

void frmMain::startDownloads()
{
    const QString infoUrl = listHostUrl(kInfoPath);
    // The poster follows the info file as soon as that is in, while the lists still come.
    m_posterFollowsInfo = connect(
        Inet1, &HttpGet::downloadEnded, this, [this, infoUrl](const QString& url, const QByteArray& body) {
            if (url != infoUrl)
                return;
            const std::string_view text(body.constData(), static_cast<std::size_t>(body.size()));
            if (const std::optional<InfoFile> info = ParseInfoFile(text))
                Inet1->prefetch(PosterUrlOf(*info), HttpGet::kPictureLimit);
        });
    m_startupProgress = connect(Inet1, &HttpGet::downloadEnded, this, &frmMain::showStartupProgress);
    for (int game = 1; game <= kGameCount; ++game)
        Inet1->prefetch(listHostUrl(Game(game).ListPath), HttpGet::kTextLimit);
    Inet1->prefetch(infoUrl, HttpGet::kTextLimit);

    // A start-up that takes a while shows what it does.
    m_startupTimer = new QTimer(this);
    m_startupTimer->setSingleShot(true);
    connect(m_startupTimer, &QTimer::timeout, this, &frmMain::showStartupWindow);
    m_startupTimer->start(kStartupWindowDelayMs);
}

void frmMain::showStartupWindow()
{
    if (Inet1->endedCount() == Inet1->startedCount())
        return;
    // The message box of a failed list stays on top: the window waits until it is closed.
    if (QApplication::activeModalWidget()) {
        m_startupTimer->start(kStartupWindowRetryMs);
        return;
    }
    m_startupWindow = new StartupWindow(this);
    m_startupWindow->setProgress(Inet1->endedCount(), Inet1->startedCount());
    m_startupWindow->show();
}

void frmMain::showStartupProgress()
{
    if (m_startupWindow)
        m_startupWindow->setProgress(Inet1->endedCount(), Inet1->startedCount());
}

void frmMain::endDownloads()
{
    disconnect(m_posterFollowsInfo);
    disconnect(m_startupProgress);
    if (m_startupTimer) {
        m_startupTimer->stop();
        m_startupTimer->deleteLater();
        m_startupTimer = nullptr;
    }
    if (m_startupWindow) {
        m_startupWindow->close();
        m_startupWindow->deleteLater();
        m_startupWindow = nullptr;
    }
}

void frmMain::showMessage(int icon, const QString& title, const QString& text)
{
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text, QMessageBox::Ok, this);
    box.exec();
}

void frmMain::GetListServers(const QString& url, std::uint8_t game)
{
    const QByteArray body = Inet1->get(url, HttpGet::kTextLimit);
    std::string& text = m_ListTexts[std::min<std::size_t>(game, 5)];
    text.assign(body.constData(), static_cast<std::size_t>(body.size()));
    if (text.find("DOCTYPE HTML PUBLIC") != std::string::npos) {
        showMessage(QMessageBox::Critical, u8(texts::kErrorTitle),
                    u8(texts::kListUnavailablePrefix) + url + u8(texts::kUnavailableSuffix));
        m_ListFetchStatus = 1;
    } else if (text.empty()) {
        showMessage(QMessageBox::Critical, u8(texts::kErrorTitle),
                    u8(texts::kListHostUnavailablePrefix) + HttpGet::hostOf(url) +
                        u8(texts::kUnavailableSuffix));
        m_ListFetchStatus = 2;
    }
}

void frmMain::tabGames_Click()
{
    m_serverColumns->clear();
    // The slots will hold the new game's servers: nothing of the old game is sent late.
    m_waitingQueries.clear();
    ui->listPlayers->clear();
    ui->listServers->setEnabled(true);

    const int g = ui->tabGames->currentIndex() + 1;
    if (g >= 1 && g <= kGameCount) {
        const GameInfo& game = Game(g);
        ParseServerList(m_ListTexts[static_cast<std::size_t>(g)], game.NumberFormat, *m_table);
        m_LevelshotFolder = game.LevelshotFolder;
        ui->imgLevelshot->setPixmap(m_DefaultLevelshot);
        m_GameCaption =
            QString::fromLatin1(game.GameCaption.data(), static_cast<qsizetype>(game.GameCaption.size()));
    }

    ServerTable& table = *m_table;
    for (int i = 1; i <= table.ServerCount; ++i) {
        table[i].Replied = false;
        table[i].ShownReplied = true;
        QTreeWidgetItem* row = m_serverColumns->addRow({FromCp1250(table[i].ServerName)});
        for (int c = 1; c < 6; ++c)
            row->setTextAlignment(c, Qt::AlignHCenter | Qt::AlignVCenter);
    }

    cmdResponse_Click();

    m_serverColumns->apply();
    ResizeColumnWidth(ui->listPlayers);
}

void frmMain::cmdResponse_Click()
{
    ui->cmdResponse->setEnabled(false);
    ui->cmdResponse->setText(u8(texts::kWaiting));
    SendQuery();
    ui->cmdResponse->setText(u8(texts::kRefreshList));
    ui->cmdResponse->setEnabled(true);
}

void frmMain::SendQuery()
{
    ServerTable& table = *m_table;
    for (int server = 1; server <= table.ServerCount; ++server) {
        ServerSlot& slot = table[server];
        queryOne(static_cast<std::uint8_t>(server));
        if (slot.ShownReplied != slot.Replied) {
            slot.ShownReplied = slot.Replied;
            ShowServerStatus(static_cast<std::uint8_t>(server));
        }
    }
}

void frmMain::SendQueryOne(std::uint8_t Server)
{
    if (Server < 1)
        return;
    ServerSlot& slot = (*m_table)[Server];
    queryOne(Server);
    // The row keeps what it shows until the reply comes.
    slot.ShownReplied = slot.Replied;
}

void frmMain::queryOne(std::uint8_t Server)
{
    ServerSlot& slot = (*m_table)[Server];
    // The query goes out at once to a known address; a name being looked up sends when its
    // answer comes. A host that cannot be resolved or a port that is no port skips the send
    // silently; the slot takes the reset values in any case. The port is checked first: a
    // record without a usable port costs no name lookup.
    m_waitingQueries.cancel(Server);
    if (const auto port = portNumber(slot.ServerPort)) {
        const HostLookup::Result found = m_hostLookup->find(slot.ServerHost);
        if (found.status == HostLookup::Status::Known)
            sockCOD->send(Server, found.address, *port, m_StatusQuery);
        else if (found.status == HostLookup::Status::Pending)
            m_waitingQueries.add(Server, slot.ServerHost, *port);
    }
    ResetForQuery(slot);
}

void frmMain::hostLookedUp(const QByteArray& host)
{
    const std::string name = host.toStdString();
    const HostLookup::Result found = m_hostLookup->find(name);
    for (const WaitingQueries::Query& query : m_waitingQueries.take(name)) {
        // Only a query that still waits sends: the slot must still hold this server.
        if (query.slot > m_table->ServerCount || (*m_table)[query.slot].ServerHost != name)
            continue;
        if (found.status == HostLookup::Status::Known)
            sockCOD->send(query.slot, found.address, query.port, m_StatusQuery);
    }
}

void frmMain::sockCOD_DataArrival(int Index, const QByteArray& datagram)
{
    if (Index < 1 || Index > kMaxServers || static_cast<std::size_t>(datagram.size()) < kMinReplySize)
        return;
    ServerTable& table = *m_table;
    // Only the first reply to a query counts: later datagrams are dropped with the socket.
    sockCOD->close(Index);
    TakeReply(table[Index],
              std::string_view(datagram.constData(), static_cast<std::size_t>(datagram.size())));

    ShowServerStatus(static_cast<std::uint8_t>(Index));
    if (Index == selectedServer()) {
        ShowLevelshot(static_cast<std::uint8_t>(Index));
        GetPlayersList(static_cast<std::uint8_t>(Index), true);
    }

    int total = 0;
    for (int i = 1; i <= table.ServerCount; ++i)
        total += table[i].NumPlayers;
    m_TotalPlayers = static_cast<std::int16_t>(total);
    // Setting a tab's text lays the whole tab strip out again: with a burst of replies
    // the caption is written once per pass of the event loop, with the latest total.
    m_pendingCaption =
        m_GameCaption + QStringLiteral(" (") + QString::number(m_TotalPlayers) + QLatin1Char(')');
    m_pendingCaptionTab = ui->tabGames->currentIndex();
    if (!m_captionQueued) {
        m_captionQueued = true;
        QMetaObject::invokeMethod(this, &frmMain::showTabCaption, Qt::QueuedConnection);
    }
}

void frmMain::showTabCaption()
{
    m_captionQueued = false;
    if (ui->tabGames->tabText(m_pendingCaptionTab) != m_pendingCaption)
        ui->tabGames->setTabText(m_pendingCaptionTab, m_pendingCaption);
}

void frmMain::ShowServerStatus(std::uint8_t Server)
{
    // A late reply for a slot of a longer list of the previous game has no row.
    if (Server < 1 || Server > ui->listServers->topLevelItemCount())
        return;
    const ServerSlot& slot = (*m_table)[Server];
    const int row = Server - 1;
    const std::array<QString, 6> texts{
        FromCp1250(slot.ServerName),
        FromCp1250(slot.GameType),
        FromCp1250(slot.MapName),
        FromCp1250(slot.FriendlyFire),
        FromCp1250(slot.KillCam),
        slot.Replied ? twoDigits(slot.NumPlayers) + QStringLiteral(" / ") + twoDigits(slot.MaxClients)
                     : QStringLiteral("--"),
    };
    m_serverColumns->setRow(row, texts);
    m_serverColumns->apply();
}

void frmMain::ShowLevelshot(std::uint8_t Server)
{
    ui->imgLevelshot->setVisible(true);
    if (!m_HasLevelshotsFolder)
        return;
    m_LevelshotPath = LevelshotPath(m_levelshotsFolder, m_LevelshotFolder, (*m_table)[Server].MapName);
    QPixmap picture;
    if (!m_LevelshotPath.isEmpty() && QFileInfo(m_LevelshotPath).isFile() && picture.load(m_LevelshotPath))
        ui->imgLevelshot->setPixmap(picture);
    else
        ui->imgLevelshot->setPixmap(m_DefaultLevelshot);
}

void frmMain::GetPlayersList(std::uint8_t Server, bool ShowP)
{
    ServerSlot& slot = (*m_table)[Server];
    const int pairs = ParsePlayers(slot.ReplyText, slot.Players);
    ui->listPlayers->clear();
    if (ShowP) {
        for (int k = 1; k <= std::min(pairs, kMaxPlayers); ++k) {
            const PlayerSlot& player = slot.Players[static_cast<std::size_t>(k)];
            auto* row = new QTreeWidgetItem(ui->listPlayers,
                                            {FromCp1250(player.PlayerName),
                                             QString::fromStdString(ShortestDecimalText(player.PlayerPing)),
                                             FromCp1250(player.PlayerScore)});
            row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    ResizeColumnWidth(ui->listPlayers);
}

int frmMain::selectedServer() const
{
    const QList<QTreeWidgetItem*> selected = ui->listServers->selectedItems();
    if (selected.isEmpty())
        return 0;
    return ui->listServers->indexOfTopLevelItem(selected.first()) + 1;
}

cRegistry& frmMain::registry()
{
    if (!m_registry)
        m_registry = std::make_unique<cRegistry>(m_options.registryBackend ? m_options.registryBackend
                                                                           : MakeSystemRegistryBackend());
    return *m_registry;
}

ServerJoiner& frmMain::joiner()
{
    if (!m_joiner)
        m_joiner = std::make_unique<ServerJoiner>(registry(), *m_launcher, m_BrowserPath,
                                                  m_options.searchHome.value_or(SystemSearchHome()));
    return *m_joiner;
}

void frmMain::showServerAddress(int Server)
{
    const ServerSlot& slot = (*m_table)[Server];
    ui->editServerIP->setText(FromCp1250(slot.ServerHost) + QLatin1Char(':') + FromCp1250(slot.ServerPort));
}

void frmMain::JoinServer(std::uint8_t Server)
{
    if (Server < 1 || Server > m_table->ServerCount)
        return;
    const ServerSlot& slot = (*m_table)[Server];
    JoinRequest request;
    request.gameIndex = ui->tabGames->currentIndex() + 1;
    request.host = slot.ServerHost;
    request.port = slot.ServerPort;
    request.link = slot.ServerLink;
    request.isGame = slot.ServerIsGame;
    const JoinResult result = joiner().JoinServer(request);
    if (result.outcome == JoinOutcome::NotInstalled)
        showMessage(QMessageBox::Information, u8(texts::kInfoTitle), result.message);
}

void frmMain::listServers_DblClick()
{
    const int server = selectedServer();
    if (server == 0)
        return;
    ui->listPlayers->clear();
    showServerAddress(server);
    // A server that has not answered its latest query is not joined.
    if (!(*m_table)[server].Replied)
        return;
    JoinServer(static_cast<std::uint8_t>(server));
}

void frmMain::listServers_KeyDown(int keyCode)
{
    const int row = selectedServer();
    if (row == 0 || (keyCode != Qt::Key_Down && keyCode != Qt::Key_Up))
        return;
    // The row the key moves to; the list view moves the selection itself afterwards.
    int target = row;
    if (keyCode == Qt::Key_Down && row < m_table->ServerCount)
        target = row + 1;
    else if (keyCode == Qt::Key_Up && row > 1)
        target = row - 1;
    ui->imgLevelshot->setPixmap(m_DefaultLevelshot);
    SendQueryOne(static_cast<std::uint8_t>(target));
    showServerAddress(target);
}

void frmMain::listServers_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift)
{
    const int server = selectedServer();
    if (server == 0)
        return;
    ui->listPlayers->clear();
    ui->imgLevelshot->setPixmap(m_DefaultLevelshot);
    ShowServerStatus(static_cast<std::uint8_t>(server));
    SendQueryOne(static_cast<std::uint8_t>(server));
    showServerAddress(server);
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ShiftModifier)
        JoinServer(static_cast<std::uint8_t>(server));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->listServers && event->type() == QEvent::KeyPress) {
        listServers_KeyDown(static_cast<QKeyEvent*>(event)->key());
    } else if (watched == ui->listServers->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        listServers_MouseUp(mouse->button(), mouse->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::loadInfo()
{
    m_InfoState = 0;
    const QByteArray text = Inet1->get(listHostUrl(kInfoPath), HttpGet::kTextLimit);
    m_ListTexts[0].assign(text.constData(), static_cast<std::size_t>(text.size()));
    m_posterFile = std::make_unique<PosterFile>(m_levelshotsFolder, RunFolderBase(m_options.environment));
    std::optional<InfoPoster> poster =
        LoadInfoPoster(m_ListTexts[0], *m_posterFile,
                       [this](const QString& url) { return Inet1->get(url, HttpGet::kPictureLimit); });
    if (poster)
        m_infoPoster = std::make_unique<InfoPoster>(std::move(*poster));
    else
        m_InfoState = 99;
}

void frmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The info window is modal: it opens after the window is on screen, not inside show().
    if (!m_resized) {
        m_resized = true;
        QMetaObject::invokeMethod(this, &frmMain::Form_Resize, Qt::QueuedConnection);
    }
}

void frmMain::Form_Resize()
{
    if (m_InfoState == 99) {
        m_InfoState = 0;
        return;
    }
    if (!m_infoPoster)
        return;
    // Shown once per run: a later size change (minimise and restore) does not bring it back.
    std::unique_ptr<InfoPoster> poster = std::move(m_infoPoster);
    m_frmInfo = new frmInfo(
        *poster, [this](const std::string& link) { joiner().OpenLink(link); }, this);
    m_frmInfo->exec();
    // Back to this window, and typing goes into the search box, as when it first showed.
    activateWindow();
    ui->editSearch->setFocus();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmMain::Form_Unload()
{
    if (m_frmInfo)
        m_frmInfo->close();
    if (m_frmPlayers)
        m_frmPlayers->close();
    if (m_posterFile)
        m_posterFile->remove();
}

void frmMain::FindPlayer(const QString& Find)
{
    cmdResponse_Click();
    ServerTable& table = *m_table;
    const FoundPlayers found = CollectFoundPlayers(table, Find);
    // Reading every server's players leaves the player list empty.
    if (table.ServerCount >= 1) {
        ui->listPlayers->clear();
        ResizeColumnWidth(ui->listPlayers);
    }
    if (found.tooMany) {
        showMessage(QMessageBox::Information, u8(texts::kInfoTitle),
                    u8(texts::kTooManyPlayersPrefix) + QString::number(kMaxFoundPlayers) + QLatin1Char(')'));
        return;
    }
    if (!m_frmPlayers)
        m_frmPlayers = new frmPlayers(this); // a child: it shows the main window's icon
    if (found.FoundCount == 0) {
        showMessage(QMessageBox::Information, u8(texts::kInfoTitle), u8(texts::kNoPlayerFound));
        return;
    }
    m_frmPlayers->setHits(found.hits);
    m_frmPlayers->exec();
    ui->listServers->setFocus();

    const int chosen = m_frmPlayers->ChosenServer();
    if (chosen < 1 || chosen > ui->listServers->topLevelItemCount())
        return;
    QTreeWidgetItem* row = ui->listServers->topLevelItem(chosen - 1);
    ui->listServers->clearSelection();
    ui->listServers->setCurrentItem(row);
    row->setSelected(true);
    ui->listServers->setFocus();
    ui->listServers->scrollToItem(row);
    SendQueryOne(static_cast<std::uint8_t>(chosen));
    GetPlayersList(static_cast<std::uint8_t>(selectedServer()), true);
}

} // namespace zorvek
