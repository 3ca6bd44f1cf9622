#pragma once

#include <chrono>
#include <vector>

#include <QObject>
#include <QTimer>

namespace zorvek {

// Measures how long the event loop is kept from running: a 1-ms timer ticks while
// the loop is free, so the longest gap between two ticks is the longest blocked time.
class EventLoopWatch : public QObject
{
    Q_OBJECT

public:
    explicit EventLoopWatch(QObject* parent = nullptr);

    void start();
    void stop();
    // The longest gap between ticks in milliseconds (a free loop shows about 1 ms).
    double longestGapMs() const { return m_longestMs; }
    // All gaps seen, in milliseconds.
    const std::vector<double>& gapsMs() const { return m_gapsMs; }

private:
    void tick();

    QTimer m_timer;
    std::chrono::steady_clock::time_point m_last;
    double m_longestMs = 0;
    std::vector<double> m_gapsMs;
};

} // namespace zorvek
