#ifndef X11DESKTOP_H
#define X11DESKTOP_H

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

// Looks at and drives the X desktop of the test session the way a user would:
// through the X server, with the standard X tools.
class X11Desktop
{
public:
    using WindowId = qulonglong;

    // Visible (mapped) windows whose title matches the regular expression.
    static QList<WindowId> visibleWindows(const QString &titlePattern);
    // The first visible window whose title matches, once there is one (0 when none came).
    static WindowId waitForVisibleWindow(const QString &titlePattern);
    // Visible windows of a program, by the instance part of their class.
    static QList<WindowId> visibleWindowsOfProgram(const QString &program);
    // Visible windows of a process, optionally only those with exactly this title.
    static QList<WindowId> visibleWindowsOfProcess(qint64 processId, const QString &title = QString());
    // The docked tray icon of a program: a 22x22 window inside the tray.
    static WindowId trayIcon(const QString &windowName);
    static QRect geometry(WindowId window);
    // The window's properties as xprop lists them, or only the one named.
    static QString properties(WindowId window, const QString &name = QString());
    // Managed windows, bottom to top.
    static QList<WindowId> stackingOrder();
    // The window the window manager gave the keyboard focus (0 for none).
    static WindowId activeWindow();

    // Any other input or window command, as xdotool takes it.
    static QString xdotool(const QStringList &arguments);
    static void click(const QPoint &screenPoint, int button, int repeat = 1);
    static void key(const QString &keys);
    static void activate(WindowId window);
    static void closeGracefully(WindowId window);
    // What a window manager's close command sends: WM_DELETE_WINDOW.
    static void sendDeleteRequest(WindowId window);
    // The innermost window that would receive a click at the point.
    static WindowId windowReceivingClickAt(const QPoint &screenPoint);
    static bool isSameOrInside(WindowId window, WindowId ancestor);
    static WindowId rootWindow();
    // Where the mapped children of the root window lie: frames, menus, tooltips.
    static QList<QRect> topLevelWindows();

    // What the screen shows at the point, in root coordinates, whichever screen is primary.
    static QColor pixel(const QPoint &screenPoint);
    static QPoint pointer();
    // True while the pointer shows no visible pixel where it is.
    static bool pointerIsBlank();
    // Takes the keyboard focus away from every window, as a desktop may leave it.
    static void dropKeyboardFocus();

private:
    X11Desktop() = delete;
};

#endif
