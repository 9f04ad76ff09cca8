#ifndef WALLPAPERPAINTER_H
#define WALLPAPERPAINTER_H

#include "DesignCatalogue.h"

#include <QImage>

class QPainter;
class Random;

// Paints a design's wallpaper at any size. Every motif is laid out in fractions
// of the width and height (shapes in fractions of the height), so the wide and
// the 5:4 bitmap show the same picture, and the same design always gives the
// same pixels.
class WallpaperPainter
{
public:
    explicit WallpaperPainter(const Design &design);

    QImage paint(const QSize &size) const;

private:
    void paintAurora(QImage &image) const;
    void paintDunes(QImage &image) const;
    void paintWaves(QImage &image) const;
    void paintAlpine(QImage &image) const;
    void paintBauhaus(QImage &image) const;
    void paintBokeh(QImage &image) const;
    void paintContours(QImage &image) const;
    void paintLowPoly(QImage &image) const;
    void paintDusk(QImage &image) const;

    unsigned seed(unsigned salt) const;

    const Design design;
};

#endif
