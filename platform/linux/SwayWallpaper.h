#ifndef SWAYWALLPAPER_H
#define SWAYWALLPAPER_H

#include "DesktopWallpaper.h"

// The wallpaper of sway, set on every output through its IPC with swaymsg. Sway
// names no current picture: it is the one last set here, or before that the one
// its configuration gives.
class SwayWallpaper : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;

    // The picture of an "output ... bg FILE MODE" line of a sway configuration.
    static QString configuredPicture(const QString &configuration, const QString &homePath);

private:
    static QString quotedArgument(const QString &text);
};

#endif
