#include "DesktopIntegration.h"

#include "WindowingSystemStart.h"
#include "linux/AboveDesktopWindows.h"
#include "linux/ActivationRequest.h"
#include "linux/AutostartEntry.h"
#include "linux/ClickThroughFrame.h"
#include "linux/DesktopFamily.h"
#include "linux/DesktopLayerShellIntegration.h"
#include "linux/DesktopLayerShellIntegrationPlugin.h"
#include "linux/GnomeBackground.h"
#include "linux/GsettingsWallpaper.h"
#include "linux/LayerSurfaces.h"
#include "linux/OwnPictureStore.h"
#include "linux/PcmanfmQtWallpaper.h"
#include "linux/PlasmaWallpaper.h"
#include "linux/PrivateRuntimeDirectory.h"
#include "linux/RootWindowBackground.h"
#include "linux/RootWindowWallpaper.h"
#include "linux/SessionIdleness.h"
#include "linux/SettingsFileFormat.h"
#include "linux/SwayWallpaper.h"
#include "linux/TerminationRequests.h"
#include "linux/X11WindowManager.h"
#include "linux/XfconfWallpaper.h"

#include <QtPlatformHeaders/QXcbWindowFunctions>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSettings>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QX11Info>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

void DesktopIntegration::useFailureSafeSettingsStore()
{
    QSettings::setDefaultFormat(SettingsFileFormat::format());
}

QString DesktopIntegration::privateRuntimePath(const QString &name)
{
    const QString directory = PrivateRuntimeDirectory::path();
    return directory.isEmpty() ? QString() : directory + QLatin1Char('/') + name;
}

QString DesktopIntegration::displaySession()
{
    if (!QX11Info::isPlatformX11() || !QX11Info::display())
        return QGuiApplication::platformName() + QLatin1Char(':') + qEnvironmentVariable("WAYLAND_DISPLAY");
    QString display = QString::fromLocal8Bit(XDisplayString(QX11Info::display()));
    if (display.startsWith(QLatin1String("unix:")))
        display.remove(0, 4);
    const int screen = display.lastIndexOf(QLatin1Char('.'));
    if (screen > display.lastIndexOf(QLatin1Char(':')))
        display.truncate(screen);
    return QStringLiteral("xcb") + display;
}

// Qt's Wayland platform looks for its shells among the plugins it can load.
Q_IMPORT_PLUGIN(DesktopLayerShellIntegrationPlugin)

namespace {
bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
}

void DesktopIntegration::holdRunningMarker(const QString &name)
{
    // An exclusive lock on a file of that name in the user's private runtime
    // directory, held until the process ends: "flock -n FILE true" fails while we run.
    const QString markerPath = privateRuntimePath(name);
    if (markerPath.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(markerPath);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);   // the descriptor is left open on purpose
}

void DesktopIntegration::quitApplicationWhenTheSessionEnds()
{
    TerminationRequests::quitApplicationOnThem();
}

void DesktopIntegration::prepareDesktopWindow(QWidget *window)
{
    if (onWayland()) {
        LayerSurfaces::placeInBackground(window, QGuiApplication::primaryScreen());
        return;
    }
    // A window manager raises a focused screen-sized window above the others unless
    // it is a desktop-type window, and the type only counts when set before mapping.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    window->winId();
    QXcbWindowFunctions::setWmWindowType(window->windowHandle(), QXcbWindowFunctions::Desktop);
    if (QX11Info::isPlatformX11()) {
        new ClickThroughFrame(window->windowHandle());
        new AboveDesktopWindows(window->windowHandle());
    }
    // Window managers do not make desktop-type windows full screen themselves.
    window->setGeometry(window->windowHandle()->screen()->geometry());
}

void DesktopIntegration::returnFreedMemory()
{
    malloc_trim(0);
}

void DesktopIntegration::bringToFront(QWidget *window)
{
    ActivationRequest::send(window);
}

namespace {

// The desktop family of this session, from its standard variables.
std::unique_ptr<DesktopWallpaper> wallpaperOfThisDesktop()
{
    switch (DesktopFamily::of(qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                              qEnvironmentVariable("DESKTOP_SESSION"), qEnvironmentVariableIsSet("SWAYSOCK"))) {
    case DesktopFamily::Gnome:
        return std::make_unique<GsettingsWallpaper>(GsettingsWallpaper::gnome());
    case DesktopFamily::Cinnamon:
        return std::make_unique<GsettingsWallpaper>(GsettingsWallpaper::cinnamon());
    case DesktopFamily::Mate:
        return std::make_unique<GsettingsWallpaper>(GsettingsWallpaper::mate());
    case DesktopFamily::Xfce:
        return std::make_unique<XfconfWallpaper>();
    case DesktopFamily::Plasma:
        return std::make_unique<PlasmaWallpaper>();
    case DesktopFamily::Lxqt:
        return std::make_unique<PcmanfmQtWallpaper>();
    case DesktopFamily::Sway:
        return std::make_unique<SwayWallpaper>();
    case DesktopFamily::BareX11:
        break;
    }
    return std::make_unique<RootWindowBackground>();
}

// A wallpaper that names no file would leave the desktop black or at the
// desktop's whim: the desktop keeps what it shows instead.
bool namesAFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

bool DesktopIntegration::writeAutostartEntry(const QString &programFilePath)
{
    return AutostartEntry::write(programFilePath);
}

void DesktopIntegration::removeAutostartEntry()
{
    AutostartEntry::remove();
}

QString DesktopIntegration::currentWallpaper()
{
    return wallpaperOfThisDesktop()->current();
}

bool DesktopIntegration::setWallpaper(const QString &path)
{
    // Nothing to set: the desktop keeps what it shows, and there is nothing to save.
    if (!namesAFile(path))
        return true;
    return wallpaperOfThisDesktop()->set(path);
}

bool DesktopIntegration::setWallpaperPerScreen(const ScreenPicture &pictureFor)
{
    ScreenPictures pictures{pictureFor(QGuiApplication::primaryScreen()->geometry().size()), {}};
    if (!namesAFile(pictures.primary))
        return true;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        const QString own = pictureFor(screen->geometry().size());
        pictures.screens.append({screen, namesAFile(own) ? own : pictures.primary});
    }
    return wallpaperOfThisDesktop()->setPerScreen(pictures);
}

