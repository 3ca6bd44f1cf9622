#include "app/frmMain.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QHeaderView>
#include <QHostAddress>
#include <QHostInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include "app/frmInfo.h"
#include "common/GameTable.h"
#include "common/InfoFile.h"
#include "common/NumberText.h"
#include "common/TextCodec.h"
#include "common/Texts.h"
#include "launch/BrowserPath.h"
#include "launch/ProcessLauncher.h"
#include "launch/ServerJoiner.h"
#include "query/StatusReply.h"
#include "query/StatusSockets.h"
#include "registry/SystemRegistry.h"
#include "registry/cRegistry.h"
#include "search/PlayerSearch.h"
#include "search/frmPlayers.h"
#include "serverlist/HttpGet.h"
#include "serverlist/ServerListParser.h"
#include "widgets/CaptionButton.h"
#include "widgets/ColumnSizer.h"
#include "widgets/ServerRowDelegate.h"

// The window's pictures live in a resource file of a static library: it has to be
// registered by hand, outside any namespace.
static void initWindowResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace zorvek {

namespace {

constexpr int kClientWidth = 891;
constexpr int kClientHeight = 625;

QFont verdana(double points, bool bold = false)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

// Host names are looked up once per refresh at most; dotted addresses never.
struct frmMain::HostCache : std::map<std::string, std::optional<QHostAddress>>
{
};

namespace {

// Only a text that can be a DNS name goes to the resolver: list garbage must not cost
// a lookup (and its time-out) on the window's thread.
bool isHostName(std::string_view host)
{
    if (host.empty() || host.size() > 253 || host.front() == '.' || host.front() == '-')
        return false;
    std::size_t label = 0;
    for (const char c : host) {
        if (c == '.') {
            if (label == 0)
                return false;
            label = 0;
            continue;
        }
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '-' || c == '_';
        if (!allowed || ++label > 63)
            return false;
    }
    return true;
}

std::optional<QHostAddress> resolveHost(const std::string& host, frmMain::HostCache& cache)
{
    if (host.empty())
        return std::nullopt;
    const auto known = cache.find(host);
    if (known != cache.end())
        return known->second;
    std::optional<QHostAddress> result;
    const QString name = QString::fromLatin1(host.data(), static_cast<qsizetype>(host.size()));
    QHostAddress literal;
    if (literal.setAddress(name)) {
        result = literal;
    } else if (isHostName(host)) {
        const QHostInfo info = QHostInfo::fromName(name);
        const QList<QHostAddress> addresses = info.addresses();
        const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol;
        });
        if (v4 != addresses.end())
            result = *v4;
        else if (!addresses.isEmpty())
            result = addresses.first();
    }
    cache[host] = result;
    return result;
}

// A port text counts only as a whole number 1..65535.
std::optional<quint16> portNumber(const std::string& text)
{
    bool ok = false;
    const uint port =
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).trimmed().toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

} // namespace

frmMain::Options frmMain::DefaultOptions()
{
    Options options;
    options.listHost = QStringLiteral(ZORVEK_LIST_HOST);
    options.webAddress = QStringLiteral(ZORVEK_WEB_ADDRESS);
    options.programFolder = QCoreApplication::applicationDirPath();
    options.versionMajor = ZORVEK_VERSION_MAJOR;
    options.versionMinor = ZORVEK_VERSION_MINOR;
    options.versionPatch = ZORVEK_VERSION_PATCH;
    return options;
}

