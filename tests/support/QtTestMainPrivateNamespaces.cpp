// Entry point of the test executables whose cases need namespaces of their own (a resolver
// configuration of the test's, a read-only folder): entered before the QApplication and any
// thread exist, so that every thread of the process shares them.
#include <QApplication>

#include <gtest/gtest.h>

#include "common/EventDispatcher.h"
#include "private-network/PrivateNamespaces.h"

int main(int argc, char** argv)
{
    zorvek::EnterPrivateNamespaces();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
