#include "sample-host/SampleContent.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSaveFile>

#include "common/GameTable.h"

namespace zorvek {

namespace {

QByteArray toJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 90))
        return {};
    return bytes;
}

QString reasonOf(int status)
{
    switch (status) {
    case 400:
        return QStringLiteral("Bad Request");
    case 403:
        return QStringLiteral("Forbidden");
    case 404:
        return QStringLiteral("Not Found");
    case 500:
        return QStringLiteral("Internal Server Error");
    case 503:
        return QStringLiteral("Service Unavailable");
    default:
        return QStringLiteral("Error");
    }
}

} // namespace

QByteArray BuildListText(const QList<ListRecord>& records)
{
    QByteArray text;
    for (const ListRecord& r : records)
        text += r.name + ';' + r.host + ';' + r.port + ';' + r.link + ";\r\n";
    return text;
}

QByteArray BuildInfoText(int width, int height, const QByteArray& posterUrl, const QByteArray& link,
                         const QByteArray& toolTip)
{
    const QList<QByteArray> fields{
        QByteArray::number(width), QByteArray::number(height), posterUrl, link, toolTip, "$$$&&&***"};
    QByteArray text;
    for (const QByteArray& field : fields)
        text += field + ";\r\n";
    return text;
}

QByteArray ErrorPage(int status)
{
    // The shape of the pages of common web servers, with their old public doctype.
    const QString title = QString::number(status) + ' ' + reasonOf(status);
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n"
                          "<html><head>\n<title>%1</title>\n</head><body>\n<h1>%2</h1>\n"
                          "<p>The requested URL was not served.</p>\n</body></html>\n")
        .arg(title, reasonOf(status))
        .toLatin1();
}

QByteArray DrawPoster(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, QColor(0x2b, 0x3a, 0x1f));
    gradient.setColorAt(1, QColor(0x0d, 0x12, 0x09));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(0xe8, 0xc3, 0x4a));
    painter.drawRect(image.rect().adjusted(6, 6, -7, -7));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(height / 6);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, height / 5, width, height / 4), Qt::AlignCenter, QStringLiteral("ZORVEK"));

    QFont text(QStringLiteral("DejaVu Sans"));
    text.setPixelSize(height / 16);
    painter.setFont(text);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, height / 2, width, height / 3), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("Turnaj o pohár Zorveku\nCoD4 • CoD2 • CoD:WaW\nPřihlášky na webu"));
    painter.end();
    return toJpeg(image);
}

QByteArray DrawLevelshot(const QString& mapName, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    // A colour of its own per map, so that a change of picture is visible.
    const int hue = static_cast<int>(qHash(mapName) % 360);
    image.fill(QColor::fromHsv(hue, 90, 110));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(8, height / 6));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, mapName);
    painter.end();
    return toJpeg(image);
}

QString LevelshotSubfolder(int game)
{
    QString folder = QString::fromLatin1(Game(game).LevelshotFolder.data(),
                                         static_cast<qsizetype>(Game(game).LevelshotFolder.size()));
    while (folder.endsWith('\\'))
        folder.chop(1);
    return folder;
}

bool WriteLevelshot(const QString& folder, int game, const QString& mapName)
{
    const QString dir = QDir(folder).filePath(LevelshotSubfolder(game));
    if (!QDir().mkpath(dir))
        return false;
    const QByteArray jpeg = DrawLevelshot(mapName);
    if (jpeg.isEmpty())
        return false;
    QSaveFile file(QDir(dir).filePath(mapName + QStringLiteral(".jpg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
        return false;
    return file.commit();
}

} // namespace zorvek
