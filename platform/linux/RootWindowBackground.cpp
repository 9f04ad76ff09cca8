#include "RootWindowBackground.h"

#include "OwnPictureStore.h"
#include "RootWindowWallpaper.h"
#include "WallpaperRecord.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QScreen>
#include <QX11Info>

#include <X11/Xlib.h>

namespace {

QByteArray displayName()
{
    Display *display = QX11Info::display();
    return display ? QByteArray(XDisplayString(display)) : QByteArray();
}

// Where a screen lies in the root window, in device pixels: Qt scales a
// screen's size but keeps its top left corner.
QRect inRootWindow(const QScreen *screen)
{
    const QRect geometry = screen->geometry();
    return QRect(geometry.topLeft(), (QSizeF(geometry.size()) * screen->devicePixelRatio()).toSize());
}

QRect inRootWindow(const QRect &geometry)
{
    const QList<QScreen *> all = QGuiApplication::screens();
    for (const QScreen *screen : all) {
        if (screen->geometry() == geometry)
            return inRootWindow(screen);
    }
    return geometry;
}

} // namespace

QString RootWindowBackground::current() const
{
    return WallpaperRecord::read();
}

bool RootWindowBackground::set(const QString &path)
{
    // A copy of the root window goes back as it was, across all screens.
    if (QX11Info::isPlatformX11() && path == OwnPictureStore::copyPath()) {
        if (RootWindowWallpaper::set(displayName(), QImage(path), {}))
            return WallpaperRecord::write(path);
        return true;
    }
    return setPerScreen(ScreenPictures::same(path));
}

bool RootWindowBackground::setPerScreen(const ScreenPictures &pictures)
{
    // A Wayland session whose desktop has no tool of its own that we know: the
    // program's own pages show the picture behind them, from the record.
    if (!QX11Info::isPlatformX11())
        return WallpaperRecord::write(pictures.primary);
    QHash<QString, QImage> images;
    QList<WallpaperPicture::ScreenImage> screens;
    for (const QPair<QScreen *, QString> &screen : pictures.screens) {
        if (!images.contains(screen.second))
            images.insert(screen.second, QImage(screen.second));
        screens.append({inRootWindow(screen.first), images.value(screen.second)});
    }
    // Only a picture that is shown is recorded.
    if (RootWindowWallpaper::set(displayName(), screens))
        return WallpaperRecord::write(pictures.primary);
    return true;
}

QImage RootWindowBackground::picture(const QRect &screen) const
{
    if (!QX11Info::isPlatformX11())
        return DesktopWallpaper::picture(screen);
    const QImage shown = RootWindowWallpaper::shownIn(displayName(), inRootWindow(screen));
    if (shown.isNull())
        return DesktopWallpaper::picture(screen);
    return shown.size() == screen.size() ? shown : shown.scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

KeptPicture RootWindowBackground::keep() const
{
    const QString recorded = current();
    if (QImageReader(recorded).canRead())
        return {recorded, {}};
    if (!QX11Info::isPlatformX11())
        return {};
    const QImage shown = RootWindowWallpaper::shown(displayName());
    if (shown.isNull() || !OwnPictureStore::saveCopy(shown))
        return {};
    return {OwnPictureStore::copyPath(), {}};
}
