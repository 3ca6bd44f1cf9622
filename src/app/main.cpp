#include <QApplication>

#include "app/frmMain.h"
#include "common/EventDispatcher.h"

int main(int argc, char** argv)
{
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    // The desktop knows the program's windows by these: the application id names the desktop
    // entry and the icon (and is the window's app id on Wayland); the application name is the
    // X11 window class, the desktop entry's StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZORVEK_APP_ID));
    QCoreApplication::setApplicationName(QStringLiteral("zorvek"));
    zorvek::frmMain window(zorvek::frmMain::DefaultOptions());
    // Every window, message boxes too, carries the main window's icon.
    QApplication::setWindowIcon(window.windowIcon());
    window.Form_Load();
    window.show();
    return app.exec();
}
