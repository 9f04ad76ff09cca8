#include "DesktopIntegration.h"

#include "win32/WindowsShell.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

// The Windows side: a thin translation from Qt's strings to the Win32 calls.

void DesktopIntegration::holdRunningMarker(const QString &name)
{
    WindowsShell::createRunningMutex(name.toStdWString());
}

void DesktopIntegration::writeAutostartEntry(const QString &programFilePath)
{
    WindowsShell::writeAutostartEntry(programFilePath.toStdWString());
}

void DesktopIntegration::removeAutostartEntry()
{
    WindowsShell::removeAutostartEntry();
}

QString DesktopIntegration::currentWallpaper()
{
    return QString::fromStdWString(WindowsShell::currentWallpaper());
}

void DesktopIntegration::setWallpaper(const QString &path)
{
    WindowsShell::setWallpaper(path.toStdWString());
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

bool DesktopIntegration::showsTranslucentWindows()
{
    // The desktop window manager always composites layered windows.
    return true;
}

bool DesktopIntegration::showsWallpaperBehindDesktopWindow()
{
    return true;
}
