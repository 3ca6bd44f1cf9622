#include "support/Pictures.h"

#include <QBuffer>
#include <QImage>

namespace zorvek::test {

QByteArray JpegBytes(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

} // namespace zorvek::test
