#ifndef WALLPAPERSCREENS_H
#define WALLPAPERSCREENS_H

#include <QList>
#include <QObject>
#include <QPointer>

class QLabel;

// Where the desktop shows no wallpaper of its own (Wayland), every screen but
// the one with the background page gets a desktop window with the current
// wallpaper, so that no screen is left bare.
class WallpaperScreens : public QObject
{
    Q_OBJECT

public:
    explicit WallpaperScreens(QObject *parent);
    ~WallpaperScreens() override;

    // Shows the windows, or paints them again after the wallpaper changed.
    void paint();

private:
    QList<QPointer<QLabel>> windows;
};

#endif
