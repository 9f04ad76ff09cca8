#include "LayerSurfaces.h"

#include "DesktopLayerShellIntegration.h"

#include <LayerShellQt/Window>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

namespace {
LayerShellQt::Window *coverOutput(QWidget *window, QScreen *output)
{
    window->winId();
    QWindow *handle = window->windowHandle();
    handle->setScreen(output);
    // Anchored to all four edges alone, the surface keeps Qt's default size.
    window->setGeometry(output->geometry());
    DesktopLayerShellIntegration::markForLayer(handle);
    auto *surface = LayerShellQt::Window::get(handle);
    surface->setDesiredOutput(output);
    surface->setAnchors(LayerShellQt::Window::Anchors(LayerShellQt::Window::AnchorTop)
                        | LayerShellQt::Window::AnchorBottom
                        | LayerShellQt::Window::AnchorLeft
                        | LayerShellQt::Window::AnchorRight);
    // Panels do not push the surface aside, nor does it push them.
    surface->setExclusiveZone(-1);
    return surface;
}

// Qt 5's Wayland windows ignore Qt::WindowTransparentForInput: the surface
// gets its empty input region here, before its first commit.
void letInputFallThrough(QWindow *window)
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    auto *compositor = static_cast<wl_compositor *>(native->nativeResourceForIntegration("compositor"));
    auto *surface = static_cast<wl_surface *>(native->nativeResourceForWindow("surface", window));
    if (!compositor || !surface)
        return;
    wl_region *nothing = wl_compositor_create_region(compositor);
    wl_surface_set_input_region(surface, nothing);
    wl_region_destroy(nothing);
}
} // namespace

void LayerSurfaces::placeInBackground(QWidget *window, QScreen *output)
{
    auto *surface = coverOutput(window, output);
    // Clicks reach whatever the compositor shows beneath, e.g. a desktop's icons.
    letInputFallThrough(window->windowHandle());
    // Not the background layer: that one belongs to the wallpaper tools (swaybg
    // in sway's own configuration), and sway stacks a surface added later below
    // those already there, so the page would lie under the wallpaper.
    surface->setLayer(LayerShellQt::Window::LayerBottom);
    surface->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityNone);
}

void LayerSurfaces::placeInOverlay(QWidget *window, QScreen *output)
{
    auto *surface = coverOutput(window, output);
    surface->setLayer(LayerShellQt::Window::LayerOverlay);
    surface->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityExclusive);
}
