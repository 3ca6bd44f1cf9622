#include "FirstPaint.h"

#include <cstdio>

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "ChildRun.h"
#include "MemoryUse.h"

namespace zorvek {

FirstPaint::FirstPaint(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_seen && watched == m_window && event->type() == QEvent::Paint) {
        m_seen = true;
        // The paint event of the window comes first of the frame; its children paint in the
        // same pass, and the frame is flushed before the event loop runs again.
        QTimer::singleShot(0, this, &FirstPaint::frameDone);
    }
    return QObject::eventFilter(watched, event);
}

void FirstPaint::frameDone()
{
    m_paintedNs = MonotonicNs();
    m_window->removeEventFilter(this);
    emit firstFrame();
}

void Report(const char* key, long long value)
{
    std::printf("%s %lld\n", key, value);
    std::fflush(stdout);
}

void ReportStage(const char* stage, bool memory)
{
    char key[64];
    std::snprintf(key, sizeof key, "at_%s_ns", stage);
    Report(key, static_cast<long long>(MonotonicNs()));
    if (!memory)
        return;
    std::snprintf(key, sizeof key, "rss_%s_kib", stage);
    Report(key, static_cast<long long>(ResidentKiB()));
    std::snprintf(key, sizeof key, "peak_%s_kib", stage);
    Report(key, static_cast<long long>(PeakResidentKiB()));
    std::snprintf(key, sizeof key, "threads_%s", stage);
    Report(key, static_cast<long long>(ThreadCount()));
    for (const auto& [name, kib] : ResidentByMapping())
        std::fprintf(stderr, "map %s %ld %s\n", stage, kib, name.c_str());
}

} // namespace zorvek
