#include "WallpaperScreens.h"

#include "DesktopIntegration.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

WallpaperScreens::WallpaperScreens(QObject *parent)
    : QObject(parent)
{
}

WallpaperScreens::~WallpaperScreens()
{
    qDeleteAll(windows);
}

void WallpaperScreens::paint()
{
    if (DesktopIntegration::showsWallpaperOnEveryScreen())
        return;
    const QString wallpaper = DesktopIntegration::currentWallpaper();
    if (windows.isEmpty()) {
        const QList<QScreen *> screens = QGuiApplication::screens();
        for (QScreen *screen : screens) {
            if (screen == QGuiApplication::primaryScreen())
                continue;
            auto *window = new QLabel;
            window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
            DesktopIntegration::prepareDesktopWindowOn(window, screen);
            windows.append(window);
        }
    }
    for (QLabel *window : qAsConst(windows)) {
        if (!window)
            continue;
        window->setPixmap(QPixmap::fromImage(DesktopIntegration::wallpaperPicture(wallpaper, window->size())));
        window->show();
    }
}
