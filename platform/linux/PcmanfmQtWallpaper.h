#ifndef PCMANFMQTWALLPAPER_H
#define PCMANFMQTWALLPAPER_H

#include "DesktopWallpaper.h"

// The wallpaper of LXQt, drawn by pcmanfm-qt's desktop and set through it. The
// tool has no way to tell its wallpaper: that is read from the settings of the
// session's profile, which pcmanfm-qt writes when it sets one.
class PcmanfmQtWallpaper : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;
};

#endif
