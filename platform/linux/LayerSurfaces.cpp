#include "LayerSurfaces.h"

#include "DesktopLayerShellIntegration.h"

#include <LayerShellQt/Window>

#include <QScreen>
#include <QWidget>
#include <QWindow>

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
}

void LayerSurfaces::placeInBackground(QWidget *window, QScreen *output)
{
    // An empty input region: clicks reach whatever the compositor shows beneath.
    window->setWindowFlag(Qt::WindowTransparentForInput);
    auto *surface = coverOutput(window, output);
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
