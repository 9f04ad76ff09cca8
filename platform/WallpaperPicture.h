#ifndef WALLPAPERPICTURE_H
#define WALLPAPERPICTURE_H

#include <QImage>
#include <QList>
#include <QRect>

class QSize;

// How a wallpaper image fills the screens: scaled to cover each screen, centred,
// the part that stands over cut off, as desktops show a wallpaper by default.
class WallpaperPicture
{
public:
    struct ScreenImage
    {
        QRect screen;
        QImage image;
    };

    // The picture of a desktop area of the given size with the screens in it
    // (none means one screen over the whole area); black outside the screens.
    static QImage compose(const QImage &image, const QSize &areaSize, const QList<QRect> &screens);
    // The same with an image of its own on each screen.
    static QImage compose(const QList<ScreenImage> &screens, const QSize &areaSize);

private:
    WallpaperPicture() = delete;
};

#endif
