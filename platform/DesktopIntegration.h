#ifndef DESKTOPINTEGRATION_H
#define DESKTOPINTEGRATION_H

#include <QtGlobal>

class QImage;
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
    // (Linux desktops), setting the empty path leaves the desktop as it is.
    static QString currentWallpaper();
    static void setWallpaper(const QString &path);

    // What the desktop shows of a wallpaper file on a screen of the given size:
    // the image scaled to cover it, centred, the overhang cut off. Black when the
    // file cannot be read.
    static QImage wallpaperPicture(const QString &path, const QSize &screenSize);

    // Lets the end of the desktop session quit the application in order, so that
    // it can store what it keeps in memory.
    static void quitApplicationWhenTheSessionEnds();

    // Prepares a not yet shown, screen-sized window to serve as the desktop
    // background: below every other window, never taking focus.
    static void prepareDesktopWindow(QWidget *window);

    // Whether the windowing system shows what lies behind a translucent window.
    static bool showsTranslucentWindows();

    // The user's idleness as the session knows it, for starting the screensaver.
    // The first call starts listening (and offers the session's inhibition
    // service where nobody else does); false where the session cannot tell
    // how long its user has been idle.
    static bool watchSessionIdleness();
    // Milliseconds since the user's last input or the end of the last request to
    // stay awake, whichever came later; -1 when it is not known.
    static qint64 sessionIdleMilliseconds();
    // Whether something asks the session to stay awake now: a player's or a
    // browser's inhibition, or a full-screen window that has the focus.
    static bool sessionKeptAwake();

    // Shows a window inside an existing window of the windowing system, filling
    // it; 0 stands for the screen's root window.
    static void showInsideWindow(QWidget *window, qulonglong windowId);

private:
    DesktopIntegration() = delete;
};

#endif
