#ifndef XFCONFWALLPAPER_H
#define XFCONFWALLPAPER_H

#include "DesktopWallpaper.h"

#include <QStringList>

// The wallpaper of XFCE: xfdesktop draws, for each monitor and workspace, the
// picture in the property ".../last-image" of the xfconf channel "xfce4-desktop",
// reached through xfconf-query (xfdesktop follows a change at once).
class XfconfWallpaper : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;
    KeptPicture keep() const override;
    void restore(const KeptPicture &kept) override;

private:
    static QStringList pictureProperties();
    static QString value(const QString &property);
    static void setValue(const QString &property, const QString &value);
};

#endif
