#include "DesktopWallpaper.h"

#include "WallpaperPicture.h"

#include <QImage>
#include <QRect>

DesktopWallpaper::~DesktopWallpaper() = default;

QImage DesktopWallpaper::picture(const QRect &screen) const
{
    return WallpaperPicture::compose(QImage(current()), screen.size(), {});
}

KeptPicture DesktopWallpaper::keep() const
{
    return {current(), {}};
}

void DesktopWallpaper::restore(const KeptPicture &kept)
{
    set(kept.path);
}
