#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace zorvek {

// The small window that shows what start-up is doing while it downloads: the program's
// name, one line and a progress bar over the downloads. No buttons: it closes itself when
// the downloads are done, before the main window shows.
class StartupWindow : public QWidget
{
    Q_OBJECT

public:
    explicit StartupWindow(QWidget* mainWindow);

    // `ended` of `started` downloads are done.
    void setProgress(int ended, int started);

private:
    QLabel* m_name = nullptr;
    QLabel* m_line = nullptr;
    QProgressBar* m_progress = nullptr;
};

} // namespace zorvek
