// Entry point of the test executables that need a QApplication: widgets, sockets
// and downloads all run on the one GUI thread, as in the program.
#include <QApplication>

#include <gtest/gtest.h>

#include "common/EventDispatcher.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