QString DesktopIntegration::keepWallpaper()
{
    const KeptPicture kept = wallpaperOfThisDesktop()->keep();
    OwnPictureStore::save(kept);
    return kept.path;
}

void DesktopIntegration::restoreWallpaper(const QString &keptPath)
{
    if (!namesAFile(keptPath))
        return;
    KeptPicture kept = OwnPictureStore::load();
    // A path kept by an older version, or changed since, comes back alone.
    if (kept.path != keptPath)
        kept = {keptPath, {}};
    wallpaperOfThisDesktop()->restore(kept);
}

QImage DesktopIntegration::currentWallpaperPicture(const QRect &screen)
{
    return wallpaperOfThisDesktop()->picture(screen);
}

bool DesktopIntegration::showsTranslucentWindows()
{
    // Without a compositing manager X11 shows transparent parts of a window black.
    if (QX11Info::isPlatformX11())
        return QX11Info::isCompositingManagerRunning();
    return true;
}

void DesktopIntegration::prepareApplicationStart(const QString &programName)
{
    WindowingSystemStart::watch(programName);
    // Qt reads the choice when it makes the first window; a choice of the user's stays.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_SHELL_INTEGRATION"))
        qputenv("QT_WAYLAND_SHELL_INTEGRATION", DesktopLayerShellIntegration::shellChoice());
    // Qt's generic network bearer lists the network interfaces every ten seconds
    // for as long as any page or update check has a network manager, that is all
    // day: a wake-up for nothing while the pages only ask for local files. The
    // network managers' own bearers (NetworkManager, ConnMan) follow changes
    // without polling. A choice of the user's stays.
    if (!qEnvironmentVariableIsSet("QT_EXCLUDE_GENERIC_BEARER"))
        qputenv("QT_EXCLUDE_GENERIC_BEARER", "1");
    // Blocks of a screen's size and more (pictures, decoded bitmaps) come straight
    // from the system and go back to it when freed. The allocator would raise this
    // bound each time such a block is freed, and keep the later ones in its heap
    // once they are freed: megabytes held all day for a picture made at start.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

void DesktopIntegration::quietWebEngineMemory()
{
    // The web engine's own allocator hands freed memory back to the system from
    // a thread of its own, which wakes every half second for seconds after each
    // tick of the page's clock. The system allocator, which the engine takes when
    // Malloc is set at its first allocation, does that without waking and holds
    // no more memory for the desktop's pages. A choice of the user's stays.
    if (qEnvironmentVariableIsSet("Malloc"))
        return;
    qputenv("Malloc", "1");
    // The first page is made before the event loop turns. Programs started from
    // here keep the engine's allocator: the screensaver's large pictures weigh
    // less there.
    QTimer::singleShot(0, [] { qunsetenv("Malloc"); });
}

void DesktopIntegration::applicationStarted()
{
    WindowingSystemStart::succeeded();
}

bool DesktopIntegration::keepsDesktopWindowBelow()
{
    // A Wayland window outside the compositor's layers is an application window
    // like any other: raised and focused when shown.
    return !onWayland() || DesktopLayerShellIntegration::layersAvailable();
}

bool DesktopIntegration::showsWallpaperBehindDesktopWindow()
{
    // Wayland has no root window picture, and what a compositor shows beneath
    // the program's layer is not the wallpaper the program set; some X11 window
    // managers paint a background of their own over the root window's.
    if (onWayland() || !showsTranslucentWindows())
        return false;
    return !X11WindowManager::paintsItsOwnBackground(X11WindowManager::name(QX11Info::display()));
}

void DesktopIntegration::prepareDesktopWindowOn(QWidget *window, QScreen *screen)
{
    if (onWayland()) {
        LayerSurfaces::placeInBackground(window, screen);
        return;
    }
    prepareDesktopWindow(window);
    window->setGeometry(screen->geometry());
}

void DesktopIntegration::prepareScreenSaverWindow(QWidget *window, QScreen *screen)
{
    if (!onWayland())
        return;
    if (DesktopLayerShellIntegration::layersAvailable()) {
        LayerSurfaces::placeInOverlay(window, screen);
        return;
    }
    // Where there are no layers, a full-screen application window is the top.
    window->winId();
    window->windowHandle()->setScreen(screen);
    window->setWindowState(Qt::WindowFullScreen);
}

bool DesktopIntegration::watchSessionIdleness()
{
    return SessionIdleness::instance()->canTellIdleTime();
}

qint64 DesktopIntegration::sessionIdleMilliseconds()
{
    return SessionIdleness::instance()->idleMilliseconds();
}

void DesktopIntegration::announceSessionIdleAfter(qint64 idleMs, QObject *context,
                                                  const std::function<void()> &announced)
{
    SessionIdleness::instance()->announceIdleAfter(idleMs, context, announced);
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
