#include "X11WindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace {

bool xErrorSeen = false;

int noteXError(Display *, XErrorEvent *)
{
    xErrorSeen = true;
    return 0;
}

QByteArray property(Display *display, Window window, const char *name, Atom type, int format)
{
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char *data = nullptr;
    QByteArray value;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 256, False, type,
                           &actualType, &actualFormat, &count, &remaining, &data) == Success
        && actualType == type && actualFormat == format && count > 0)
        value = QByteArray(reinterpret_cast<const char *>(data), int(count * (format == 32 ? sizeof(long) : 1)));
    if (data)
        XFree(data);
    return value;
}

} // namespace

QString X11WindowManager::name(Display *display)
{
    if (!display)
        return QString();
    // The check window of a window manager that is gone may be gone too.
    const XErrorHandler previousHandler = XSetErrorHandler(noteXError);
    const QByteArray check = property(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 32);
    QByteArray name;
    if (check.size() == int(sizeof(long))) {
        const Window window = *reinterpret_cast<const long *>(check.constData());
        name = property(display, window, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False), 8);
    }
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    return QString::fromUtf8(name);
}

bool X11WindowManager::paintsItsOwnBackground(const QString &name)
{
    return name == QLatin1String("Mutter");
}

bool X11WindowManager::desktopWindowAbove(Display *display, unsigned long window, const QVector<unsigned long> &ownWindows)
{
    const XErrorHandler previousHandler = XSetErrorHandler(noteXError);
    const QByteArray list = property(display, DefaultRootWindow(display), "_NET_CLIENT_LIST_STACKING", XA_WINDOW, 32);
    const auto *stacking = reinterpret_cast<const long *>(list.constData());
    const int count = list.size() / int(sizeof(long));
    const Atom desktopType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
    bool above = false;
    int index = 0;
    while (index < count && Window(stacking[index]) != window)
        ++index;
    for (++index; index < count && !above; ++index) {
        if (ownWindows.contains(stacking[index]))
            continue;
        const QByteArray types = property(display, Window(stacking[index]), "_NET_WM_WINDOW_TYPE", XA_ATOM, 32);
        const auto *type = reinterpret_cast<const long *>(types.constData());
        above = types.size() >= int(sizeof(long)) && Atom(type[0]) == desktopType;
    }
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    return above;
}

void X11WindowManager::letClicksThroughFrame(Display *display, unsigned long window)
{
    // An empty input region is not enough: window managers such as openbox take
    // an empty list of rectangles for "not shaped" and let the frame take the
    // clicks. A rectangle outside the window is as empty, and they copy it.
    XRectangle outside = {-1, -1, 1, 1};
    XShapeCombineRectangles(display, window, ShapeInput, 0, 0, &outside, 1, ShapeSet, Unsorted);
}
