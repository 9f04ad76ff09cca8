#ifndef DESIGNWALLPAPER_H
#define DESIGNWALLPAPER_H

#include <QString>

class QSize;

// Which bitmap below the program directory belongs to a design on a screen.
class DesignWallpaper
{
public:
    // "/Wallpapers/A_design_" for screens wider than designs.json's wideScreenRatio,
    // else "/Wallpapers/B_design_".
    static QString prefixFor(const QSize &screenSize);

    // The bitmap's path with native separators; the number is inserted unchanged.
    static QString pathFor(const QString &programDir, const QString &number, const QSize &screenSize);

    // Any page may set the design cookie: only a value that keeps the bitmap's
    // path inside the Wallpapers directory is used. Any other text passes, "" too;
    // whether such a bitmap exists is the caller's question.
    static bool staysInsideWallpapers(const QString &number);

private:
    DesignWallpaper() = delete;
};

#endif
