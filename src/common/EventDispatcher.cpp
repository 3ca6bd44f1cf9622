#include "common/EventDispatcher.h"

#include <QByteArray>
#include <QtGlobal>

namespace zorvek {

void ChooseEventDispatcher()
{
    qputenv("QT_NO_GLIB", QByteArray("1"));
}

} // namespace zorvek
