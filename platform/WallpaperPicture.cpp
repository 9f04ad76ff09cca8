#include "WallpaperPicture.h"

#include <QPainter>
#include <QSize>

#include <algorithm>

QImage WallpaperPicture::compose(const QImage &image, const QSize &areaSize, const QList<QRect> &screens)
{
    const QList<QRect> targets = screens.isEmpty() ? QList<QRect>{QRect(QPoint(0, 0), areaSize)} : screens;
    QList<ScreenImage> each;
    for (const QRect &target : targets)
        each.append({target, image});
    return compose(each, areaSize);
}

QImage WallpaperPicture::compose(const QList<ScreenImage> &screens, const QSize &areaSize)
{
    QImage picture(areaSize, QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (picture.isNull())
        return picture;
    const QRect area(QPoint(0, 0), areaSize);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const ScreenImage &screen : screens) {
        const QRect &target = screen.screen;
        const QImage &image = screen.image;
        const QRect visible = target & area;
        if (visible.isEmpty() || image.isNull())
            continue;
        // The part of the image with the screen's shape, as large as it goes.
        const qreal scale = std::max(qreal(target.width()) / image.width(),
                                     qreal(target.height()) / image.height());
        QRectF source(0, 0, target.width() / scale, target.height() / scale);
        source.moveCenter(QRectF(image.rect()).center());
        painter.setClipRect(visible);
        painter.drawImage(QRectF(target), image, source);
    }
    return picture;
}
