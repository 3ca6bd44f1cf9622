// The window under load: the refresh button pressed 100 times in a row with 255 servers
// answering, and 255 servers answering at once with 1,400-byte replies. Prints the
// longest time the event loop was blocked and the peak memory of each.
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include <QApplication>
#include <QCommandLineParser>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "BenchWindow.h"
#include "EventLoopWatch.h"
#include "MemoryUse.h"
#include "ServerProcess.h"
#include "Stats.h"
#include "app/frmMain.h"
#include "common/EventDispatcher.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Outcome
{
    bool complete = false;
    double totalMs = 0;
    double longestGapMs = 0;
    double p99GapMs = 0;
    double longestClickMs = 0;
    double longestReplyUs = 0;
    long startKiB = 0;
    long peakKiB = 0;
};

// Lets whatever the run left queued happen while still watched, then takes the figures.
void finish(Outcome& o, zorvek::EventLoopWatch& watch, zorvek::BenchWindow& bench)
{
    QTest::qWait(200);
    watch.stop();
    o.longestGapMs = watch.longestGapMs();
    o.p99GapMs = zorvek::Summarize(watch.gapsMs()).p99;
    o.longestReplyUs = zorvek::Summarize(bench.handlerMicros()).max;
    o.peakKiB = zorvek::PeakResidentKiB();
}

// One click on the refresh button, timed.
double click(zorvek::frmMain& window)
{
    const Clock::time_point start = Clock::now();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdResponse")), Qt::LeftButton);
    return msSince(start);
}

void print(const char* name, const Outcome& o)
{
    std::printf("  %s\n", name);
    std::printf(
        "    event loop blocked at most %.2f ms (p99 gap between 1-ms ticks %.2f ms); whole run %.0f ms%s\n",
        o.longestGapMs, o.p99GapMs, o.totalMs, o.complete ? "" : "; NOT ALL REPLIES CAME");
    std::printf("    longest click handler %.2f ms, longest reply handler %.1f us\n", o.longestClickMs,
                o.longestReplyUs);
    std::printf("    peak memory (VmHWM) %.1f MiB, resident before %.1f MiB\n", o.peakKiB / 1024.0,
                o.startKiB / 1024.0);
}

// 100 clicks, each its own event as a user's would be, as fast as the loop allows;
// then the replies to the last refresh.
Outcome hundredClicks(zorvek::BenchWindow& bench, int clicks)
{
    Outcome o;
    zorvek::frmMain& window = bench.window();
    zorvek::EventLoopWatch watch;
    bench.clearHandlerTimes();
    zorvek::ResetPeakResident();
    o.startKiB = zorvek::ResidentKiB();
    int done = 0;
    bool lastClicked = false;
    std::function<void()> next = [&] {
        o.longestClickMs = std::max(o.longestClickMs, click(window));
        if (++done < clicks) {
            QTimer::singleShot(0, &bench, next);
        } else {
            bench.beginRound();
            lastClicked = true;
        }
    };
    const Clock::time_point start = Clock::now();
    watch.start();
    QTimer::singleShot(0, &bench, next);
    const bool allClicked = QTest::qWaitFor([&] { return lastClicked; }, 30000);
    o.complete = allClicked && bench.waitForRound(10000);
    o.totalMs = msSince(start);
    finish(o, watch, bench);
    return o;
}

// Refreshes whose 255 replies all arrive at once.
Outcome burstRefreshes(zorvek::BenchWindow& bench, int refreshes)
{
    Outcome o;
    o.complete = true;
    zorvek::EventLoopWatch watch;
    bench.clearHandlerTimes();
    zorvek::ResetPeakResident();
    o.startKiB = zorvek::ResidentKiB();
    const Clock::time_point start = Clock::now();
    watch.start();
    for (int r = 0; r < refreshes; ++r) {
        o.longestClickMs = std::max(o.longestClickMs, click(bench.window()));
        bench.beginRound();
        o.complete = bench.waitForRound(10000) && o.complete;
        QTest::qWait(5);
    }
    o.totalMs = msSince(start);
    finish(o, watch, bench);
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption clicksOption(QStringLiteral("clicks"),
                                          QStringLiteral("Refresh clicks (default 100)."),
                                          QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption burstsOption(QStringLiteral("bursts"),
                                          QStringLiteral("Refreshes answered at once (default 20)."),
                                          QStringLiteral("N"), QStringLiteral("20"));
    parser.addOptions({clicksOption, burstsOption});
    parser.process(app);
    const int clicks = std::max(1, parser.value(clicksOption).toInt());
    const int bursts = std::max(1, parser.value(burstsOption).toInt());
    constexpr int kServers = 255;

    Outcome clicked, burst;
    int burstBytes = 0;
    {
        zorvek::ServerProcess servers;
        auto bench = std::make_unique<zorvek::BenchWindow>();
        if (!servers.start({QStringLiteral("--servers"), QString::number(kServers)}) ||
            !bench->start(servers.listHost(), kServers)) {
            std::fprintf(stderr, "bench_load: the window did not start against %d servers\n", kServers);
            return 1;
        }
        clicked = hundredClicks(*bench, clicks);
    }
    {
        zorvek::ServerProcess servers;
        auto bench = std::make_unique<zorvek::BenchWindow>();
        if (!servers.start({QStringLiteral("--servers"), QString::number(kServers),
                            QStringLiteral("--reply-bytes"), QStringLiteral("1400"),
                            QStringLiteral("--burst")}) ||
            !bench->start(servers.listHost(), kServers)) {
            std::fprintf(stderr, "bench_load: the window did not start against %d servers\n", kServers);
            return 1;
        }
        burstBytes = servers.replyBytes();
        burst = burstRefreshes(*bench, bursts);
    }

    std::printf("Load on the main window (offscreen), %d emulated CoD4 servers on loopback, one run\n",
                kServers);
    char name[160];
    std::snprintf(name, sizeof name, "refresh button clicked %d times in a row, each click its own event",
                  clicks);
    print(name, clicked);
    std::snprintf(name, sizeof name, "%d refreshes, all %d servers answering at once with %d-byte replies",
                  bursts, kServers, burstBytes);
    print(name, burst);
    return clicked.complete && burst.complete ? 0 : 1;
}
