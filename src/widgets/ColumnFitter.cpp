#include "widgets/ColumnFitter.h"

#include <QResizeEvent>
#include <QTreeWidget>

namespace zorvek {

ColumnFitter::ColumnFitter(QTreeWidget* list, std::function<void()> fit)
    : QObject(list), m_fit(std::move(fit))
{
    list->viewport()->installEventFilter(this);
}

bool ColumnFitter::eventFilter(QObject* watched, QEvent* event)
{
    // Only the width matters: a horizontal scroll bar changes the height alone.
    if (event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            m_fit();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zorvek
