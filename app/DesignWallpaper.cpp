#include "DesignWallpaper.h"

#include <QDir>
#include <QSize>

QString DesignWallpaper::prefixFor(const QSize &screenSize)
{
    const double ratio = double(screenSize.width()) / double(screenSize.height());
    return ratio > ZINTELLO_WIDE_SCREEN_RATIO ? QStringLiteral("/Wallpapers/A_design_") : QStringLiteral("/Wallpapers/B_design_");
}

QString DesignWallpaper::pathFor(const QString &programDir, const QString &number, const QSize &screenSize)
{
    return QDir::toNativeSeparators(programDir + prefixFor(screenSize) + number + QStringLiteral(".bmp"));
}

bool DesignWallpaper::staysInsideWallpapers(const QString &number)
{
    if (number.contains(QLatin1String("..")))
        return false;
    for (const QChar c : number) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}
