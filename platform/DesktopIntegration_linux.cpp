#include "DesktopIntegration.h"

#include "linux/AutostartEntry.h"
#include "linux/GnomeBackground.h"
#include "linux/RootWindowWallpaper.h"
#include "linux/SessionIdleness.h"
#include "linux/TerminationRequests.h"
#include "linux/WallpaperRecord.h"

#include <QtPlatformHeaders/QXcbWindowFunctions>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QStandardPaths>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <QX11Info>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

void DesktopIntegration::holdRunningMarker(const QString &name)
{
    // An exclusive lock on a file of that name in the user's runtime directory,
    // held until the process ends: "flock -n FILE true" fails while we run.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(dir);
    const QByteArray path = QFile::encodeName(dir + QLatin1Char('/') + name);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);   // the descriptor is left open on purpose
}

void DesktopIntegration::quitApplicationWhenTheSessionEnds()
{
    TerminationRequests::quitApplicationOnThem();
}

void DesktopIntegration::prepareDesktopWindow(QWidget *window)
{
    // A window manager raises a focused screen-sized window above the others unless
    // it is a desktop-type window, and the type only counts when set before mapping.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    window->winId();
    QXcbWindowFunctions::setWmWindowType(window->windowHandle(), QXcbWindowFunctions::Desktop);
    // Window managers do not make desktop-type windows full screen themselves.
    window->setGeometry(window->windowHandle()->screen()->geometry());
}

namespace {

bool onGnomeFamilyDesktop()
{
    return GnomeBackground::isGnomeFamily(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
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

void DesktopIntegration::writeAutostartEntry(const QString &programFilePath)
{
    AutostartEntry::write(programFilePath);
}

void DesktopIntegration::removeAutostartEntry()
{
    AutostartEntry::remove();
}

QString DesktopIntegration::currentWallpaper()
{
    return onGnomeFamilyDesktop() ? GnomeBackground::current() : WallpaperRecord::read();
}

void DesktopIntegration::setWallpaper(const QString &path)
{
    // An empty path stands for a wallpaper that was never known: there is nothing
    // to bring back, and the desktop keeps what it shows.
    if (onGnomeFamilyDesktop()) {
        if (!path.isEmpty())
            GnomeBackground::set(path);
        return;
    }
    WallpaperRecord::write(path);
    if (path.isEmpty() || !QX11Info::isPlatformX11())
        return;
    Display *display = QX11Info::display();
    RootWindowWallpaper::set(display ? QByteArray(XDisplayString(display)) : QByteArray(),
                             QImage(path), screensInRootWindow());
}

bool DesktopIntegration::showsTranslucentWindows()
{
    // Without a compositing manager X11 shows transparent parts of a window black.
    if (QX11Info::isPlatformX11())
        return QX11Info::isCompositingManagerRunning();
    return true;
}

bool DesktopIntegration::watchSessionIdleness()
{
    return SessionIdleness::instance()->canTellIdleTime();
}

qint64 DesktopIntegration::sessionIdleMilliseconds()
{
    return SessionIdleness::instance()->idleMilliseconds();
}

bool DesktopIntegration::sessionKeptAwake()
{
    return SessionIdleness::instance()->keptAwake();
}

namespace {
QSize windowSize(xcb_window_t window)
{
    xcb_connection_t *connection = QX11Info::connection();
    xcb_get_geometry_reply_t *reply = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const QSize size = reply ? QSize(reply->width, reply->height) : QSize();
    free(reply);
    return size;
}
}

void DesktopIntegration::showInsideWindow(QWidget *window, qulonglong windowId)
{
    if (!QX11Info::isPlatformX11())
        return;
    const WId host = windowId ? WId(windowId) : WId(QX11Info::appRootWindow());
    // Qt does not ask the server for a foreign window's size.
    const QSize size = windowSize(xcb_window_t(host));
    window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    window->winId();
    window->windowHandle()->setParent(QWindow::fromWinId(host));
    window->setGeometry(QRect(QPoint(0, 0), size));
    window->show();
}
