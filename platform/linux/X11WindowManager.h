#ifndef X11WINDOWMANAGER_H
#define X11WINDOWMANAGER_H

#include <QString>
#include <QVector>

typedef struct _XDisplay Display;

// The running X11 window manager as it names itself (_NET_SUPPORTING_WM_CHECK).
class X11WindowManager
{
public:
    // Empty when no window manager announces itself.
    static QString name(Display *display);

    // Mutter without GNOME Shell paints a background of its own below every
    // window and ignores the root window's picture.
    static bool paintsItsOwnBackground(const QString &name);

    // Lets clicks on a window fall through the frame that the window manager
    // put around it to what lies beneath.
    static void letClicksThroughFrame(Display *display, unsigned long window);

    // Whether the window manager stacks another desktop-type window (a desktop
    // program's icons and wallpaper) above the given one; the own windows, one
    // per screen, do not count.
    static bool desktopWindowAbove(Display *display, unsigned long window, const QVector<unsigned long> &ownWindows);

private:
    X11WindowManager() = delete;
};

#endif
