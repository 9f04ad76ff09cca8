#include "AboveDesktopWindows.h"

#include "X11WindowManager.h"

#include <QGuiApplication>
#include <QWindow>
#include <QX11Info>

#include <xcb/xcb.h>

AboveDesktopWindows::AboveDesktopWindows(QWindow *window)
    : QObject(window)
    , window(window)
{
    xcb_connection_t *connection = QX11Info::connection();
    const char name[] = "_NET_CLIENT_LIST_STACKING";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof(name) - 1, name), nullptr);
    stackingAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(atom);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

AboveDesktopWindows::~AboveDesktopWindows()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool AboveDesktopWindows::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (eventType != "xcb_generic_event_t" || stackingAtom == XCB_ATOM_NONE)
        return false;
    const auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *change = static_cast<xcb_property_notify_event_t *>(message);
    if (change->atom == stackingAtom && change->window == QX11Info::appRootWindow() && window->isVisible()
        && X11WindowManager::desktopWindowAbove(QX11Info::display(), window->winId(), ownWindows()))
        window->raise();
    return false;
}

QVector<unsigned long> AboveDesktopWindows::ownWindows()
{
    // The backgrounds of the other screens are desktop windows too: raising this
    // one over them would make them raise themselves over it, without end.
    QVector<unsigned long> ids;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (const QWindow *own : windows) {
        if (own->handle())
            ids.append(own->winId());
    }
    return ids;
}
