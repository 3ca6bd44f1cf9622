#include "BenchWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/frmMain.h"
#include "query/StatusSockets.h"

namespace zorvek {

BenchWindow::BenchWindow() : m_counted(256, false), m_replies(256) {}

BenchWindow::~BenchWindow() = default;

bool BenchWindow::start(const QString& listHost, int expectedReplies, int timeoutMs)
{
    frmMain::Options options;
    options.listHost = listHost;
    options.webAddress = QStringLiteral("http://www.example.cz");
    options.programFolder = m_folder.path();
    options.httpTimeoutMs = 5000;
    options.versionMajor = 1;
    options.versionMinor = 1;
    options.versionPatch = 9;
    m_window = std::make_unique<frmMain>(options);

    // The handler is called from here instead of straight from the socket array, so that
    // each call can be timed; what it is given and when stays the same.
    auto* sockets = m_window->findChild<StatusSockets*>(QStringLiteral("sockCOD"));
    disconnect(sockets, &StatusSockets::dataArrival, m_window.get(), &frmMain::sockCOD_DataArrival);
    connect(sockets, &StatusSockets::dataArrival, this, &BenchWindow::handle);
    m_window->findChild<QTreeWidget*>(QStringLiteral("listServers"))->viewport()->installEventFilter(this);

    m_window->Form_Load();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return false;
    m_expected = expectedReplies;
    beginRound();
    m_window->findChild<QTabBar*>(QStringLiteral("tabGames"))
        ->setCurrentIndex(1); // CoD4:MW: its click refreshes the list
    return waitForRound(timeoutMs);
}

void BenchWindow::beginRound()
{
    std::fill(m_counted.begin(), m_counted.end(), false);
    m_replied = 0;
    m_paints = 0;
    m_complete = false;
    m_paintedAfterLast = false;
}

bool BenchWindow::waitForRound(int timeoutMs)
{
    if (!m_complete) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &BenchWindow::roundComplete, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
        if (!m_complete)
            loop.exec();
    }
    return m_complete;
}

void BenchWindow::handle(int slot, const QByteArray& datagram)
{
    const Clock::time_point start = Clock::now();
    m_window->sockCOD_DataArrival(slot, datagram);
    const Clock::time_point end = Clock::now();
    m_handlerMicros.push_back(std::chrono::duration<double, std::micro>(end - start).count());

    if (slot < 1 || slot > 255 || m_counted[static_cast<std::size_t>(slot)] ||
        !m_window->serverTable()[slot].Replied)
        return;
    m_counted[static_cast<std::size_t>(slot)] = true;
    m_replies[static_cast<std::size_t>(slot)] = datagram;
    if (++m_replied != m_expected)
        return;
    m_lastHandled = end;
    // What the last reply changed is painted when the event loop next runs: run it once.
    const int paints = m_paints;
    QCoreApplication::processEvents();
    m_painted = Clock::now();
    m_paintedAfterLast = m_paints > paints;
    m_complete = true;
    emit roundComplete();
}

bool BenchWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        ++m_paints;
    return QObject::eventFilter(watched, event);
}

} // namespace zorvek
