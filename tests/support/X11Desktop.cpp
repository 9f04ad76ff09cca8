#include "X11Desktop.h"

#include "TestEnvironment.h"

#include <QRegularExpression>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

namespace {
QList<X11Desktop::WindowId> windowIds(const QString &lines)
{
    QList<X11Desktop::WindowId> ids;
    const QStringList parts = lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : parts)
        ids.append(line.trimmed().toULongLong());
    return ids;
}
}

QString X11Desktop::xdotool(const QStringList &arguments)
{
    return TestEnvironment::run(QStringLiteral("xdotool"), arguments);
}

QList<X11Desktop::WindowId> X11Desktop::visibleWindows(const QString &titlePattern)
{
    return windowIds(xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--name"), titlePattern}));
}

X11Desktop::WindowId X11Desktop::waitForVisibleWindow(const QString &titlePattern)
{
    WindowId window = 0;
    TestEnvironment::waitFor([&] {
        const QList<WindowId> windows = visibleWindows(titlePattern);
        return !windows.isEmpty() && (window = windows.first());
    });
    return window;
}

QList<X11Desktop::WindowId> X11Desktop::visibleWindowsOfProgram(const QString &program)
{
    return windowIds(xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--classname"), QStringLiteral("^%1$").arg(program)}));
}

QList<X11Desktop::WindowId> X11Desktop::visibleWindowsOfProcess(qint64 processId, const QString &title)
{
    // --all: xdotool otherwise takes windows that match any one condition.
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--pid"), QString::number(processId)};
    if (!title.isEmpty())
        arguments << QStringLiteral("--name") << QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    return windowIds(xdotool(arguments));
}

X11Desktop::WindowId X11Desktop::trayIcon(const QString &windowName)
{
    const QString tree = TestEnvironment::run(QStringLiteral("xwininfo"),
                                              {QStringLiteral("-root"), QStringLiteral("-tree")});
    const QRegularExpression icon(QStringLiteral("^\\s*(0x[0-9a-f]+) \"%1\".*22x22")
                                  .arg(QRegularExpression::escape(windowName)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = icon.match(tree);
    return match.hasMatch() ? match.captured(1).toULongLong(nullptr, 16) : 0;
}

QRect X11Desktop::geometry(WindowId window)
{
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                                   QString::number(window)});
    auto value = [&shell](const char *name) {
        const QRegularExpression line(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        return line.match(shell).captured(1).toInt();
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

QString X11Desktop::properties(WindowId window, const QString &name)
{
    QStringList arguments{QStringLiteral("-id"), QString::number(window)};
    if (!name.isEmpty())
        arguments.append(name);
    return TestEnvironment::run(QStringLiteral("xprop"), arguments);
}

QList<X11Desktop::WindowId> X11Desktop::stackingOrder()
{
    const QString property = TestEnvironment::run(QStringLiteral("xprop"),
                                                  {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    QList<WindowId> ids;
    const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    auto matches = id.globalMatch(property.section(QLatin1Char('#'), 1));
    while (matches.hasNext())
        ids.append(matches.next().captured().toULongLong(nullptr, 16));
    return ids;
}

X11Desktop::WindowId X11Desktop::activeWindow()
{
    const QString property = TestEnvironment::run(QStringLiteral("xprop"),
                                                  {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    return id.match(property.section(QLatin1Char('#'), 1)).captured().toULongLong(nullptr, 16);
}

void X11Desktop::click(const QPoint &screenPoint, int button, int repeat)
{
    xdotool({QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y()),
             QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
             QStringLiteral("--delay"), QStringLiteral("80"), QString::number(button)});
}

void X11Desktop::key(const QString &keys)
{
    xdotool({QStringLiteral("key"), keys});
}

void X11Desktop::activate(WindowId window)
{
    xdotool({QStringLiteral("windowactivate"), QString::number(window)});
}

void X11Desktop::closeGracefully(WindowId window)
{
    // Asks the window manager to close it, as its close button does.
    TestEnvironment::run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"),
                                                    QString::number(window)});
}

namespace {
// A short-lived connection of the test's own.
class XConnection
{
public:
    XConnection() : display(XOpenDisplay(nullptr)) {}
    ~XConnection() { if (display) XCloseDisplay(display); }
    Display *const display;
};
}

QColor X11Desktop::pixel(const QPoint &screenPoint)
{
    XConnection x;
    if (!x.display)
        return QColor();
    QColor colour;
    XWindowAttributes root;
    XGetWindowAttributes(x.display, DefaultRootWindow(x.display), &root);
    if (XImage *image = XGetImage(x.display, DefaultRootWindow(x.display), screenPoint.x(), screenPoint.y(),
                                  1, 1, AllPlanes, ZPixmap)) {
        const unsigned long value = XGetPixel(image, 0, 0);
        const auto channel = [value](unsigned long mask) {
            int shift = 0;
            while (mask && !(mask & 1)) {
                mask >>= 1;
                ++shift;
            }
            return int(((value >> shift) & mask) * 255 / (mask ? mask : 1));
        };
        colour = QColor(channel(root.visual->red_mask), channel(root.visual->green_mask),
                        channel(root.visual->blue_mask));
        XDestroyImage(image);
    }
    return colour;
}

QPoint X11Desktop::pointer()
{
    const QString shell = xdotool({QStringLiteral("getmouselocation"), QStringLiteral("--shell")});
    const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("X=(\\d+)\\s+Y=(\\d+)")).match(shell);
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

bool X11Desktop::pointerIsBlank()
{
    XConnection x;
    if (!x.display)
        return false;
    bool blank = false;
    if (XFixesCursorImage *cursor = XFixesGetCursorImage(x.display)) {
        blank = true;
        for (int i = 0; i < cursor->width * cursor->height; ++i) {
            if ((cursor->pixels[i] >> 24) & 0xff)
                blank = false;
        }
        XFree(cursor);
    }
    return blank;
}

void X11Desktop::dropKeyboardFocus()
{
    XConnection x;
    if (!x.display)
        return;
    XSetInputFocus(x.display, None, RevertToNone, CurrentTime);
    XSync(x.display, False);
}

void X11Desktop::sendDeleteRequest(WindowId window)
{
    XConnection x;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(x.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x.display, window, False, NoEventMask, &event);
    XSync(x.display, False);
}

X11Desktop::WindowId X11Desktop::windowReceivingClickAt(const QPoint &screenPoint)
{
    xdotool({QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y())});
    XConnection x;
    // The server finds the pointer's window by the windows' input regions, as it
    // does for a click.
    Window window = DefaultRootWindow(x.display);
    for (;;) {
        Window root, child;
        int rootX, rootY, x0, y0;
        unsigned int mask;
        if (!XQueryPointer(x.display, window, &root, &child, &rootX, &rootY, &x0, &y0, &mask) || child == None)
            return window;
        window = child;
    }
}

bool X11Desktop::isSameOrInside(WindowId window, WindowId ancestor)
{
    XConnection x;
    while (window && window != ancestor) {
        Window root, parent;
        Window *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(x.display, window, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        if (window == root)
            return false;
        window = parent;
    }
    return window == ancestor;
}

X11Desktop::WindowId X11Desktop::rootWindow()
{
    XConnection x;
    return DefaultRootWindow(x.display);
}

QList<QRect> X11Desktop::topLevelWindows()
{
    XConnection x;
    QList<QRect> places;
    Window root, parent;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(x.display, DefaultRootWindow(x.display), &root, &parent, &children, &count))
        return places;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(x.display, children[i], &attributes) && attributes.map_state == IsViewable)
            places.append(QRect(attributes.x, attributes.y, attributes.width, attributes.height));
    }
    if (children)
        XFree(children);
    return places;
}
