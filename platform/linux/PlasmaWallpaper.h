#ifndef PLASMAWALLPAPER_H
#define PLASMAWALLPAPER_H

#include "DesktopWallpaper.h"

#include <QRect>

// The wallpaper of KDE Plasma: the image wallpaper of every desktop containment,
// read and written by a script that plasmashell runs for us over D-Bus
// (org.kde.PlasmaShell.evaluateScript). Each desktop belongs to a screen: it
// gets the picture of the screen that lies where its own does.
class PlasmaWallpaper : public DesktopWallpaper
{
public:
    QString current() const override;
    bool set(const QString &path) override;
    bool setPerScreen(const ScreenPictures &pictures) override;

    // The script that gives each desktop the picture of its screen (by the
    // screen's geometry), the primary picture where none lies where it does.
    static QString scriptSetting(const QList<QPair<QRect, QString>> &screens, const QString &primary);

private:
    static QString evaluate(const QString &script);
};

#endif
