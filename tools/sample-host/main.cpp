// The sample host: the list host and emulated game servers on loopback, for the demo
// and for trying the browser without the internet.
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSocketNotifier>

#include "common/EventDispatcher.h"
#include "sample-host/ListHost.h"
#include "sample-host/SampleNetwork.h"

namespace {

int g_signalFds[2] = {-1, -1};

// Only async-signal-safe work here: the event loop reads the byte and quits.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalFds[0], &byte, 1);
}

bool installQuitOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFds) != 0)
        return false;
    auto* notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalFds[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing the poster and levelshots needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sample-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves the five server lists, the info file and its poster over HTTP on 127.0.0.1, "
                       "and runs emulated game servers on loopback UDP ports."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("HTTP port (default 8780)."),
                                        QStringLiteral("N"), QStringLiteral("8780"));
    const QCommandLineOption levelshotsOption(
        QStringLiteral("levelshots"), QStringLiteral("Write placeholder levelshots of the maps into DIR."),
        QStringLiteral("DIR"));
    const QCommandLineOption serversOption(QStringLiteral("servers"),
                                           QStringLiteral("N more emulated servers in the CoD4 list "
                                                          "(a list holds at most 255 records)."),
                                           QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({portOption, levelshotsOption, serversOption});
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        std::fprintf(stderr, "sample-host: --port needs a number 0..65535\n");
        return 2;
    }
    const int extra = parser.value(serversOption).toInt(&ok);
    if (!ok || extra < 0) {
        std::fprintf(stderr, "sample-host: --servers needs a number of 0 or more\n");
        return 2;
    }
    if (!installQuitOnSignals(app)) {
        std::fprintf(stderr, "sample-host: cannot watch for SIGTERM and SIGINT\n");
        return 1;
    }

    zorvek::SampleNetwork network;
    if (!network.start(static_cast<quint16>(port), extra)) {
        std::fprintf(stderr, "sample-host: %s\n", qPrintable(network.errorString()));
        return 1;
    }
    if (parser.isSet(levelshotsOption) && !network.writeLevelshots(parser.value(levelshotsOption))) {
        std::fprintf(stderr, "sample-host: cannot write levelshots into %s\n",
                     qPrintable(parser.value(levelshotsOption)));
        return 1;
    }
    if (network.extraServerCount() < extra)
        std::fprintf(stderr, "sample-host: a list holds at most 255 records; %d more CoD4 servers run\n",
                     network.extraServerCount());

    std::printf("sample host ready on %s\n", qPrintable(network.listHost()->baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
