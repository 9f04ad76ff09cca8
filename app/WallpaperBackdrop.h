#ifndef WALLPAPERBACKDROP_H
#define WALLPAPERBACKDROP_H

class QWidget;

// Where the windowing system cannot show what lies behind a translucent window
// (X11 without a compositing manager shows it black) or where nothing of the
// user's lies behind the desktop window (Wayland), the desktop background
// paints the current wallpaper behind its page itself, so the desktop looks the
// same either way.
class WallpaperBackdrop
{
public:
    static void paintBehind(QWidget *background);

private:
    WallpaperBackdrop() = delete;
};

#endif
