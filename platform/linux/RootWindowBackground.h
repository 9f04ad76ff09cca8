#ifndef ROOTWINDOWBACKGROUND_H
#define ROOTWINDOWBACKGROUND_H

#include "DesktopWallpaper.h"

// The wallpaper of an X11 desktop whose window manager shows the root window's
// picture. The root window names no file: the last picture set is recorded, and
// a picture that some other program left there is kept as a copy.
class RootWindowBackground : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;
    // Each monitor's area of the root window shows its own picture.
    bool setPerScreen(const ScreenPictures &pictures) override;
    // What the root window shows on the screen, also where the record names no
    // picture (left so by an older version); the recorded picture where the root
    // window's picture is not as large as the root window any more.
    QImage picture(const QRect &screen) const override;
    KeptPicture keep() const override;
};

#endif
