#pragma once

#include <functional>

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zorvek::test {

// Runs an action on the first modal window of type T once it is on screen: the way a
// test answers a window that the program shows with exec().
template <typename T> class ModalAction : public QObject
{
public:
    explicit ModalAction(std::function<void(T*)> action) : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible())
                return;
            m_timer.stop();
            ++m_runs;
            m_action(window);
        });
        m_timer.start();
    }

    int runs() const { return m_runs; }

private:
    std::function<void(T*)> m_action;
    QTimer m_timer;
    int m_runs = 0;
};

} // namespace zorvek::test