frmMain::frmMain(Options options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_options(std::move(options)), m_table(std::make_unique<ServerTable>()),
      m_hostCache(std::make_unique<HostCache>())
{
    buildControls();
    sockCOD = new StatusSockets(this);
    connect(sockCOD, &StatusSockets::dataArrival, this, &frmMain::sockCOD_DataArrival);
    Inet1 = new HttpGet(m_options.httpTimeoutMs, this);
    m_launcher = m_options.launcher ? m_options.launcher
                                    : std::shared_ptr<ProcessLauncher>(MakeSystemProcessLauncher());
}

frmMain::~frmMain()
{
    DeletePoster(m_programFolder);
}

void frmMain::buildControls()
{
    initWindowResources();
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);
    setFixedSize(kClientWidth, kClientHeight);

    Label1 = new QLabel(u8(texts::kSearchLabel), this);
    Label1->setGeometry(16, 35, 97, 17);
    Label1->setFont(verdana(8.25));

    editSearch = new QLineEdit(this);
    editSearch->setGeometry(104, 32, 209, 21);
    editSearch->setFont(verdana(8.25));
    connect(editSearch, &QLineEdit::returnPressed, this, [this] { FindPlayer(editSearch->text()); });

    cmdResponse = new CaptionButton(u8(texts::kRefresh), this);
    cmdResponse->setGeometry(328, 32, 104, 49);
    cmdResponse->setFont(verdana(9, true));
    connect(cmdResponse, &QPushButton::clicked, this, &frmMain::cmdResponse_Click);

    Label2 = new QLabel(u8(texts::kAddressLabel), this);
    Label2->setGeometry(40, 68, 57, 17);
    Label2->setFont(verdana(8.25));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    editServerIP = new QLineEdit(this);
    editServerIP->setGeometry(104, 68, 209, 15);
    editServerIP->setFont(verdana(8.25));

    imgLevelshot = new QLabel(this);
    imgLevelshot->setGeometry(448, 13, 152, 82);
    imgLevelshot->setPixmap(QPixmap(QStringLiteral(":/zorvek/default-levelshot.jpg")));

    // The tab strip with its page; the server list lies inside the page area.
    tabPage = new QFrame(this);
    tabPage->setFrameShape(QFrame::StyledPanel);
    tabGames = new QTabBar(this);
    tabGames->setFont(verdana(8.25, true));
    tabGames->setExpanding(false);
    tabGames->setDrawBase(false);
    for (const GameInfo& game : GameTable())
        tabGames->addTab(
            QString::fromLatin1(game.GameCaption.data(), static_cast<qsizetype>(game.GameCaption.size())));
    const int barHeight = tabGames->sizeHint().height();
    tabGames->setGeometry(8, 96, 593, barHeight);
    tabPage->setGeometry(8, 96 + barHeight - 2, 593, 521 - barHeight + 2);
    connect(tabGames, &QTabBar::currentChanged, this, [this] { tabGames_Click(); });

    listServers = new QTreeWidget(this);
    listServers->setGeometry(16, 136, 577, 473);
    listServers->setFont(verdana(8.25));
    listServers->setItemDelegate(new ServerRowDelegate(listServers));
    listServers->setRootIsDecorated(false);
    listServers->setItemsExpandable(false);
    listServers->setUniformRowHeights(true);
    listServers->setAllColumnsShowFocus(true);
    listServers->setSelectionMode(QAbstractItemView::SingleSelection);
    listServers->setHeaderLabels({u8(texts::kColServerName), u8(texts::kColMode), u8(texts::kColMap),
                                  u8(texts::kColFriendlyFire), u8(texts::kColKillCam),
                                  u8(texts::kColPlayers)});
    listServers->header()->setStretchLastSection(false);
    listServers->header()->setSectionsMovable(false);
    listServers->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 1; c < 6; ++c)
        listServers->headerItem()->setTextAlignment(c, Qt::AlignHCenter | Qt::AlignVCenter);
    m_serverColumns = std::make_unique<ColumnSizer>(listServers);
    listServers->installEventFilter(this);
    listServers->viewport()->installEventFilter(this);
    connect(listServers, &QTreeWidget::itemDoubleClicked, this, [this] { listServers_DblClick(); });

    listPlayers = new QTreeWidget(this);
    listPlayers->setGeometry(608, 12, 273, 601);
    listPlayers->setFont(verdana(8.25));
    listPlayers->setRootIsDecorated(false);
    listPlayers->setItemsExpandable(false);
    listPlayers->setUniformRowHeights(true);
    listPlayers->setSelectionMode(QAbstractItemView::SingleSelection);
    listPlayers->setHeaderLabels({u8(texts::kColNick), u8(texts::kColPing), u8(texts::kColScore)});
    listPlayers->header()->setStretchLastSection(false);
    listPlayers->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    listPlayers->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    listPlayers->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);

    setTabOrder(editSearch, cmdResponse);
    editSearch->setFocus();
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
    m_DefaultLevelshot = imgLevelshot->pixmap();
    m_programFolder = m_options.programFolder;
    m_HasLevelshotsFolder = QFileInfo::exists(QDir(m_programFolder).filePath(QStringLiteral("levelshots")));
    m_BrowserPath = FindBrowserPath(registry());

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

    tabGames_Click();
    SendQuery();

    // The selected server stays highlighted while another control has the focus.
    QPalette palette = listServers->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight,
                     palette.brush(QPalette::Active, QPalette::Highlight));
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                     palette.brush(QPalette::Active, QPalette::HighlightedText));
    listServers->setPalette(palette);

    ResizeColumnWidth(listPlayers);
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
    listPlayers->clear();
    listServers->setEnabled(true);

    const int g = tabGames->currentIndex() + 1;
    if (g >= 1 && g <= kGameCount) {
        const GameInfo& game = Game(g);
        ParseServerList(m_ListTexts[static_cast<std::size_t>(g)], game.NumberFormat, *m_table);
        m_LevelshotFolder = QString::fromLatin1(game.LevelshotFolder.data(),
                                                static_cast<qsizetype>(game.LevelshotFolder.size()));
        imgLevelshot->setPixmap(m_DefaultLevelshot);
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
    ResizeColumnWidth(listPlayers);
}

