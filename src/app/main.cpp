#include <QApplication>

#include "app/frmMain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zorvek::frmMain window(zorvek::frmMain::DefaultOptions());
    window.Form_Load();
    window.show();
    return app.exec();
}
