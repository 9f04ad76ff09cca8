#include "WallpaperBackdrop.h"

#include "DesktopIntegration.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>

void WallpaperBackdrop::paintBehind(QWidget *background)
{
    if (!background || DesktopIntegration::showsWallpaperBehindDesktopWindow())
        return;
    // A child below the page rather than the background's own palette: a palette
    // change would reach the web view, which hands it on to its page and so
    // loses the page's transparency.
    auto *backdrop = background->findChild<QLabel *>(QStringLiteral("wallpaperBackdrop"), Qt::FindDirectChildrenOnly);
    if (!backdrop) {
        backdrop = new QLabel(background);
        backdrop->setObjectName(QStringLiteral("wallpaperBackdrop"));
        backdrop->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    // The background covers its screen; its place on the desktop tells which part
    // of a desktop-wide picture lies behind it.
    const QRect screen = background->geometry();
    backdrop->setPixmap(QPixmap::fromImage(DesktopIntegration::currentWallpaperPicture(screen)));
    backdrop->setGeometry(QRect(QPoint(0, 0), screen.size()));
    backdrop->lower();
    backdrop->show();
}
