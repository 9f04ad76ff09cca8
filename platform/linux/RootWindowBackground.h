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
    void set(const QString &path) override;
    KeptPicture keep() const override;
};

#endif
