// Entry point of the test executables that need a QApplication: widgets, sockets and
// downloads all run on the one GUI thread, as in the program. Built a second time with
// ZORVEK_TEST_PRIVATE_NAMESPACES for the executables whose cases need namespaces of their
// own (a resolver configuration of the test's, a read-only folder): those are entered
// before the QApplication and any thread exist, so that every thread of the process
// shares them.
#include <QApplication>

#include <gtest/gtest.h>

#include "common/EventDispatcher.h"
#ifdef ZORVEK_TEST_PRIVATE_NAMESPACES
#include "private-network/PrivateNamespaces.h"
#endif

int main(int argc, char** argv)
{
#ifdef ZORVEK_TEST_PRIVATE_NAMESPACES
    zorvek::EnterPrivateNamespaces();
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
