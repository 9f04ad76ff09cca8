#include "DesktopIntegration.h"

#include "linux/AboveDesktopWindows.h"
#include "linux/AutostartEntry.h"
#include "linux/ClickThroughFrame.h"
#include "linux/DesktopFamily.h"
#include "linux/GsettingsWallpaper.h"
#include "linux/OwnPictureStore.h"
#include "linux/PcmanfmQtWallpaper.h"
#include "linux/PlasmaWallpaper.h"
#include "linux/RootWindowBackground.h"
#include "linux/SwayWallpaper.h"
#include "linux/TerminationRequests.h"
#include "linux/X11WindowManager.h"
#include "linux/XfconfWallpaper.h"

#include <QtPlatformHeaders/QXcbWindowFunctions>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScreen>
#include <QStandardPaths>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <QX11Info>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

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
    if (QX11Info::isPlatformX11()) {
        new ClickThroughFrame(window->windowHandle());
        new AboveDesktopWindows(window->windowHandle());
    }
    // Window managers do not make desktop-type windows full screen themselves.
    window->setGeometry(window->windowHandle()->screen()->geometry());
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
    return wallpaperOfThisDesktop()->current();
}

void DesktopIntegration::setWallpaper(const QString &path)
{
    if (namesAFile(path))
        wallpaperOfThisDesktop()->set(path);
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

bool DesktopIntegration::showsWallpaperBehindDesktopWindow()
{
    if (!showsTranslucentWindows())
        return false;
    return !QX11Info::isPlatformX11()
           || !X11WindowManager::paintsItsOwnBackground(X11WindowManager::name(QX11Info::display()));
}
