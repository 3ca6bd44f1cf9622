// The program as the start-up benchmark starts it: the main window built and loaded as
// main.cpp does, against the benchmark's list host. Reports when the main window's first
// frame was painted and the peak memory; with --servers N it stays until N servers answered
// the start-up refresh (and a click at the first frame) and then one more click, and reports
// the longest time the event loop was blocked from the first frame on.
#include <array>
#include <functional>
#include <memory>

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "ChildRun.h"
#include "EventLoopWatch.h"
#include "FirstPaint.h"
#include "MemoryUse.h"
#include "app/frmMain.h"
#include "common/EventDispatcher.h"
#include "query/StatusSockets.h"
#include "serverlist/ServerTable.h"

namespace {

// Counts the slots that answered since the last begin() and calls back when all expected did.
class ReplyCount : public QObject
{
public:
    ReplyCount(zorvek::frmMain& window, int expected, std::function<void()> complete)
        : m_expected(expected), m_complete(std::move(complete))
    {
        // Connected after the window's own handler: a reply counts once the window took it.
        auto* sockets = window.findChild<zorvek::StatusSockets*>(QStringLiteral("sockCOD"));
        connect(sockets, &zorvek::StatusSockets::dataArrival, this, [this](int slot, const QByteArray&) {
            if (slot < 1 || slot > m_expected || m_seen[static_cast<std::size_t>(slot)])
                return;
            m_seen[static_cast<std::size_t>(slot)] = true;
            if (++m_count == m_expected)
                m_complete();
        });
    }
    void begin()
    {
        m_seen.fill(false);
        m_count = 0;
    }
    int count() const { return m_count; }

private:
    int m_expected;
    std::function<void()> m_complete;
    int m_count = 0;
    std::array<bool, zorvek::kMaxServers + 1> m_seen{};
};

} // namespace

int main(int argc, char** argv)
{
    zorvek::ReportStage("main", false);
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ZORVEK_APP_ID));
    QCoreApplication::setApplicationName(QStringLiteral("zorvek"));
    QCommandLineParser parser;
    const QCommandLineOption hostOption(QStringLiteral("list-host"), QStringLiteral("HOST:PORT"),
                                        QStringLiteral("HOST"));
    const QCommandLineOption stagesOption(QStringLiteral("stages"),
                                          QStringLiteral("Memory after each step of start-up."));
    const QCommandLineOption serversOption(QStringLiteral("servers"),
                                           QStringLiteral("Stay for refreshes of N servers."),
                                           QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({hostOption, stagesOption, serversOption});
    parser.process(app);
    const bool stages = parser.isSet(stagesOption);
    const int servers = parser.value(serversOption).toInt();
    zorvek::ReportStage("app", stages);

    zorvek::frmMain::Options options = zorvek::frmMain::DefaultOptions();
    options.listHost = parser.value(hostOption);
    zorvek::frmMain window(options);
    QApplication::setWindowIcon(window.windowIcon());
    zorvek::ReportStage("window", stages);
    window.Form_Load();
    zorvek::ReportStage("load", stages);

    auto* paint = new zorvek::FirstPaint(&window);
    zorvek::EventLoopWatch watch;
    // The start-up refresh with one click while its names may still be looked up, then one
    // more click after every server answered: two rounds of replies from every server.
    int rounds = 0;
    std::unique_ptr<ReplyCount> replies;
    replies = std::make_unique<ReplyCount>(window, servers, [&] {
        if (++rounds == 1) {
            zorvek::Report("filled_ns", static_cast<long long>(zorvek::MonotonicNs()));
            replies->begin();
            QTimer::singleShot(0, &window, [&window] { window.cmdResponse_Click(); });
            return;
        }
        if (rounds > 2)
            return;
        watch.stop();
        zorvek::Report("stall_us", static_cast<long long>(watch.longestGapMs() * 1000));
        zorvek::Report("peak_kib", static_cast<long long>(zorvek::PeakResidentKiB()));
        QCoreApplication::exit(0);
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &app, [&] {
        zorvek::Report("replied", static_cast<long long>(replies->count()));
        QCoreApplication::exit(1);
    });

    QObject::connect(paint, &zorvek::FirstPaint::firstFrame, &app, [&] {
        zorvek::Report("painted_ns", static_cast<long long>(paint->paintedNs()));
        if (servers == 0) {
            zorvek::ReportStage("painted", stages);
            zorvek::Report("peak_kib", static_cast<long long>(zorvek::PeakResidentKiB()));
            QCoreApplication::exit(0);
            return;
        }
        watch.start();
        deadline.start(20000);
        window.cmdResponse_Click();
    });
    window.show();
    return app.exec();
}
