#include "app/StartupWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "common/Texts.h"
#include "widgets/Fonts.h"

namespace zorvek {

StartupWindow::StartupWindow(QWidget* mainWindow)
    // A window of its own beside the hidden main window, with a title and nothing to click.
    : QWidget(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QString::fromUtf8(texts::kProgramName));
    m_name = new QLabel(QString::fromUtf8(texts::kProgramName), this);
    m_name->setObjectName(QStringLiteral("lblName"));
    m_name->setFont(Verdana(12, true));
    m_line = new QLabel(QString::fromUtf8(texts::kStartupDownloading), this);
    m_line->setObjectName(QStringLiteral("lblStartup"));
    m_line->setFont(Verdana(8.25));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("barDownloads"));
    m_progress->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_line);
    layout->addWidget(m_progress);
    setFixedSize(300, sizeHint().height());
}

void StartupWindow::setProgress(int ended, int started)
{
    m_progress->setRange(0, std::max(started, 1));
    m_progress->setValue(ended);
}

} // namespace zorvek
