#include "WaylandIdleTimeout.h"

#include "idle-client-protocol.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtWaylandClient/private/qwaylanddisplay_p.h>
#include <QtWaylandClient/private/qwaylandinputdevice_p.h>
#include <QtWaylandClient/private/qwaylandintegration_p.h>

#include <limits>

const org_kde_kwin_idle_timeout_listener WaylandIdleTimeout::listener = {
    &WaylandIdleTimeout::becameIdle,
    &WaylandIdleTimeout::resumed,
};

std::unique_ptr<WaylandIdleTimeout> WaylandIdleTimeout::create()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    QtWaylandClient::QWaylandDisplay *display =
            static_cast<QtWaylandClient::QWaylandIntegration *>(QGuiApplicationPrivate::platformIntegration())->display();
    QtWaylandClient::QWaylandInputDevice *input = display->defaultInputDevice();
    if (!input)
        return nullptr;
    const QString protocol = QString::fromLatin1(org_kde_kwin_idle_interface.name);
    const auto globals = display->globals();
    for (const auto &global : globals) {
        if (global.interface == protocol) {
            auto *manager = static_cast<org_kde_kwin_idle *>(
                    wl_registry_bind(global.registry, global.id, &org_kde_kwin_idle_interface, 1));
            return std::unique_ptr<WaylandIdleTimeout>(new WaylandIdleTimeout(manager, input->wl_seat()));
        }
    }
    return nullptr;
}

WaylandIdleTimeout::WaylandIdleTimeout(org_kde_kwin_idle *manager, wl_seat *seat)
    : manager(manager)
    , seat(seat)
{
}

WaylandIdleTimeout::~WaylandIdleTimeout()
{
    release();
    org_kde_kwin_idle_destroy(manager);
}

qint64 WaylandIdleTimeout::idleMilliseconds()
{
    if (!timeout)
        return -1;
    return sinceIdle.isValid() ? armedMs + sinceIdle.elapsed() : 0;
}

void WaylandIdleTimeout::announceAfter(qint64 idleMs, std::function<void()> call)
{
    announced = std::move(call);
    const qint64 timeMs = qMin<qint64>(idleMs, std::numeric_limits<uint32_t>::max());
    if (timeout && timeMs == armedMs)
        return;
    release();
    if (timeMs <= 0)
        return;
    armedMs = timeMs;
    timeout = org_kde_kwin_idle_get_idle_timeout(manager, seat, uint32_t(armedMs));
    org_kde_kwin_idle_timeout_add_listener(timeout, &listener, this);
}

void WaylandIdleTimeout::release()
{
    if (timeout)
        org_kde_kwin_idle_timeout_release(timeout);
    timeout = nullptr;
    sinceIdle.invalidate();
}

void WaylandIdleTimeout::becameIdle(void *data, org_kde_kwin_idle_timeout *)
{
    auto *source = static_cast<WaylandIdleTimeout *>(data);
    source->sinceIdle.start();
    if (source->announced)
        source->announced();
}

void WaylandIdleTimeout::resumed(void *data, org_kde_kwin_idle_timeout *)
{
    static_cast<WaylandIdleTimeout *>(data)->sinceIdle.invalidate();
}
