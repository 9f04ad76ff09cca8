#ifndef LAYERSURFACES_H
#define LAYERSURFACES_H

class QScreen;
class QWidget;

// Windows that a Wayland compositor keeps in one of its layers rather than
// among the application windows; needs the compositor's layer shell.
// Each operation takes a window that has not been shown yet and covers the
// given output with it.
class LayerSurfaces
{
public:
    // Below every window, above the wallpaper, never focused, clicks fall through.
    static void placeInBackground(QWidget *window, QScreen *output);
    // Above every window and panel, holding the keyboard and the pointer.
    static void placeInOverlay(QWidget *window, QScreen *output);

private:
    LayerSurfaces() = delete;
};

#endif
