#include "FullScreenFocusedWindow.h"

#include <QByteArray>
#include <QX11Info>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {
// xcb hands back errors in the reply rather than through a handler, so that a
// window that went away meanwhile is merely no answer.
struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, FreeReply>;

xcb_atom_t atom(xcb_connection_t *connection, const QByteArray &name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, name.size(), name.constData()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

PropertyReply property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    return PropertyReply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, type, 0, 64), nullptr));
}
}

bool FullScreenFocusedWindow::isShown()
{
    if (!QX11Info::isPlatformX11())
        return false;
    xcb_connection_t *connection = QX11Info::connection();
    const PropertyReply active = property(connection, QX11Info::appRootWindow(),
                                          atom(connection, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (!active || xcb_get_property_value_length(active.get()) < int(sizeof(xcb_window_t)))
        return false;
    const xcb_window_t window = *static_cast<xcb_window_t *>(xcb_get_property_value(active.get()));
    const xcb_atom_t fullScreen = atom(connection, "_NET_WM_STATE_FULLSCREEN");
    if (window == XCB_WINDOW_NONE || fullScreen == XCB_ATOM_NONE)
        return false;
    const PropertyReply state = property(connection, window, atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM);
    if (!state)
        return false;
    const auto *states = static_cast<xcb_atom_t *>(xcb_get_property_value(state.get()));
    const int count = xcb_get_property_value_length(state.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        if (states[i] == fullScreen)
            return true;
    }
    return false;
}
