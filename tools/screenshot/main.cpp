// Takes the README's picture of the main window: Zorvek against a running sample
// host, offscreen, with the CoD4 servers answered and one of them selected.
#include <cstdio>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>

#include "app/frmMain.h"
#include "common/EventDispatcher.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: zorvek-screenshot LIST_HOST PROGRAM_FOLDER OUTPUT.png\n");
        return 2;
    }
    zorvek::frmMain::Options options = zorvek::frmMain::DefaultOptions();
    options.listHost = QString::fromLocal8Bit(argv[1]);
    options.programFolder = QString::fromLocal8Bit(argv[2]);

    // Secondary windows that start-up may open are closed as they appear.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &app, [] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
    closer.start(50);

    zorvek::frmMain window(options);
    window.Form_Load();
    window.show();

    auto settle = [](int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    settle(300);
    window.findChild<QTabBar*>(QStringLiteral("tabGames"))->setCurrentIndex(1);
    settle(500);
    auto* listServers = window.findChild<QTreeWidget*>(QStringLiteral("listServers"));
    if (listServers->topLevelItemCount() > 0) {
        listServers->setCurrentItem(listServers->topLevelItem(0));
        window.SendQueryOne(1);
    }
    settle(500);
    return window.grab().save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
