#include "DesktopLayerShellIntegration.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtWaylandClient/private/qwaylandintegration_p.h>
#include <QtWaylandClient/private/qwaylandshellintegrationfactory_p.h>
#include <QtWaylandClient/private/qwaylandwindow_p.h>

#include <QWindow>

using QtWaylandClient::QWaylandShellIntegrationFactory;

namespace {
const char layerProperty[] = "_zintello_layer_surface";
bool compositorHasLayers = false;
}

const char *DesktopLayerShellIntegration::shellChoice()
{
    return "zintello-desktop-layers;xdg-shell";
}

bool DesktopLayerShellIntegration::layersAvailable()
{
    // Qt chooses the shell when it makes the first window; asking makes it choose now.
    static_cast<QtWaylandClient::QWaylandIntegration *>(QGuiApplicationPrivate::platformIntegration())
            ->shellIntegration();
    return compositorHasLayers;
}

void DesktopLayerShellIntegration::markForLayer(QWindow *window)
{
    window->setProperty(layerProperty, true);
}

bool DesktopLayerShellIntegration::initialize(QtWaylandClient::QWaylandDisplay *display)
{
    QWaylandShellIntegration::initialize(display);
    // Qt has read the choice that led here; programs started from ours (a web
    // browser) choose their own shell.
    qunsetenv("QT_WAYLAND_SHELL_INTEGRATION");
    xdgShell.reset(QWaylandShellIntegrationFactory::create(QStringLiteral("xdg-shell"), display));
    if (!xdgShell)
        return false;
    // Without it (weston, GNOME) the windows marked for a layer are never shown.
    layerShell.reset(QWaylandShellIntegrationFactory::create(QStringLiteral("layer-shell"), display));
    compositorHasLayers = !layerShell.isNull();
    return true;
}

QtWaylandClient::QWaylandShellSurface *DesktopLayerShellIntegration::createShellSurface(
        QtWaylandClient::QWaylandWindow *window)
{
    if (layerShell && window->window()->property(layerProperty).toBool())
        return layerShell->createShellSurface(window);
    return xdgShell->createShellSurface(window);
}

void DesktopLayerShellIntegration::handleKeyboardFocusChanged(QtWaylandClient::QWaylandWindow *newFocus,
                                                              QtWaylandClient::QWaylandWindow *oldFocus)
{
    xdgShell->handleKeyboardFocusChanged(newFocus, oldFocus);
}

void *DesktopLayerShellIntegration::nativeResourceForWindow(const QByteArray &resource, QWindow *window)
{
    return xdgShell->nativeResourceForWindow(resource, window);
}
