#ifndef ROOTWINDOWWALLPAPER_H
#define ROOTWINDOWWALLPAPER_H

#include <QByteArray>
#include <QList>
#include <QRect>

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

    // The picture that a setter left on the named display's root window, as large
    // as the root window; null when there is none (a plain background colour or
    // pattern) or it cannot be read.
    static QImage shown(const QByteArray &displayName);

private:
    RootWindowWallpaper() = delete;
};

#endif
