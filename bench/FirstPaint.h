#pragma once

#include <cstdint>

#include <QObject>

class QWidget;

namespace zorvek {

// Watches a top-level window for its first frame: the time its first paint ended (the
// event loop ran again after the first paint event) on MonotonicNs(), which a parent process
// reads too, so a parent can measure from the moment it started the process.
class FirstPaint : public QObject
{
    Q_OBJECT

public:
    explicit FirstPaint(QWidget* window);

    bool painted() const { return m_paintedNs != 0; }
    std::int64_t paintedNs() const { return m_paintedNs; }

signals:
    void firstFrame();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frameDone();

    QWidget* m_window;
    bool m_seen = false;
    std::int64_t m_paintedNs = 0;
};

// What a start-up child reports to its parent: "key value" lines on standard output.
void Report(const char* key, long long value);
// The time a step of start-up ended, as "at_<stage>_ns"; with `memory` also the resident and
// peak memory and the threads now ("rss_<stage>_kib", "peak_<stage>_kib", "threads_<stage>"),
// and each mapping's resident size as "map <stage> KIB NAME" lines on standard error.
void ReportStage(const char* stage, bool memory);

} // namespace zorvek
