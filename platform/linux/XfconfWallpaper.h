#ifndef XFCONFWALLPAPER_H
#define XFCONFWALLPAPER_H

#include "DesktopWallpaper.h"

#include <QStringList>

// The wallpaper of XFCE: xfdesktop draws, for each monitor and workspace, the
// picture in the property ".../last-image" of the xfconf channel "xfce4-desktop",
// reached through xfconf-query (xfdesktop follows a change at once). The
// monitors are named by their outputs, as Qt names its screens.
class XfconfWallpaper : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;
    bool setPerScreen(const ScreenPictures &pictures) override;
    // The picture of the screen's monitor on its first workspace.
    QImage picture(const QRect &screen) const override;
    KeptPicture keep() const override;
    void restore(const KeptPicture &kept) override;

private:
    static QStringList pictureProperties();
    static QStringList propertiesOfMonitor(const QStringList &properties, const QString &monitor);
    static QString value(const QString &property);
    static void setValue(const QString &property, const QString &value);
};

#endif
