#include "widgets/TabStrip.h"

#include <QWheelEvent>

namespace zorvek {

void TabStrip::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

} // namespace zorvek
