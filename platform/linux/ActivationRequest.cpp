#include "ActivationRequest.h"

#include <QWidget>
#include <QX11Info>

#include <X11/Xlib.h>

void ActivationRequest::send(QWidget *window)
{
    window->raise();
    window->activateWindow();
    Display *display = QX11Info::isPlatformX11() ? QX11Info::display() : nullptr;
    if (!display)
        return;
    // _NET_ACTIVE_WINDOW from a pager (source indication 2), as the Extended
    // Window Manager Hints define it.
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window->winId();
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    const Window root = DefaultRootWindow(display);
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}
