// The benchmarks' server process: the list host and N emulated CoD4 servers, kept out
// of the measured process. Prints "ready HOST:PORT" (the list host) once serving and
// stops when its standard input closes.
#include <algorithm>
#include <cstdio>
#include <memory>

#include <unistd.h>

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>

#include "DelayingProxy.h"
#include "ServerFarm.h"
#include "common/EventDispatcher.h"
#include "private-network/ScriptedDnsServer.h"
#include "sample-host/ListHost.h"

namespace {

// The host name the list gives emulated server i (1-based) under --named.
QByteArray serverName(int i)
{
    return "srv" + QByteArray::number(i) + ".bench.zorvek.test";
}

// Names are answered only inside private namespaces whose resolver configuration names
// the server of this process: never is a name of the list asked of the machine's resolver.
bool resolverIsOurs()
{
    QFile configuration(QStringLiteral("/etc/resolv.conf"));
    return configuration.open(QIODevice::ReadOnly) &&
           configuration.readAll() == zorvek::ScriptedDnsServer::ResolverConfiguration();
}

} // namespace

int main(int argc, char** argv)
{
    // The list host draws its poster, which needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
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
    const QCommandLineOption gameOption(QStringLiteral("list-game"),
                                        QStringLiteral("The game (1..5) whose list holds the servers."),
                                        QStringLiteral("G"), QStringLiteral("2"));
    const QCommandLineOption delayOption(QStringLiteral("list-delay-ms"),
                                         QStringLiteral("The list host answers each request this late."),
                                         QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption namedOption(
        QStringLiteral("named"),
        QStringLiteral("The first N servers are listed by host names, answered by a DNS server on "
                       "127.0.0.1:53 (only in private namespaces that point the resolver there)."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption dnsDelayOption(QStringLiteral("dns-delay-ms"),
                                            QStringLiteral("The DNS server answers this late."),
                                            QStringLiteral("MS"), QStringLiteral("0"));
    parser.addOptions({serversOption, bytesOption, burstOption, hostsOption, gameOption, delayOption,
                       namedOption, dnsDelayOption});
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

    const int listGame = std::clamp(parser.value(gameOption).toInt(), 1, 5);
    const int named = std::clamp(parser.value(namedOption).toInt(), 0, options.servers);
    zorvek::ScriptedDnsServer dns;
    if (named > 0) {
        QString problem;
        if (!resolverIsOurs()) {
            std::fprintf(stderr, "bench_servers: --named needs /etc/resolv.conf to name this process's "
                                 "DNS server (private namespaces)\n");
            return 1;
        }
        if (!dns.listen(&problem)) {
            std::fprintf(stderr, "bench_servers: %s\n", qPrintable(problem));
            return 1;
        }
        for (int i = 1; i <= named; ++i)
            dns.answer(QString::fromLatin1(serverName(i)), std::max(0, parser.value(dnsDelayOption).toInt()));
    }

    QByteArray list;
    QByteArray hosts;
    int n = 0;
    for (const std::uint16_t port : farm.ports()) {
        ++n;
        list += "Bench " + QByteArray::number(n) + " | " +
                farm.profiles()[static_cast<std::size_t>(n - 1)].gameType + ';' +
                (n <= named ? serverName(n) : QByteArray("127.0.0.1")) + ';' + QByteArray::number(port) +
                ";EXE:;\r\n";
        hosts += "127.0.0.1:" + QByteArray::number(port) + '\n';
    }
    zorvek::ListHost host;
    for (int game = 1; game <= 5; ++game)
        host.setListText(game,
                         game == listGame ? list : QByteArray("Web;127.0.0.1;9;http://www.example.cz;\r\n"));
    if (host.listen() == 0) {
        std::fprintf(stderr, "bench_servers: the list host cannot listen\n");
        return 1;
    }
    // A slow list host: every request reaches the host that much later.
    QString listHost = host.hostAndPort();
    std::unique_ptr<zorvek::DelayingProxy> slow;
    if (const int delay = parser.value(delayOption).toInt(); delay > 0) {
        slow = std::make_unique<zorvek::DelayingProxy>(host.port(), delay);
        if (!slow->start()) {
            std::fprintf(stderr, "bench_servers: %s\n", slow->errorString().c_str());
            return 1;
        }
        listHost = QStringLiteral("127.0.0.1:%1").arg(slow->port());
        // The poster is fetched through the relay too.
        host.setDefaultInfo(QStringLiteral("http://") + listHost);
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

    std::printf("ready %s %d\n", qPrintable(listHost), static_cast<int>(farm.statusReply(0).size()));
    std::fflush(stdout);
    return app.exec();
}
