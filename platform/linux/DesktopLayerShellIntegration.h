#ifndef DESKTOPLAYERSHELLINTEGRATION_H
#define DESKTOPLAYERSHELLINTEGRATION_H

#include <QtWaylandClient/private/qwaylandshellintegration_p.h>

#include <QScopedPointer>

class QWindow;

// The Wayland shell of the programs' windows. Qt 5 gives every window of a
// process the same shell, and the layer shell would turn the settings window,
// menus and dialogs into layer surfaces too: this one hands the windows marked
// for a layer to the layer shell and every other window to xdg-shell.
class DesktopLayerShellIntegration : public QtWaylandClient::QWaylandShellIntegration
{
public:
    // The key under which Qt finds this shell; xdg-shell is the fallback for
    // other Qt programs that inherit the choice through the environment.
    static const char *shellChoice();

    // Whether the compositor offers the layer shell and this shell serves the
    // process (the user may have chosen another). Only for Qt's Wayland platform.
    static bool layersAvailable();
    // Must happen before the window is first shown.
    static void markForLayer(QWindow *window);

    bool initialize(QtWaylandClient::QWaylandDisplay *display) override;
    QtWaylandClient::QWaylandShellSurface *createShellSurface(QtWaylandClient::QWaylandWindow *window) override;
    void handleKeyboardFocusChanged(QtWaylandClient::QWaylandWindow *newFocus,
                                    QtWaylandClient::QWaylandWindow *oldFocus) override;
    void *nativeResourceForWindow(const QByteArray &resource, QWindow *window) override;

private:
    QScopedPointer<QtWaylandClient::QWaylandShellIntegration> xdgShell;
    QScopedPointer<QtWaylandClient::QWaylandShellIntegration> layerShell;
};

#endif
