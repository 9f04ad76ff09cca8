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
    // Where the record names no picture (left so by an older version), what
    // the root window shows.
    QImage picture(const QRect &screen) const override;
    KeptPicture keep() const override;
};

#endif
