#ifndef DESKTOPINTEGRATION_H
#define DESKTOPINTEGRATION_H

#include <QtGlobal>

#include <functional>

class QImage;
class QObject;
class QRect;
class QScreen;
class QSize;
class QString;
class QWidget;

// The one place that knows the operating system and its desktop. Everything the
// programs do to the world outside Qt goes through these operations; only the
// saving of the user's files reports a failure to the caller.
class DesktopIntegration
{
public:
    // Makes the default settings store (QSettings()) one whose failed saves leave
    // the previous store whole and set an error status. Called before the first
    // settings object is made.
    static void useFailureSafeSettingsStore();

    // Where a rendezvous of the given name (a lock, a local socket) lives that
    // only this user can make or reach; empty when there is no such place.
    static QString privateRuntimePath(const QString &name);

    // The display session the program runs in, the same text for every way of
    // naming it (":0", ":0.0" and "unix:0" are one X display).
    static QString displaySession();

    // Marks the running desktop program for an installer until the process ends.
    static void holdRunningMarker(const QString &name);

    // Start at log-in: writes (or rewrites) the entry for the given program file,
    // or removes it. Only a changed entry is written; false when it could not be
    // saved, the previous entry then stays as it was.
    static bool writeAutostartEntry(const QString &programFilePath);
    static void removeAutostartEntry();

    // The desktop wallpaper: the stored value is written first, then applied.
    // currentWallpaper() is empty when it is not known; where that can happen
    // (Linux desktops), setting the empty path leaves the desktop as it is, and so
    // does a path that names no file.
    static QString currentWallpaper();
    // setWallpaper() is false when the stored value could not be saved.
    static bool setWallpaper(const QString &path);
    // The picture for a screen of the given size.
    using ScreenPicture = std::function<QString(const QSize &screenSize)>;
    // Sets a wallpaper that has a picture for each shape of screen: where the
    // desktop shows a picture per monitor, each shows the one for its own size;
    // where it shows one everywhere, that is the primary screen's, as is what
    // currentWallpaper() names. A screen whose picture names no file shows the
    // primary screen's; when that names none, the desktop stays as it is.
    static bool setWallpaperPerScreen(const ScreenPicture &pictureFor);

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

    // Raises a shown window above the others and gives it the keyboard focus,
    // also when the user's last input went to another program.
    static void bringToFront(QWidget *window);

    // Gives memory that the program freed back to the system, where the memory
    // allocator keeps it for reuse otherwise.
    static void returnFreedMemory();

    // Whether the windowing system shows what lies behind a translucent window.
    static bool showsTranslucentWindows();

    // Before the application object exists: makes the windowing system's choices
    // for the process, and turns a windowing system that cannot be reached into
    // one line on the error output and a failure status instead of Qt's abort.
    static void prepareApplicationStart(const QString &programName);
    // Right after the application object exists.
    static void applicationStarted();
    // For the program that shows web pages all day, before its first page: the
    // web engine keeps its memory with the fewest wake-ups at rest. Programs it
    // starts keep the engine's usual choice.
    static void quietWebEngineMemory();

    // Whether the desktop keeps a window prepared by prepareDesktopWindow below
    // every other window. Where it cannot, the program must not show one: it
    // would lie over the user's work.
    static bool keepsDesktopWindowBelow();

    // Whether the desktop's wallpaper shows through the transparent parts of the
    // desktop window (not where the window manager or the compositor shows a
    // background of its own); where it does not, the program paints it there.
    static bool showsWallpaperBehindDesktopWindow();

    // Prepares a not yet shown window to lie as the desktop on the given screen,
    // as prepareDesktopWindow does on the primary one.
    static void prepareDesktopWindowOn(QWidget *window, QScreen *screen);

    // Prepares a not yet shown window of the screensaver's show to cover the
    // given screen above every other window and panel, with the keyboard and
    // the pointer.
    static void prepareScreenSaverWindow(QWidget *window, QScreen *screen);

    // The user's idleness as the session knows it, for starting the screensaver.
    // The first call starts listening (and offers the session's inhibition
    // service where nobody else does); false where the session cannot tell
    // how long its user has been idle.
    static bool watchSessionIdleness();
    // Milliseconds since the user's last input or the end of the last request to
    // stay awake, whichever came later; -1 when it is not known.
    static qint64 sessionIdleMilliseconds();
    // Where the session announces that its user has been idle for a time
    // rather than telling the idle time on request (Wayland compositors), arms
    // that time, replacing the last one (0: none), and calls `announced` in the
    // context's thread when it has passed; until then sessionIdleMilliseconds()
    // tells only what is certain. Elsewhere nothing is announced.
    static void announceSessionIdleAfter(qint64 idleMs, QObject *context, const std::function<void()> &announced);
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
