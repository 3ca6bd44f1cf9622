#include <QApplication>

#include "app/frmMain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zorvek::frmMain window(zorvek::frmMain::DefaultOptions());
    // Every window, message boxes too, carries the main window's icon.
    QApplication::setWindowIcon(window.windowIcon());
    window.Form_Load();
    window.show();
    return app.exec();
}
