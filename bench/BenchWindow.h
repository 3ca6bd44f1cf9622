#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QObject>
#include <QTemporaryDir>

namespace zorvek {

class frmMain;

// The main window offscreen against a list host, on the CoD4 tab, with its reply
// handler called through a stopwatch: each handled reply is timed and counted per round.
class BenchWindow : public QObject
{
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;

    BenchWindow();
    ~BenchWindow() override;

    // Starts up against listHost ("127.0.0.1:PORT"), shows the window and selects the
    // CoD4 tab; waits until its first refresh has all expected replies.
    bool start(const QString& listHost, int expectedReplies, int timeoutMs = 10000);
    frmMain& window() { return *m_window; }

    // Forgets the replies counted so far; the next handled replies count for this round.
    void beginRound();
    // Runs the event loop until every expected slot has been handled this round (and the
    // window painted after the last one) or the time is up. True when all came.
    bool waitForRound(int timeoutMs);
    int repliedThisRound() const { return m_replied; }
    // When the last expected reply was handled, and when the window had painted after it.
    Clock::time_point lastHandled() const { return m_lastHandled; }
    Clock::time_point painted() const { return m_painted; }
    // Paint events of the server list during this round.
    int paintsThisRound() const { return m_paints; }
    // Whether the server list painted in the event loop run after the last reply.
    bool paintedAfterLast() const { return m_paintedAfterLast; }

    // Microseconds of each handler call since the last clearHandlerTimes.
    const std::vector<double>& handlerMicros() const { return m_handlerMicros; }
    void clearHandlerTimes() { m_handlerMicros.clear(); }
    // The replies as they arrived, by slot (1..255), from the latest round.
    const std::vector<QByteArray>& replies() const { return m_replies; }

signals:
    void roundComplete();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handle(int slot, const QByteArray& datagram);

    QTemporaryDir m_folder;
    std::unique_ptr<frmMain> m_window;
    int m_expected = 0;
    int m_replied = 0;
    int m_paints = 0;
    bool m_complete = false;
    bool m_paintedAfterLast = false;
    std::vector<bool> m_counted;
    std::vector<QByteArray> m_replies;
    std::vector<double> m_handlerMicros;
    Clock::time_point m_lastHandled;
    Clock::time_point m_painted;
};

} // namespace zorvek
