#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTabBar>
#include <QTreeWidget>
#include <QWidget>

#include "query/StatusSockets.h"

namespace zorvek::test {

// A window's control by the object name the program's documents give it. Null when the
// window has no such control of that type (the test's next use of it then fails).
template <typename Control> Control* control(const QObject& window, const char* name)
{
    return window.findChild<Control*>(QString::fromLatin1(name));
}

// The main window's controls.
inline QTreeWidget* listServers(const QObject& w)
{
    return control<QTreeWidget>(w, "listServers");
}
inline QTreeWidget* listPlayers(const QObject& w)
{
    return control<QTreeWidget>(w, "listPlayers");
}
inline QTabBar* tabGames(const QObject& w)
{
    return control<QTabBar>(w, "tabGames");
}
inline QPushButton* cmdResponse(const QObject& w)
{
    return control<QPushButton>(w, "cmdResponse");
}
inline QLineEdit* editSearch(const QObject& w)
{
    return control<QLineEdit>(w, "editSearch");
}
inline QLineEdit* editServerIP(const QObject& w)
{
    return control<QLineEdit>(w, "editServerIP");
}
inline QLabel* imgLevelshot(const QObject& w)
{
    return control<QLabel>(w, "imgLevelshot");
}
inline StatusSockets* sockCOD(const QObject& w)
{
    return control<StatusSockets>(w, "sockCOD");
}

} // namespace zorvek::test
