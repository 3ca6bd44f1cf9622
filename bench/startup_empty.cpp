// The yardstick of the start-up benchmark: an empty Qt Widgets window of the main window's
// size, started the same way; with --label it shows one line of text, which is what drawing
// any text costs (the font database and the text engine). Reports when its first frame was
// painted and its peak memory; --stages adds the memory after each step.
#include <QApplication>
#include <QByteArrayList>
#include <QLabel>
#include <QWidget>

#include "FirstPaint.h"
#include "MemoryUse.h"
#include "common/EventDispatcher.h"

int main(int argc, char** argv)
{
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << argv[i];
    const bool stages = arguments.contains("--stages");
    zorvek::ReportStage("main", false);
    zorvek::ChooseEventDispatcher();
    QApplication app(argc, argv);
    zorvek::ReportStage("app", stages);
    QWidget window;
    window.setFixedSize(891, 625);
    if (arguments.contains("--label"))
        (new QLabel(QStringLiteral("Hledat hráče:"), &window))->move(16, 35);
    auto* paint = new zorvek::FirstPaint(&window);
    QObject::connect(paint, &zorvek::FirstPaint::firstFrame, &app, [paint, stages] {
        zorvek::Report("painted_ns", static_cast<long long>(paint->paintedNs()));
        zorvek::ReportStage("painted", stages);
        zorvek::Report("peak_kib", static_cast<long long>(zorvek::PeakResidentKiB()));
        QCoreApplication::exit(0);
    });
    window.show();
    return app.exec();
}
