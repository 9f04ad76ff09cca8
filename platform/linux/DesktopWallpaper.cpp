#include "DesktopWallpaper.h"

#include "WallpaperPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>

ScreenPictures ScreenPictures::same(const QString &path)
{
    ScreenPictures pictures{path, {}};
    const QList<QScreen *> all = QGuiApplication::screens();
    for (QScreen *screen : all)
        pictures.screens.append({screen, path});
    return pictures;
}

DesktopWallpaper::~DesktopWallpaper() = default;

bool DesktopWallpaper::setPerScreen(const ScreenPictures &pictures)
{
    return set(pictures.primary);
}

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
