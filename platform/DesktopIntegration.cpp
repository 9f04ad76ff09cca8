#include "DesktopIntegration.h"

#include "WallpaperPicture.h"

#include <QImage>
#include <QSize>
#include <QString>

// What the desktop integration does alike on every system.

QImage DesktopIntegration::wallpaperPicture(const QString &path, const QSize &screenSize)
{
    return WallpaperPicture::compose(QImage(path), screenSize, {});
}
