#ifndef SCREENSAVERMODES_H
#define SCREENSAVERMODES_H

class QObject;
class QStringList;
class ZintelloDesktopBackgroundWidget;
class ZintelloSaverSettings;

// What the screensaver does in each mode before its event loop runs. Every
// window made here is delete-on-close and calls the application's quit() when
// it is destroyed, so closing any of them ends the program.
class ScreenSaverModes
{
public:
    // Show mode: hides the pointer, watches the page window and its view for
    // input, covers every screen but the primary one in black and shows the page
    // window full screen on the primary screen.
    static void show(QObject *application, ZintelloDesktopBackgroundWidget *pageWindow);

    // Configure mode: opens the settings dialog, not modal.
    static ZintelloSaverSettings *configure(QObject *application);

    // The error box for a command line that is not accepted; returns when it is closed.
    static void reportRejectedCommandLine(const QStringList &arguments);

private:
    ScreenSaverModes() = delete;
};

#endif
