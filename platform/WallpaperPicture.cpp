#include "WallpaperPicture.h"

#include <QImage>
#include <QPainter>
#include <QSize>

#include <algorithm>

QImage WallpaperPicture::compose(const QImage &image, const QSize &areaSize, const QList<QRect> &screens)
{
    QImage picture(areaSize, QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (image.isNull() || picture.isNull())
        return picture;
    const QRect area(QPoint(0, 0), areaSize);
    const QList<QRect> targets = screens.isEmpty() ? QList<QRect>{area} : screens;

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const QRect &target : targets) {
        const QRect visible = target & area;
        if (visible.isEmpty())
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
