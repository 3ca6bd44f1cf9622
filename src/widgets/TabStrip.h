#pragma once

#include <QTabBar>

namespace zorvek {

// The game tabs: a tab bar that a click or the keyboard switches, never the mouse wheel
// (a game switch rebuilds every row and sends a refresh).
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    using QTabBar::QTabBar;

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace zorvek
