#ifndef PLASMAWALLPAPER_H
#define PLASMAWALLPAPER_H

#include "DesktopWallpaper.h"

// The wallpaper of KDE Plasma: the image wallpaper of every desktop containment,
// read and written by a script that plasmashell runs for us over D-Bus
// (org.kde.PlasmaShell.evaluateScript).
class PlasmaWallpaper : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;

private:
    static QString evaluate(const QString &script);
};

#endif