void frmMain::cmdResponse_Click()
{
    cmdResponse->setEnabled(false);
    cmdResponse->setText(u8(texts::kWaiting));
    SendQuery();
    cmdResponse->setText(u8(texts::kRefreshList));
    cmdResponse->setEnabled(true);
}

void frmMain::SendQuery()
{
    m_hostCache->clear();
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
    m_hostCache->clear();
    ServerSlot& slot = (*m_table)[Server];
    queryOne(Server);
    // The row keeps what it shows until the reply comes.
    slot.ShownReplied = slot.Replied;
}

void frmMain::queryOne(std::uint8_t Server)
{
    ServerSlot& slot = (*m_table)[Server];
    slot.Replied = false;
    // A host that cannot be resolved or a port that is no port skips the send;
    // the slot still takes the reset values.
    // The port is checked first: a record without a usable port costs no name lookup.
    if (const auto port = portNumber(slot.ServerPort)) {
        if (const auto address = resolveHost(slot.ServerHost, *m_hostCache))
            sockCOD->send(Server, *address, *port, m_StatusQuery);
    }
    static const std::string unsetText = "---";
    static const std::string unsetSetting = "-";
    slot.GameType = unsetText;
    slot.MapName = unsetText;
    slot.FriendlyFire = unsetSetting;
    slot.KillCam = unsetSetting;
    slot.MaxClients = 0;
    slot.NumPlayers = 0;
}

