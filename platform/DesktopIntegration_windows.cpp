#include "DesktopIntegration.h"

#include "WindowingSystemStart.h"
#include "win32/WindowsShell.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

// The Windows side: a thin translation from Qt's strings to the Win32 calls.

void DesktopIntegration::useFailureSafeSettingsStore()
{
    // The registry replaces each value as a whole.
}

QString DesktopIntegration::privateRuntimePath(const QString &name)
{
    // The user's own temporary directory; local sockets are named pipes.
    return QDir::tempPath() + QLatin1Char('/') + name;
}

QString DesktopIntegration::displaySession()
{
    return QStringLiteral("windows");
}

void DesktopIntegration::holdRunningMarker(const QString &name)
{
    WindowsShell::createRunningMutex(name.toStdWString());
}

bool DesktopIntegration::writeAutostartEntry(const QString &programFilePath)
{
    WindowsShell::writeAutostartEntry(programFilePath.toStdWString());
    return true;
}

void DesktopIntegration::removeAutostartEntry()
{
    WindowsShell::removeAutostartEntry();
}

QString DesktopIntegration::currentWallpaper()
{
    return QString::fromStdWString(WindowsShell::currentWallpaper());
}

bool DesktopIntegration::setWallpaper(const QString &path)
{
    WindowsShell::setWallpaper(path.toStdWString());
    return true;
}

bool DesktopIntegration::setWallpaperPerScreen(const ScreenPicture &pictureFor)
{
    // The wallpaper value of the registry holds one picture for all monitors.
    return setWallpaper(pictureFor(QGuiApplication::primaryScreen()->geometry().size()));
}

QString DesktopIntegration::keepWallpaper()
{
    return currentWallpaper();
}

void DesktopIntegration::restoreWallpaper(const QString &keptPath)
{
    setWallpaper(keptPath);
}

QImage DesktopIntegration::currentWallpaperPicture(const QRect &screen)
{
    return wallpaperPicture(currentWallpaper(), screen.size());
}

void DesktopIntegration::quitApplicationWhenTheSessionEnds()
{
    // Qt asks the application to commit its data and quits the event loop itself
    // when Windows ends the session.
}

void DesktopIntegration::prepareDesktopWindow(QWidget *)
{
    // The window's own flags keep it below the others on Windows.
}

void DesktopIntegration::bringToFront(QWidget *window)
{
    window->raise();
    window->activateWindow();
}

void DesktopIntegration::returnFreedMemory()
{
    // The Windows heap gives large freed blocks back by itself.
}

bool DesktopIntegration::showsTranslucentWindows()
{
    // The desktop window manager always composites layered windows.
    return true;
}

void DesktopIntegration::prepareApplicationStart(const QString &programName)
{
    WindowingSystemStart::watch(programName);
}

void DesktopIntegration::quietWebEngineMemory()
{
    // The engine's usual allocator stays on Windows.
}

void DesktopIntegration::applicationStarted()
{
    WindowingSystemStart::succeeded();
}

bool DesktopIntegration::keepsDesktopWindowBelow()
{
    return true;
}

bool DesktopIntegration::showsWallpaperBehindDesktopWindow()
{
    return showsTranslucentWindows();
}

void DesktopIntegration::prepareDesktopWindowOn(QWidget *window, QScreen *screen)
{
    window->setGeometry(screen->geometry());
}

void DesktopIntegration::prepareScreenSaverWindow(QWidget *, QScreen *)
{
    // A frameless full-screen window lies above the task bar on Windows.
}

bool DesktopIntegration::watchSessionIdleness()
{
    // Windows starts the screensaver itself.
    return false;
}

qint64 DesktopIntegration::sessionIdleMilliseconds()
{
    return -1;
}

void DesktopIntegration::announceSessionIdleAfter(qint64, QObject *, const std::function<void()> &)
{
}

bool DesktopIntegration::sessionKeptAwake()
{
    return false;
}

void DesktopIntegration::showInsideWindow(QWidget *, qulonglong)
{
}
