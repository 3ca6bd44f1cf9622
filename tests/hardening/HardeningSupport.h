#pragma once

#include <cstdint>
#include <fstream>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// psapi.h builds on windows.h.
#include <psapi.h>
#else
#include <unistd.h>
#endif

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace zorvek::test {

// Resident memory of this process: from /proc/self/statm, on Windows its working set.
inline std::int64_t ResidentBytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? static_cast<std::int64_t>(counters.WorkingSetSize)
               : 0;
#else
    std::ifstream statm("/proc/self/statm");
    std::int64_t pages = 0;
    std::int64_t resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
#endif
}

#if defined(__SANITIZE_ADDRESS__)
#define ZORVEK_HARDENING_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORVEK_HARDENING_ASAN 1
#endif
#endif

// How much the resident memory may grow over repeated hostile exchanges once the first
// one is done. AddressSanitizer holds freed memory back (up to 256 MB) before reusing it.
#ifdef ZORVEK_HARDENING_ASAN
inline constexpr std::int64_t kGrowthBound = std::int64_t(320) << 20;
#else
inline constexpr std::int64_t kGrowthBound = std::int64_t(32) << 20;
#endif

// Records every dialog other than a message box that the program shows (the info window)
// and closes it at once, so that a modal window never holds a test up.
class DialogRecorder : public QObject
{
public:
    DialogRecorder() { qApp->installEventFilter(this); }
    ~DialogRecorder() override { qApp->removeEventFilter(this); }

    const QStringList& titles() const { return m_titles; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && !qobject_cast<QMessageBox*>(dialog)) {
                m_titles.append(dialog->windowTitle());
                QPointer<QDialog> guard(dialog);
                QTimer::singleShot(0, dialog, [guard] {
                    if (guard)
                        guard->reject();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QStringList m_titles;
};

} // namespace zorvek::test
