#include "RootWindowBackground.h"

#include "OwnPictureStore.h"
#include "RootWindowWallpaper.h"
#include "WallpaperRecord.h"

#include <QGuiApplication>
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

// Where Qt's screens lie in the root window, in device pixels: Qt scales a
// screen's size but keeps its top left corner.
QList<QRect> screensInRootWindow()
{
    QList<QRect> screens;
    const QList<QScreen *> all = QGuiApplication::screens();
    for (const QScreen *screen : all) {
        const QRect geometry = screen->geometry();
        screens.append(QRect(geometry.topLeft(),
                             (QSizeF(geometry.size()) * screen->devicePixelRatio()).toSize()));
    }
    return screens;
}

} // namespace

QString RootWindowBackground::current() const
{
    return WallpaperRecord::read();
}

bool RootWindowBackground::set(const QString &path)
{
    // A Wayland session whose desktop has no tool of its own that we know: the
    // program's own pages show the picture behind them, from the record.
    if (!QX11Info::isPlatformX11())
        return WallpaperRecord::write(path);
    // A copy of the root window goes back as it was, across all screens.
    const QList<QRect> screens = path == OwnPictureStore::copyPath() ? QList<QRect>() : screensInRootWindow();
    // Only a picture that is shown is recorded: the record is what the desktop
    // background paints behind its page.
    if (RootWindowWallpaper::set(displayName(), QImage(path), screens))
        return WallpaperRecord::write(path);
    return true;
}

QImage RootWindowBackground::picture(const QRect &screen) const
{
    if (!QX11Info::isPlatformX11() || QImageReader(current()).canRead())
        return DesktopWallpaper::picture(screen);
    const QImage shown = RootWindowWallpaper::shown(displayName());
    return shown.isNull() ? DesktopWallpaper::picture(screen) : shown.copy(screen);
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
