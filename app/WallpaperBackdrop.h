#ifndef WALLPAPERBACKDROP_H
#define WALLPAPERBACKDROP_H

class QWidget;

// Where the windowing system does not show the wallpaper behind a translucent
// window (X11 without a compositing manager shows black there, a compositor with
// a background of its own shows that, Wayland has nothing of the user's there),
// the desktop background paints the current wallpaper behind its page itself,
// so the desktop looks the same either way.
class WallpaperBackdrop
{
public:
    static void paintBehind(QWidget *background);

private:
    WallpaperBackdrop() = delete;
};

#endif
