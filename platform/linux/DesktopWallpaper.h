#ifndef DESKTOPWALLPAPER_H
#define DESKTOPWALLPAPER_H

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

class QImage;
class QRect;
class QScreen;

// What is kept of the user's own desktop picture to bring it back later: a
// picture file, and the desktop's own values beyond it by their names (GNOME's
// dark-style picture, the picture of each XFCE monitor and workspace).
struct KeptPicture
{
    QString path;
    QMap<QString, QString> details;
};

// A picture for each screen, and the primary screen's, which stands for all
// where a desktop shows one picture everywhere.
struct ScreenPictures
{
    // The one picture on every screen there is.
    static ScreenPictures same(const QString &path);

    QString primary;
    QList<QPair<QScreen *, QString>> screens;
};

// The wallpaper of one desktop family, read and set through the desktop's own
// tools, so that the desktop itself shows it and keeps it.
class DesktopWallpaper
{
public:
    virtual ~DesktopWallpaper();

    // The picture file that the desktop shows; empty when it cannot be named.
    virtual QString current() const = 0;
    // Shows an existing picture file on every screen and workspace; false when
    // what the program itself records of it could not be saved.
    virtual bool set(const QString &path) = 0;
    // Shows each screen its own picture where the desktop takes one per monitor;
    // elsewhere the primary screen's everywhere. current() is then the primary
    // screen's picture.
    virtual bool setPerScreen(const ScreenPictures &pictures);

    // What the desktop shows of current() on a screen (its place on the desktop).
    virtual QImage picture(const QRect &screen) const;

    // The desktop's picture as it stands, to bring back with restore().
    virtual KeptPicture keep() const;
    virtual void restore(const KeptPicture &kept);
};

#endif
