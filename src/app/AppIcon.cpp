#include "app/AppIcon.h"

#include <algorithm>
#include <array>

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace zorvek {

namespace {

constexpr std::array<int, 6> kSizes{16, 32, 48, 64, 128, 256};

// The icon's pictures, each read when a size is first asked for: an icon of pictures added
// to a QIcon is decoded whole at once, all six of them, at start-up, though most platforms
// never ask for most sizes (the offscreen and Wayland platforms for none). Pictures read are
// kept in the application's pixmap cache.
class AppIconEngine : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        QSize picture(bestSide(size), bestSide(size));
        // Never larger than asked: a larger picture is scaled down to fit.
        if (picture.width() > size.width() || picture.height() > size.height())
            picture.scale(size, Qt::KeepAspectRatio);
        return picture;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize wanted = actualSize(size, mode, state);
        if (wanted.isEmpty())
            return QPixmap();
        QPixmap picture;
        if (!picture.load(QStringLiteral(":/zorvek/icons/zorvek-%1.png").arg(bestSide(size))))
            return QPixmap();
        if (picture.size() != wanted)
            picture = picture.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        // Disabled and selected icons look as the style draws them from the normal picture.
        if (mode != QIcon::Normal && QApplication::style()) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, picture, &option);
            if (!generated.isNull())
                picture = generated;
        }
        return picture;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off)
            for (const int side : kSizes)
                sizes << QSize(side, side);
        return sizes;
    }

    QIconEngine* clone() const override { return new AppIconEngine; }
    QString key() const override { return QStringLiteral("zorvek-app-icon"); }

private:
    // The side of the picture drawn for a size: the smallest as large, else the largest.
    static int bestSide(const QSize& size)
    {
        const int side = std::max(size.width(), size.height());
        for (const int candidate : kSizes)
            if (candidate >= side)
                return candidate;
        return kSizes.back();
    }
};

} // namespace

QIcon AppIcon()
{
    return QIcon(new AppIconEngine);
}

} // namespace zorvek
