// A probe that the package test loads into the installed program (QT_QPA_GENERIC_PLUGINS=
// zorvekprobe): it acts as a user would, closes the info window, clicks the first server that
// answered, and reports on stdout what the program shows. It reads nothing of the program but
// its windows, so the program finds its folders and pictures by itself.
//
//   ZORVEK_PROBE_PICTURES  the folder the clicked server's map picture must come from
//   ZORVEK_PROBE_POSTER    the poster file to look for while the info window is open
//
// Lines: "dialog: <title>", "poster file: present|missing", "levelshot: <file>",
// "desktop file name: <id>", "application name: <name>", "icon sizes: 16 32 ...". When the
// picture shows, the probe closes the main window and the program ends; when it does not
// within the time-out, "failed: <why>" and exit code 3.
#include <cstdio>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGenericPlugin>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

namespace zorvek::test {
namespace {

constexpr int kServerColumns = 6;
constexpr int kMapColumn = 2;
constexpr int kPollMs = 50;
constexpr int kGiveUpMs = 30000;

void report(const QString& line)
{
    std::printf("probe: %s\n", qPrintable(line));
    std::fflush(stdout);
}

bool samePicture(const QPixmap& shown, const QImage& expected)
{
    return !shown.isNull() && !expected.isNull() &&
           shown.toImage().convertToFormat(QImage::Format_RGB32) ==
               expected.convertToFormat(QImage::Format_RGB32);
}

// A left click as the window system delivers it: press and release on the list's viewport.
void click(QTreeWidget* list, QTreeWidgetItem* item)
{
    QWidget* viewport = list->viewport();
    const QPoint at = list->visualItemRect(item).center();
    const QPoint global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

class Probe : public QObject
{
public:
    Probe()
        : m_pictures(qEnvironmentVariable("ZORVEK_PROBE_PICTURES")),
          m_poster(qEnvironmentVariable("ZORVEK_PROBE_POSTER"))
    {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, &Probe::step);
        // Started from the event loop: the plugin is made while the application is being built.
        QMetaObject::invokeMethod(&m_timer, qOverload<>(&QTimer::start), Qt::QueuedConnection);
        m_timer.setInterval(kPollMs);
    }

private:
    static QWidget* mainWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle().startsWith(QStringLiteral("Zorvek by")))
                return w;
        }
        return nullptr;
    }

    static QTreeWidget* serverList(QWidget* window)
    {
        for (QTreeWidget* list : window->findChildren<QTreeWidget*>()) {
            if (list->columnCount() == kServerColumns)
                return list;
        }
        return nullptr;
    }

    void fail(const QString& why)
    {
        m_timer.stop();
        report(QStringLiteral("failed: ") + why);
        QCoreApplication::exit(3);
    }

    void step()
    {
        if (m_clock.elapsed() > kGiveUpMs) {
            fail(m_map.isEmpty() ? QStringLiteral("no server answered")
                                 : QStringLiteral("the picture of map %1 did not show").arg(m_map));
            return;
        }
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            report(QStringLiteral("dialog: ") + dialog->windowTitle());
            report(QStringLiteral("poster file: ") +
                   (QFile::exists(m_poster) ? QStringLiteral("present") : QStringLiteral("missing")));
            dialog->reject();
            return;
        }
        QWidget* window = mainWindow();
        QTreeWidget* list = window ? serverList(window) : nullptr;
        if (!list)
            return;
        if (m_map.isEmpty()) {
            clickAnsweredServer(list);
            return;
        }
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (samePicture(label->pixmap(), m_expected)) {
                shown(window);
                return;
            }
        }
    }

    void clickAnsweredServer(QTreeWidget* list)
    {
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = list->topLevelItem(row);
            const QString map = item->text(kMapColumn);
            if (map.isEmpty() || map == QStringLiteral("---"))
                continue;
            m_map = map;
            m_file = QDir(m_pictures).filePath(map + QStringLiteral(".jpg"));
            m_expected = QImage(m_file);
            if (m_expected.isNull()) {
                fail(QStringLiteral("no picture %1 to compare with").arg(m_file));
                return;
            }
            click(list, item);
            return;
        }
    }

    void shown(QWidget* window)
    {
        m_timer.stop();
        report(QStringLiteral("levelshot: ") + m_file);
        report(QStringLiteral("desktop file name: ") + QGuiApplication::desktopFileName());
        report(QStringLiteral("application name: ") + QCoreApplication::applicationName());
        QStringList sizes;
        for (const QSize& size : window->windowIcon().availableSizes())
            sizes << QString::number(size.width());
        report(QStringLiteral("icon sizes: ") + sizes.join(QLatin1Char(' ')));
        window->close();
    }

    QString m_pictures;
    QString m_poster;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QString m_map;
    QString m_file;
    QImage m_expected;
};

class ProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "zorvekprobe.json")

public:
    QObject* create(const QString& key, const QString&) override
    {
        return key.compare(QStringLiteral("zorvekprobe"), Qt::CaseInsensitive) == 0 ? new Probe : nullptr;
    }
};

} // namespace
} // namespace zorvek::test

#include "InstalledProgramProbe.moc"
