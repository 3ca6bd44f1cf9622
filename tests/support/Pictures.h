#pragma once

#include <QByteArray>
#include <QColor>

namespace zorvek::test {

// A JPEG picture of the given size in one colour, as a poster or levelshot of a test.
QByteArray JpegBytes(int width, int height, QColor colour = Qt::darkGreen);

} // namespace zorvek::test
