#ifndef ROOTWINDOWWALLPAPER_H
#define ROOTWINDOWWALLPAPER_H

#include "WallpaperPicture.h"

#include <QByteArray>
#include <QList>
#include <QRect>

#include <functional>

class QImage;

// The wallpaper of an X11 desktop without a desktop shell of its own, set the way
// established root-setting tools do: a pixmap of the root window's visual as the
// root background, named by the root properties _XROOTPMAP_ID and
// ESETROOT_PMAP_ID so that compositors and pseudo-transparent programs find it,
// and kept by the server after the setting connection has closed.
class RootWindowWallpaper
{
public:
    // Shows the image on each screen (rectangles in root window pixels; none
    // means the whole root window) of the named display, laid out as
    // WallpaperPicture does. False when nothing was set: no display, an empty
    // image, or a visual that is not true colour.
    static bool set(const QByteArray &displayName, const QImage &image, const QList<QRect> &screens);
    // The same with an image of its own on each screen.
    static bool set(const QByteArray &displayName, const QList<WallpaperPicture::ScreenImage> &screens);

    // The picture that a setter left on the named display's root window, as large
    // as the root window; null when there is none (a plain background colour or
    // pattern) or it cannot be read.
    static QImage shown(const QByteArray &displayName);
    // The part of that picture in a rectangle of the root window; null also when
    // the picture is not as large as the root window (the screens changed since
    // it was set).
    static QImage shownIn(const QByteArray &displayName, const QRect &area);

private:
    RootWindowWallpaper() = delete;

    // Shows the picture made for the root window's size.
    static bool show(const QByteArray &displayName, const std::function<QImage(const QSize &)> &pictureFor);
    static QImage read(const QByteArray &displayName, const QRect &area, bool wholeRootOnly);
};

#endif
