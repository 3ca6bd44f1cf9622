#include "EventLoopWatch.h"

namespace zorvek {

EventLoopWatch::EventLoopWatch(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &EventLoopWatch::tick);
}

void EventLoopWatch::start()
{
    m_longestMs = 0;
    m_gapsMs.clear();
    m_last = std::chrono::steady_clock::now();
    m_timer.start();
}

void EventLoopWatch::stop()
{
    m_timer.stop();
    tick(); // a block that lasted until now counts too
}

void EventLoopWatch::tick()
{
    const auto now = std::chrono::steady_clock::now();
    const double gap = std::chrono::duration<double, std::milli>(now - m_last).count();
    m_last = now;
    m_gapsMs.push_back(gap);
    m_longestMs = std::max(m_longestMs, gap);
}

} // namespace zorvek
