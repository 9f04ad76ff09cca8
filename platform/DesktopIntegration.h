#ifndef DESKTOPINTEGRATION_H
#define DESKTOPINTEGRATION_H

class QImage;
class QRect;
class QSize;
class QString;
class QWidget;

// The one place that knows the operating system and its desktop. Everything the
// programs do to the world outside Qt goes through these operations; none of them
// reports a failure to the caller.
class DesktopIntegration
{
public:
    // Marks the running desktop program for an installer until the process ends.
    static void holdRunningMarker(const QString &name);

    // Start at log-in: writes (or rewrites) the entry for the given program file,
    // or removes it.
    static void writeAutostartEntry(const QString &programFilePath);
    static void removeAutostartEntry();

    // The desktop wallpaper: the stored value is written first, then applied.
    // currentWallpaper() is empty when it is not known; where that can happen
    // (Linux desktops), setting the empty path leaves the desktop as it is, and so
    // does a path that names no file.
    static QString currentWallpaper();
    static void setWallpaper(const QString &path);

    // The user's own wallpaper, kept to be brought back by restoreWallpaper(): a
    // file path that reads as a wallpaper on its own. What the desktop holds
    // beyond it (GNOME's dark-style picture, each monitor's picture) the platform
    // keeps beside it; where the desktop names no file, a copy of what it shows
    // is kept. Empty when there is nothing to bring back.
    static QString keepWallpaper();
    // Brings back the wallpaper that keepWallpaper() gave, as it was then; any
    // other path is set as setWallpaper() does.
    static void restoreWallpaper(const QString &keptPath);

    // What the desktop shows of a wallpaper file on a screen of the given size:
    // the image scaled to cover it, centred, the overhang cut off. Black when the
    // file cannot be read.
    static QImage wallpaperPicture(const QString &path, const QSize &screenSize);
    // What the desktop shows of its current wallpaper on a screen (its geometry
    // on the desktop), also where no readable file names it any more.
    static QImage currentWallpaperPicture(const QRect &screen);

    // Lets the end of the desktop session quit the application in order, so that
    // it can store what it keeps in memory.
    static void quitApplicationWhenTheSessionEnds();

    // Prepares a not yet shown, screen-sized window to serve as the desktop
    // background: below every other window, never taking focus.
    static void prepareDesktopWindow(QWidget *window);

    // Whether the windowing system shows what lies behind a translucent window.
    static bool showsTranslucentWindows();
    // Whether what it shows behind the desktop background window is the wallpaper.
    static bool showsWallpaperBehindDesktopWindow();

private:
    DesktopIntegration() = delete;
};

#endif
