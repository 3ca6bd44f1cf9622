// The benchmarks' server process: the list host and N emulated CoD4 servers, kept out
// of the measured process. Prints "ready HOST:PORT" (the list host) once serving and
// stops when its standard input closes.
#include <algorithm>
#include <cstdio>

#include <unistd.h>

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>

#include "ServerFarm.h"
#include "sample-host/ListHost.h"

int main(int argc, char** argv)
{
    // The list host draws its poster, which needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption serversOption(QStringLiteral("servers"),
                                           QStringLiteral("Emulated CoD4 servers (1..255)."),
                                           QStringLiteral("N"), QStringLiteral("255"));
    const QCommandLineOption bytesOption(QStringLiteral("reply-bytes"),
                                         QStringLiteral("Status replies of exactly N bytes (0: as built)."),
                                         QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption burstOption(QStringLiteral("burst"),
                                         QStringLiteral("Answer all status queries of a refresh at once."));
    const QCommandLineOption hostsOption(QStringLiteral("hosts-file"),
                                         QStringLiteral("Write the servers' HOST:PORT lines into FILE."),
                                         QStringLiteral("FILE"));
    parser.addOptions({serversOption, bytesOption, burstOption, hostsOption});
    parser.process(app);

    zorvek::ServerFarm::Options options;
    options.servers = std::clamp(parser.value(serversOption).toInt(), 1, 255);
    options.replyBytes = std::max(0, parser.value(bytesOption).toInt());
    options.burst = parser.isSet(burstOption);
    zorvek::ServerFarm farm(options);
    if (!farm.start()) {
        std::fprintf(stderr, "bench_servers: %s\n", farm.errorString().c_str());
        return 1;
    }

    QByteArray list;
    QByteArray hosts;
    int n = 0;
    for (const std::uint16_t port : farm.ports()) {
        ++n;
        list += "Bench " + QByteArray::number(n) + " | " +
                farm.profiles()[static_cast<std::size_t>(n - 1)].gameType + ";127.0.0.1;" +
                QByteArray::number(port) + ";EXE:;\r\n";
        hosts += "127.0.0.1:" + QByteArray::number(port) + '\n';
    }
    zorvek::ListHost host;
    for (int game = 1; game <= 5; ++game)
        host.setListText(game, game == 2 ? list : QByteArray("Web;127.0.0.1;9;http://www.example.cz;\r\n"));
    if (host.listen() == 0) {
        std::fprintf(stderr, "bench_servers: the list host cannot listen\n");
        return 1;
    }
    if (parser.isSet(hostsOption)) {
        QFile file(parser.value(hostsOption));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(hosts) != hosts.size()) {
            std::fprintf(stderr, "bench_servers: cannot write %s\n", qPrintable(parser.value(hostsOption)));
            return 1;
        }
    }

    // The parent holds the other end of standard input: its end, or its death, stops us.
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
        char buffer[256];
        if (::read(0, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });

    std::printf("ready %s %d\n", qPrintable(host.hostAndPort()),
                static_cast<int>(farm.statusReply(0).size()));
    std::fflush(stdout);
    return app.exec();
}