void frmMain::sockCOD_DataArrival(int Index, const QByteArray& datagram)
{
    if (datagram.size() <= 10)
        return;
    if (Index < 1 || Index > kMaxServers)
        return;
    ServerTable& table = *m_table;
    ServerSlot& slot = table[Index];
    slot.ReplyText.assign(datagram.constData(), static_cast<std::size_t>(datagram.size()));
    // Only the first reply to a query counts: later datagrams are dropped with the socket.
    sockCOD->close(Index);
    if (slot.ReplyText.empty())
        return;
    slot.Replied = true;
    slot.ShownReplied = true;

    slot.GameType = GetParam(slot.ReplyText, "g_gametype");
    slot.MapName = GetParam(slot.ReplyText, "mapname");
    slot.FriendlyFire = GetParam(slot.ReplyText, "scr_friendlyfire");
    slot.KillCam = GetParam(slot.ReplyText, "scr_killcam");
    slot.MaxClients = ReadMaxClients(GetParam(slot.ReplyText, "sv_maxclients"));
    slot.NumPlayers = GetNumPlayers(slot.ReplyText);

    ShowServerStatus(static_cast<std::uint8_t>(Index));
    if (slot.Replied && Index == selectedServer()) {
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
    m_pendingCaptionTab = tabGames->currentIndex();
    if (!m_captionQueued) {
        m_captionQueued = true;
        QMetaObject::invokeMethod(this, &frmMain::showTabCaption, Qt::QueuedConnection);
    }
}

void frmMain::showTabCaption()
{
    m_captionQueued = false;
    if (tabGames->tabText(m_pendingCaptionTab) != m_pendingCaption)
        tabGames->setTabText(m_pendingCaptionTab, m_pendingCaption);
}

void frmMain::ShowServerStatus(std::uint8_t Server)
{
    // A late reply for a slot of a longer list of the previous game has no row.
    if (Server < 1 || Server > listServers->topLevelItemCount())
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
    imgLevelshot->setVisible(true);
    if (!m_HasLevelshotsFolder)
        return;
    const std::string& map = (*m_table)[Server].MapName;
    m_LevelshotPath = QDir(m_programFolder).filePath(QStringLiteral("levelshots/")) +
                      QString(m_LevelshotFolder).replace(QLatin1Char('\\'), QLatin1Char('/')) +
                      FromCp1250(map) + QStringLiteral(".jpg");
    // A map name is the server's text: it must not lead the lookup out of the game's folder.
    const bool plainName =
        map.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos && map != ".." && map != ".";
    QPixmap picture;
    if (plainName && QFileInfo(m_LevelshotPath).isFile() && picture.load(m_LevelshotPath))
        imgLevelshot->setPixmap(picture);
    else
        imgLevelshot->setPixmap(m_DefaultLevelshot);
}

void frmMain::GetPlayersList(std::uint8_t Server, bool ShowP)
{
    ServerSlot& slot = (*m_table)[Server];
    const int pairs = ParsePlayers(slot.ReplyText, slot.Players);
    listPlayers->clear();
    if (ShowP) {
        for (int k = 1; k <= std::min(pairs, kMaxPlayers); ++k) {
            const PlayerSlot& player = slot.Players[static_cast<std::size_t>(k)];
            auto* row = new QTreeWidgetItem(listPlayers,
                                            {FromCp1250(player.PlayerName),
                                             QString::fromStdString(ShortestDecimalText(player.PlayerPing)),
                                             FromCp1250(player.PlayerScore)});
            row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    ResizeColumnWidth(listPlayers);
}

int frmMain::selectedServer() const
{
    const QList<QTreeWidgetItem*> selected = listServers->selectedItems();
    if (selected.isEmpty())
        return 0;
    return listServers->indexOfTopLevelItem(selected.first()) + 1;
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
        m_joiner = std::make_unique<ServerJoiner>(registry(), *m_launcher, m_BrowserPath);
    return *m_joiner;
}

void frmMain::showServerAddress(int Server)
{
    const ServerSlot& slot = (*m_table)[Server];
    editServerIP->setText(FromCp1250(slot.ServerHost) + QLatin1Char(':') + FromCp1250(slot.ServerPort));
}

void frmMain::JoinServer(std::uint8_t Server)
{
    if (Server < 1 || Server > m_table->ServerCount)
        return;
    const ServerSlot& slot = (*m_table)[Server];
    JoinRequest request;
    request.gameIndex = tabGames->currentIndex() + 1;
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
    listPlayers->clear();
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
    imgLevelshot->setPixmap(m_DefaultLevelshot);
    SendQueryOne(static_cast<std::uint8_t>(target));
    showServerAddress(target);
}

void frmMain::listServers_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift)
{
    const int server = selectedServer();
    if (server == 0)
        return;
    listPlayers->clear();
    imgLevelshot->setPixmap(m_DefaultLevelshot);
    ShowServerStatus(static_cast<std::uint8_t>(server));
    SendQueryOne(static_cast<std::uint8_t>(server));
    showServerAddress(server);
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ShiftModifier)
        JoinServer(static_cast<std::uint8_t>(server));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == listServers && event->type() == QEvent::KeyPress) {
        listServers_KeyDown(static_cast<QKeyEvent*>(event)->key());
    } else if (watched == listServers->viewport() && event->type() == QEvent::MouseButtonRelease) {
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
    std::optional<InfoPoster> poster =
        LoadInfoPoster(m_ListTexts[0], m_programFolder,
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
    m_frmInfo = std::make_unique<frmInfo>(
        *poster, [this](const std::string& link) { joiner().OpenLink(link); }, this);
    m_frmInfo->exec();
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
    DeletePoster(m_programFolder);
}

void frmMain::FindPlayer(const QString& Find)
{
    cmdResponse_Click();
    ServerTable& table = *m_table;
    const FoundPlayers found = CollectFoundPlayers(table, Find);
    // Reading every server's players leaves the player list empty.
    if (table.ServerCount >= 1) {
        listPlayers->clear();
        ResizeColumnWidth(listPlayers);
    }
    if (found.tooMany) {
        showMessage(QMessageBox::Information, u8(texts::kInfoTitle),
                    u8(texts::kTooManyPlayersPrefix) + QString::number(kMaxFoundPlayers) + QLatin1Char(')'));
        return;
    }
    if (!m_frmPlayers)
        m_frmPlayers = std::make_unique<frmPlayers>();
    if (found.FoundCount == 0) {
        showMessage(QMessageBox::Information, u8(texts::kInfoTitle), u8(texts::kNoPlayerFound));
        return;
    }
    m_frmPlayers->setHits(found.hits);
    m_frmPlayers->exec();
    listServers->setFocus();

    const int chosen = m_frmPlayers->ChosenServer();
    if (chosen < 1 || chosen > listServers->topLevelItemCount())
        return;
    QTreeWidgetItem* row = listServers->topLevelItem(chosen - 1);
    listServers->clearSelection();
    listServers->setCurrentItem(row);
    row->setSelected(true);
    listServers->setFocus();
    listServers->scrollToItem(row);
    SendQueryOne(static_cast<std::uint8_t>(chosen));
    GetPlayersList(static_cast<std::uint8_t>(selectedServer()), true);
}

} // namespace zorvek
