// One refresh of 255 servers, side by side: the main window (send, handle, paint),
// quakestat with its defaults and tuned, and a floor of plain sockets; plus the time
// the window's reply handler takes for one reply at 255 rows.
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QTest>
#include <QTreeWidget>

#include "BenchWindow.h"
#include "PlainQueryLoop.h"
#include "QstatRun.h"
#include "ServerProcess.h"
#include "Stats.h"
#include "app/frmMain.h"
#include "common/EventDispatcher.h"

namespace {

using zorvek::Summary;
using Clock = std::chrono::steady_clock;

double msOf(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void printRow(const char* name, const Summary& s, const char* note = "")
{
    std::printf("  %-58s %8.2f %8.2f %8.2f   %s\n", name, s.median, s.min, s.max, note);
}

int visibleRows(zorvek::frmMain& window)
{
    QTreeWidget* list = window.findChild<QTreeWidget*>(QStringLiteral("listServers"));
    const int rowHeight = list->sizeHintForRow(0);
    return rowHeight > 0 ? std::min(list->topLevelItemCount(), list->viewport()->height() / rowHeight + 1)
                         : 0;
}

const char* verdict(bool met)
{
    return met ? "met" : "MISSED";
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
    const QCommandLineOption roundsOption(QStringLiteral("rounds"),
                                          QStringLiteral("Measured rounds (default 15)."),
                                          QStringLiteral("N"), QStringLiteral("15"));
    const QCommandLineOption serversOption(QStringLiteral("servers"),
                                           QStringLiteral("Servers (default 255)."), QStringLiteral("N"),
                                           QStringLiteral("255"));
    parser.addOptions({roundsOption, serversOption});
    parser.process(app);
    const int rounds = std::max(1, parser.value(roundsOption).toInt());
    const int count = std::clamp(parser.value(serversOption).toInt(), 1, 255);

    zorvek::ServerProcess servers;
    if (!servers.start({QStringLiteral("--servers"), QString::number(count)})) {
        std::fprintf(stderr, "bench_refresh: %s\n", qPrintable(servers.errorString()));
        return 1;
    }
    zorvek::PlainQueryLoop plain(servers.ports());
    if (!plain.open()) {
        std::fprintf(stderr, "bench_refresh: cannot open the plain sockets\n");
        return 1;
    }
    const bool haveQstat = zorvek::QstatRun::available();
    if (!haveQstat)
        std::fprintf(stderr, "bench_refresh: /usr/bin/quakestat is missing (Debian package qstat)\n");
    const std::string hosts = servers.hostsFile().toStdString();
    const zorvek::QstatRun qstatDefaults(hosts, {}, hosts + ".defaults.out");
    const zorvek::QstatRun qstatTuned(hosts, {"-maxsim", "255", "-sendinterval", "0"}, hosts + ".tuned.out");

    zorvek::BenchWindow bench;
    if (!bench.start(servers.listHost(), count)) {
        std::fprintf(stderr, "bench_refresh: the window's first refresh got %d of %d replies\n",
                     bench.repliedThisRound(), count);
        return 1;
    }
    zorvek::frmMain& window = bench.window();

    const double loadBefore = zorvek::LoadAverage();
    std::vector<double> windowMs, sendMs, handledMs, plainMs, defaultsMs, tunedMs, spawnMs;
    int windowShort = 0, plainShort = 0, unpainted = 0;
    int defaultsAnswered = count, tunedAnswered = count;
    std::string qstatLine;
    std::vector<double> paints;
    // Round 0 warms every path up and is not counted.
    for (int round = 0; round <= rounds; ++round) {
        const bool counted = round > 0;

        const zorvek::PlainQueryLoop::Round floor = plain.run();
        if (counted) {
            plainMs.push_back(floor.micros / 1000);
            plainShort += floor.answered < count;
        }

        const double spawned = zorvek::ProcessStartMicros();
        if (counted)
            spawnMs.push_back(spawned / 1000);
        if (haveQstat) {
            const zorvek::QstatRun::Result d = qstatDefaults.run();
            const zorvek::QstatRun::Result t = qstatTuned.run();
            if (counted) {
                defaultsMs.push_back(d.micros / 1000);
                tunedMs.push_back(t.micros / 1000);
                defaultsAnswered = std::min(defaultsAnswered, d.answered);
                tunedAnswered = std::min(tunedAnswered, t.answered);
                if (qstatLine.empty())
                    qstatLine = t.firstServerLine;
            }
        }

        QTest::qWait(20); // whatever the previous steps left in the event loop runs now
        if (round == 1)
            bench.clearHandlerTimes();
        bench.beginRound();
        const Clock::time_point start = Clock::now();
        window.SendQuery();
        const Clock::time_point sent = Clock::now();
        const bool complete = bench.waitForRound(5000);
        if (counted) {
            windowShort += !complete;
            unpainted += complete && !bench.paintedAfterLast();
            if (complete) {
                windowMs.push_back(msOf(bench.painted() - start));
                handledMs.push_back(msOf(bench.lastHandled() - start));
            }
            sendMs.push_back(msOf(sent - start));
            paints.push_back(bench.paintsThisRound());
        }
    }

    // What one paint of the whole server list costs (all visible rows), for the share
    // of painting in the rounds above.
    std::vector<double> repaintUs;
    for (int k = 0; k < 20; ++k) {
        const Clock::time_point start = Clock::now();
        window.findChild<QTreeWidget*>(QStringLiteral("listServers"))->viewport()->repaint();
        repaintUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    const Summary repaint = zorvek::Summarize(repaintUs);

    const Summary a = zorvek::Summarize(windowMs);
    const Summary aSend = zorvek::Summarize(sendMs);
    const Summary aHandled = zorvek::Summarize(handledMs);
    const Summary bTuned = zorvek::Summarize(tunedMs);
    const Summary bDefaults = zorvek::Summarize(defaultsMs);
    const Summary c = zorvek::Summarize(plainMs);
    const Summary spawn = zorvek::Summarize(spawnMs);
    const Summary reply = zorvek::Summarize(bench.handlerMicros());
    const Summary paint = zorvek::Summarize(paints);

    std::printf(
        "Refresh of %d emulated CoD4 servers on loopback (replies of %d bytes and more), %d rounds, one run; "
        "load average %.2f before, %.2f after\n",
        count, servers.replyBytes(), rounds, loadBefore, zorvek::LoadAverage());
    std::printf("  %-58s %8s %8s %8s\n", "milliseconds", "median", "min", "max");
    printRow("(a) main window: SendQuery start -> all replies handled+painted", a);
    printRow("    of which SendQuery itself (255 sends, rows reset)", aSend);
    printRow("    start -> last reply handled (before the final paint)", aHandled);
    char note[96];
    std::snprintf(note, sizeof note, "answered %d/%d", tunedAnswered, count);
    printRow("(b) quakestat -maxsim 255 -sendinterval 0 (tuned)", bTuned, haveQstat ? note : "not run");
    std::snprintf(note, sizeof note, "answered %d/%d", defaultsAnswered, count);
    printRow("(b) quakestat, defaults", bDefaults, haveQstat ? note : "not run");
    printRow("    process start alone (/bin/true), paid inside (b)", spawn);
    std::snprintf(note, sizeof note, "short rounds %d", plainShort);
    printRow("(c) floor: plain sockets, epoll, no parsing", c, note);
    std::printf("  window: rounds without all replies %d; list paints per round median %.0f; rounds whose "
                "last reply changed nothing visible %d\n",
                windowShort, paint.median, unpainted);
    std::printf("  one full paint of the server list (%d rows visible): median %.2f ms, min %.2f ms\n",
                visibleRows(window), repaint.median / 1000, repaint.min / 1000);
    if (!qstatLine.empty())
        std::printf("  quakestat shows e.g.: %s\n", qstatLine.c_str());

    std::printf("Ratios (median / median; min / min)\n");
    if (haveQstat) {
        std::printf("  (a)/(b tuned)    %6.2fx  %6.2fx   target <= 1.0x: %s\n", a.median / bTuned.median,
                    a.min / bTuned.min, verdict(a.median <= bTuned.median));
        std::printf("  (a)/(b defaults) %6.2fx  %6.2fx   target <= 0.5x: %s\n", a.median / bDefaults.median,
                    a.min / bDefaults.min, verdict(a.median <= 0.5 * bDefaults.median));
    }
    std::printf("  (a)/(c)          %6.2fx  %6.2fx\n", a.median / c.median, a.min / c.min);
    std::printf("One reply handled (sockCOD_DataArrival: parse, row, column sizing) at %d rows, %d replies\n",
                count, reply.count);
    std::printf("  median %.1f us, p90 %.1f us, p99 %.1f us, max %.1f us   target < 50 us (p99): %s\n",
                reply.median, reply.p90, reply.p99, reply.max, verdict(reply.p99 < 50));
    return 0;
}
