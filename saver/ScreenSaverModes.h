#ifndef SCREENSAVERMODES_H
#define SCREENSAVERMODES_H

#include <QtGlobal>

#include <functional>

class QScreen;
class QStringList;
class ZintelloDesktopBackgroundWidget;
class ZintelloSaverSettings;

// What the screensaver does in each mode before its event loop runs. Every
// window made here is delete-on-close and calls quit when it is destroyed, so
// closing any of them ends the program.
class ScreenSaverModes
{
public:
    // Ends the program: the application's quit(), or a test's stand-in.
    using Quit = std::function<void()>;

    // The page window, made in every mode before the mode is looked at.
    static ZintelloDesktopBackgroundWidget *makePageWindow(const Quit &quit);

    // Show mode: hides the pointer, watches the page window and its view for
    // input, covers every screen but the primary one in black and shows the page
    // window full screen on the primary screen.
    static void show(const Quit &quit, ZintelloDesktopBackgroundWidget *pageWindow);

    // Inside a locker's window (XScreenSaver, xsecurelock): the page fills that
    // window, drawn smaller in a small one, and handles no input, since the locker
    // owns the keyboard and the pointer. The locker ends the show with SIGTERM.
    static void showInWindow(ZintelloDesktopBackgroundWidget *pageWindow, qulonglong windowId);

    // Configure mode: opens the settings dialog, not modal.
    static ZintelloSaverSettings *configure(const Quit &quit);

    // The error box for a command line that is not accepted; returns when it is closed.
    static void reportRejectedCommandLine(const QStringList &arguments);

private:
    // A black window over the screen, ending the show on input as the page does.
    static void cover(QScreen *screen, const Quit &quit);
    ScreenSaverModes() = delete;
};

#endif
